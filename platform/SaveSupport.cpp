#include "platform/SaveSupport.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Platform
{

namespace
{

constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncFolder(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

} // namespace

std::string ResolveSaveTarget(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop)
    {
        struct stat status;
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return current;
        std::vector<char> target(static_cast<size_t>(status.st_size > 0 ? status.st_size : PATH_MAX) + 1);
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size())
            return path;
        const std::string next(target.data(), static_cast<size_t>(length));
        current = next[0] == '/' ? next : FolderOf(current) + "/" + next;
    }
    return path;
}

bool IsReplaceable(const std::string& path)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

size_t MaxFileNameLength(const std::string& folder)
{
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<size_t>(limit) : 255;
}

bool LastErrorWasExists()
{
    return errno == EEXIST;
}

bool CopyPermissions(int descriptor, const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT;
    return ::fchmod(descriptor, status.st_mode & 07777) == 0;
}

long SeekFile(int descriptor, long offset, bool relative)
{
    const off_t result = ::lseek(descriptor, offset, relative ? SEEK_CUR : SEEK_SET);
    return result < 0 ? -1 : static_cast<long>(result);
}

bool SyncFile(int descriptor)
{
    while (::fsync(descriptor) != 0)
    {
        // Some file systems (pipes, some special files) cannot sync; that is
        // no reason to refuse the save.
        if (errno == EINVAL || errno == EROFS)
            return true;
        if (errno != EINTR)
            return false;
    }
    return true;
}

bool ReplaceFile(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    SyncFolder(FolderOf(to));
    return true;
}

long ProcessId()
{
    return static_cast<long>(::getpid());
}

} // namespace Platform
