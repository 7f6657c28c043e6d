#include "platform/SaveSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform
{

namespace
{

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

ESaveTarget InspectSaveTarget(const std::string& path)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0)
        return errno == ENOENT ? ESaveTarget::kNothing : ESaveTarget::kUnknown;
    if (S_ISLNK(status.st_mode))
        return ESaveTarget::kLink;
    if (!S_ISREG(status.st_mode))
        return ESaveTarget::kSpecial;
    // The rename that puts a save in place needs only the folder's write
    // permission: the file's own is checked here. Root passes every access
    // check, so the mode's write bits decide for it.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return ESaveTarget::kReadOnly;
    return ESaveTarget::kFile;
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

namespace
{

// The process id of a temporary file's name "<name>.~<process>.<count>.tmp",
// or 0 when the name has another form.
long TemporaryProcess(const char* name)
{
    const size_t length = std::strlen(name);
    constexpr size_t kSuffix = 4; // ".tmp"
    if (length <= kSuffix || std::strcmp(name + length - kSuffix, ".tmp") != 0)
        return 0;
    const char* marker = nullptr;
    for (const char* at = std::strstr(name, ".~"); at != nullptr; at = std::strstr(at + 1, ".~"))
        marker = at;
    if (marker == nullptr)
        return 0;
    const char* digits = marker + 2;
    const char* end = name + length - kSuffix;
    const char* dot = digits;
    while (dot < end && *dot >= '0' && *dot <= '9')
        ++dot;
    if (dot == digits || dot - digits > 9 || dot >= end || *dot != '.' || dot + 1 == end)
        return 0;
    for (const char* count = dot + 1; count < end; ++count)
        if (*count < '0' || *count > '9')
            return 0;
    return std::strtol(digits, nullptr, 10);
}

bool ProcessRuns(long process)
{
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno != ESRCH;
}

} // namespace

size_t RemoveStaleTemporaries(const std::string& folder, bool (*inUse)(const std::string& name))
{
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return 0;
    const long self = ProcessId();
    size_t removed = 0;
    while (const dirent* entry = ::readdir(listing))
    {
        const long process = TemporaryProcess(entry->d_name);
        if (process <= 0)
            continue;
        if (process == self ? inUse != nullptr && inUse(entry->d_name) : ProcessRuns(process))
            continue;
        const std::string path = (folder == "/" ? folder : folder + "/") + entry->d_name;
        struct stat status;
        if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}

} // namespace Platform
