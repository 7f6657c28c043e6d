#include "platform/FileStatus.h"

#include <sys/stat.h>
#include <time.h>

namespace Platform
{

namespace
{

SFileStatus FromStat(const struct stat& info)
{
    SFileStatus status;
    if (S_ISREG(info.st_mode))
        status.kind = EFileKind::Regular;
    else if (S_ISDIR(info.st_mode))
        status.kind = EFileKind::Folder;
    else if (S_ISLNK(info.st_mode))
        status.kind = EFileKind::Link;
    else
        status.kind = EFileKind::Other;
    status.device = static_cast<uint64_t>(info.st_dev);
    status.inode = static_cast<uint64_t>(info.st_ino);
    status.size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    status.modifiedSeconds = static_cast<int64_t>(info.st_mtim.tv_sec);
    status.modifiedNanoseconds = static_cast<int64_t>(info.st_mtim.tv_nsec);
    return status;
}

} // namespace

SFileStatus GetFileStatus(const std::string& path)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return SFileStatus();
    return FromStat(info);
}

SFileStatus GetLinkStatus(const std::string& path)
{
    struct stat info;
    if (path.empty() || lstat(path.c_str(), &info) != 0)
        return SFileStatus();
    return FromStat(info);
}

SFileStatus GetDescriptorStatus(int descriptor)
{
    struct stat info;
    if (descriptor < 0 || fstat(descriptor, &info) != 0)
        return SFileStatus();
    return FromStat(info);
}

int64_t GetWallClockSeconds()
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec);
}

} // namespace Platform
