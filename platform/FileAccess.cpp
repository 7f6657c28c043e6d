#include "platform/FileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform
{

int OpenForReading(const std::string& path)
{
    if (path.empty())
        return -1;
    return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

int CreateExclusive(const std::string& path)
{
    if (path.empty())
        return -1;
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
}

void CloseDescriptor(int descriptor)
{
    if (descriptor >= 0)
        close(descriptor);
}

bool CloseDescriptorChecked(int descriptor)
{
    return descriptor >= 0 && close(descriptor) == 0;
}

int64_t ReadAt(int descriptor, uint64_t position, void* out, size_t length)
{
    auto* bytes = static_cast<char*>(out);
    size_t done = 0;
    while (done < length)
    {
        const ssize_t got =
            pread(descriptor, bytes + done, length - done, static_cast<off_t>(position + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

int64_t CurrentOffset(int descriptor)
{
    const off_t offset = lseek(descriptor, 0, SEEK_CUR);
    return offset < 0 ? -1 : static_cast<int64_t>(offset);
}

bool IsBadDescriptor(int descriptor)
{
    return descriptor < 0 || (fcntl(descriptor, F_GETFD) < 0 && errno == EBADF);
}

void SetFileTimes(int descriptor, int64_t accessSeconds, int64_t accessNanoseconds, int64_t writeSeconds,
                  int64_t writeNanoseconds)
{
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(accessSeconds);
    times[0].tv_nsec = static_cast<long>(accessNanoseconds);
    times[1].tv_sec = static_cast<time_t>(writeSeconds);
    times[1].tv_nsec = static_cast<long>(writeNanoseconds);
    futimens(descriptor, times);
}

void MakeReadOnly(int descriptor)
{
    struct stat info;
    if (fstat(descriptor, &info) == 0)
        fchmod(descriptor, info.st_mode & ~static_cast<mode_t>(0222));
}

} // namespace Platform
