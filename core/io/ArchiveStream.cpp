#include "core/io/ArchiveStream.h"

#include "core/foundation/StringConversion.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Misc::Serialization
{

namespace
{

std::string NativePath(const std::wstring& path)
{
    std::string native = Misc::Text::WideToUtf8(path);
    for (char& c : native)
    {
        if (c == '\\')
            c = '/';
    }
    return native;
}

size_t ReadFd(int fd, void* data, size_t count)
{
    size_t done = 0;
    while (done < count)
    {
        const ssize_t n = ::read(fd, static_cast<char*>(data) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t WriteFd(int fd, const void* data, size_t count)
{
    size_t done = 0;
    while (done < count)
    {
        const ssize_t n = ::write(fd, static_cast<const char*>(data) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

// A file descriptor with the positioning both streams share.
class CFdStream : public IArchiveStream
{
public:
    CFdStream(int fd, std::wstring name) : m_fd(fd), m_name(std::move(name)) {}
    ~CFdStream() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    size_t Read(void* data, size_t count) override { return m_fd < 0 ? 0 : ReadFd(m_fd, data, count); }
    size_t Write(const void* data, size_t count) override { return m_fd < 0 ? 0 : WriteFd(m_fd, data, count); }
    bool Seek(int64_t position) override
    {
        return m_fd >= 0 && position >= 0 && ::lseek(m_fd, static_cast<off_t>(position), SEEK_SET) == position;
    }
    int64_t GetPos() const override { return m_fd < 0 ? 0 : static_cast<int64_t>(::lseek(m_fd, 0, SEEK_CUR)); }
    int64_t GetSize() const override
    {
        struct stat info;
        return (m_fd >= 0 && ::fstat(m_fd, &info) == 0) ? static_cast<int64_t>(info.st_size) : -1;
    }
    std::wstring GetName() const override { return m_name; }
    bool IsOpen() const override { return m_fd >= 0; }
    bool Close() override
    {
        const bool ok = m_fd >= 0 && ::close(m_fd) == 0;
        m_fd = -1;
        return ok;
    }

protected:
    int m_fd;
    std::wstring m_name;
};

class CSaveStream : public CFdStream
{
public:
    CSaveStream(int fd, const std::wstring& name, std::string target, std::string temporary)
        : CFdStream(fd, name), m_target(std::move(target)), m_temporary(std::move(temporary))
    {
    }
    ~CSaveStream() override
    {
        if (!m_committed)
        {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = -1;
            ::unlink(m_temporary.c_str());
        }
    }

    size_t Write(const void* data, size_t count) override
    {
        const size_t written = CFdStream::Write(data, count);
        if (written != count)
            m_failed = true;
        return written;
    }

    bool Close() override
    {
        if (m_committed)
            return true;
        if (m_fd < 0)
            return false;
        const bool closed = CFdStream::Close();
        if (m_failed || !closed || std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        {
            ::unlink(m_temporary.c_str());
            m_committed = true; // nothing left to clean up
            return false;
        }
        m_committed = true;
        return true;
    }

private:
    std::string m_target;
    std::string m_temporary;
    bool m_failed = false;
    bool m_committed = false;
};

} // namespace

std::unique_ptr<IArchiveStream> OpenArchiveReadStream(const std::wstring& path)
{
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_unique<CFdStream>(fd, path);
}

std::unique_ptr<IArchiveStream> OpenArchiveSaveStream(const std::wstring& path)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = NativePath(path);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::string temporary =
            target + ".~" + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::make_unique<CSaveStream>(fd, path, target, temporary);
        if (errno != EEXIST)
            break;
    }
    return nullptr;
}

} // namespace Misc::Serialization
