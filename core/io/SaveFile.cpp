#include "core/io/SaveFile.h"

#include "core/foundation/Logger.h"
#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"
#include "core/io/FileStd.h"
#include "platform/FileAccess.h"
#include "platform/FileDescriptor.h"
#include "platform/PathChanges.h"
#include "platform/SaveSupport.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <set>

namespace
{

// The folder that holds the path ("." for a bare name).
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// The temporary file's name: the target's name, cut so that the whole name
// stays within the folder's file-name limit (never inside a UTF-8
// sequence), then ".~<process>.<count>.tmp".
std::string TemporaryName(const std::string& folder, const std::string& target, unsigned count)
{
    const size_t slash = target.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string leaf = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string suffix =
        ".~" + std::to_string(Platform::ProcessId()) + "." + std::to_string(count) + ".tmp";
    const size_t limit = Platform::MaxFileNameLength(folder);
    if (leaf.size() + suffix.size() > limit)
    {
        size_t keep = limit > suffix.size() ? limit - suffix.size() : 0;
        while (keep > 0 && (static_cast<unsigned char>(leaf[keep]) & 0xC0) == 0x80)
            --keep;
        leaf.resize(keep);
    }
    return prefix + leaf + suffix;
}

// The names of the temporary files this process's saves are writing now (a
// name is unique within the process by its count): a save that clears away
// files left behind by killed saves leaves them alone. Never destroyed: a
// save may still end while the process exits.
struct STemporaries
{
    std::mutex lock;
    std::set<std::string> names;
};

STemporaries& Temporaries()
{
    static STemporaries* temporaries = new STemporaries;
    return *temporaries;
}

void TemporariesInUse(const std::string& path, bool inUse)
{
    const std::string name = path.substr(path.find_last_of('/') + 1);
    STemporaries& temporaries = Temporaries();
    const std::lock_guard<std::mutex> lock(temporaries.lock);
    if (inUse)
        temporaries.names.insert(name);
    else
        temporaries.names.erase(name);
}

bool IsTemporaryInUse(const std::string& name)
{
    STemporaries& temporaries = Temporaries();
    const std::lock_guard<std::mutex> lock(temporaries.lock);
    return temporaries.names.count(name) != 0;
}

} // namespace

CSaveFile::CSaveFile(const std::wstring& path) : m_path(path)
{
    std::replace(m_path.begin(), m_path.end(), L'\\', L'/');
    m_narrowPath = Misc::Text::WideToUtf8(m_path).c_str();
    // A NUL would end the name early: the save would go to another file.
    if (m_path.empty() || m_path.find(L'\0') != std::wstring::npos)
        return;
    // A name that matches an existing file only by letter case saves that
    // file.
    m_target = DiskPath::Resolve(m_path);
    if (!AcceptsTarget())
        return;
    const std::string folder = FolderOf(m_target);
    Platform::RemoveStaleTemporaries(folder, &IsTemporaryInUse);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt)
    {
        m_temporary = TemporaryName(folder, m_target, counter++);
        m_fd = Platform::CreateExclusive(m_temporary);
        if (m_fd < 0 && !Platform::LastErrorWasExists())
            break;
    }
    if (m_fd < 0)
    {
        m_temporary.clear();
        return;
    }
    TemporariesInUse(m_temporary, true);
    // The new file keeps the permissions the target has (a private file
    // stays private); a new target gets the usual ones.
    if (!Platform::CopyPermissions(m_fd, m_target))
        m_failed = true;
}

bool CSaveFile::AcceptsTarget() const
{
    const wchar_t* reason = nullptr;
    switch (Platform::InspectSaveTarget(m_target))
    {
    case Platform::ESaveTarget::kNothing:
    case Platform::ESaveTarget::kFile:
        return true;
    case Platform::ESaveTarget::kUnknown:
        // A folder on the way is missing or closed: the save fails as the
        // temporary file cannot be made there either.
        return false;
    // A link may lead out of the game's folders, to any file the user may
    // write: it is never written through (nor replaced).
    case Platform::ESaveTarget::kLink:
        reason = L"is a symbolic link";
        break;
    // A device or a FIFO would be replaced by a regular file (or, written
    // in place, hang or go nowhere).
    case Platform::ESaveTarget::kSpecial:
        reason = L"is not a regular file";
        break;
    case Platform::ESaveTarget::kReadOnly:
        reason = L"is not writable";
        break;
    }
    Misc::CLogger::WriteSystem(L"[CSaveFile::Open] Save refused, the target %s: %s", reason, m_path.c_str());
    return false;
}

CSaveFile::~CSaveFile()
{
    Discard();
}

void CSaveFile::Discard()
{
    if (m_fd >= 0)
        Platform::CloseDescriptor(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
    {
        Platform::RemoveFile(m_temporary);
        TemporariesInUse(m_temporary, false);
    }
    m_temporary.clear();
}

int32_t CSaveFile::write(const void* buffer, uint32_t sizeToWrite)
{
    if (m_fd < 0 || !buffer)
        return 0;
    const size_t done = Platform::WriteFully(m_fd, buffer, sizeToWrite);
    if (done < sizeToWrite)
        m_failed = true;
    m_position += static_cast<long>(done);
    m_size = std::max(m_size, m_position);
    return static_cast<int32_t>(done);
}

bool CSaveFile::seek(long finalPos, bool relativeMovement)
{
    if (m_fd < 0)
        return false;
    const long result = Platform::SeekFile(m_fd, finalPos, relativeMovement);
    if (result < 0)
        return false;
    m_position = result;
    return true;
}

bool CSaveFile::Commit()
{
    if (m_fd < 0)
        return false;
    // The contents reach the disk before the name does, so a crash leaves
    // the old file or the new one, never an empty one.
    const bool synced = !m_failed && Platform::SyncFile(m_fd);
    const bool closed = Platform::CloseDescriptorChecked(m_fd);
    m_fd = -1;
    if (!synced || !closed || !Platform::ReplaceFile(m_temporary, m_target))
    {
        Discard();
        return false;
    }
    TemporariesInUse(m_temporary, false);
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
