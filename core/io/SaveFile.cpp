#include "core/io/SaveFile.h"

#include <exception>

#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"
#include "core/io/FileStd.h"
#include "platform/FileDescriptor.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

CSaveFile::CSaveFile(const std::wstring& path) : m_path(path)
{
    std::replace(m_path.begin(), m_path.end(), L'\\', L'/');
    m_narrowPath = Misc::Text::WideToUtf8(m_path).c_str();
    if (m_path.empty())
        return;
    m_target = DiskPath::Resolve(m_path);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt)
    {
        m_temporary = m_target + ".~" + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        m_temporary.clear();
}

CSaveFile::~CSaveFile()
{
    Discard();
}

void CSaveFile::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

irr::s32 CSaveFile::write(const void* buffer, irr::u32 sizeToWrite)
{
    if (m_fd < 0 || !buffer)
        return 0;
    const size_t done = Platform::WriteFully(m_fd, buffer, sizeToWrite);
    if (done < sizeToWrite)
        m_failed = true;
    m_position += static_cast<long>(done);
    m_size = std::max(m_size, m_position);
    return static_cast<irr::s32>(done);
}

bool CSaveFile::seek(long finalPos, bool relativeMovement)
{
    if (m_fd < 0)
        return false;
    const off_t result = ::lseek(m_fd, finalPos, relativeMovement ? SEEK_CUR : SEEK_SET);
    if (result < 0)
        return false;
    m_position = static_cast<long>(result);
    return true;
}

bool CSaveFile::Commit()
{
    if (m_fd < 0)
        return false;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (m_failed || !closed || std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
    {
        Discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

CArchiveFile::CArchiveFile(const std::wstring& path, bool write)
    : m_uncaughtAtStart(std::uncaught_exceptions())
{
    if (write)
    {
        m_save = new CSaveFile(path);
        m_file.reset(m_save);
    }
    else
        m_file.reset(new CFileStd(path, L"rb"));
    if (!m_file->IsOk())
    {
        m_save = nullptr;
        m_file.reset();
    }
}

bool CArchiveFile::Finish(bool failed)
{
    if (m_save && (failed || std::uncaught_exceptions() > m_uncaughtAtStart || !m_save->Commit()))
        failed = true;
    m_save = nullptr;
    m_file.reset();
    return !failed;
}
