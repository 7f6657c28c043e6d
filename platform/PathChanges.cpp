#include "platform/PathChanges.h"

#include "platform/FileStatus.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace Platform
{

bool RemoveFile(const std::string& path)
{
    return !path.empty() && unlink(path.c_str()) == 0;
}

bool RemoveFolder(const std::string& path)
{
    return !path.empty() && rmdir(path.c_str()) == 0;
}

EMoveResult MoveNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return EMoveResult::Moved;
    int error = errno;
    // A file system without RENAME_NOREPLACE: check, then rename.
    if (error == EINVAL && !GetLinkStatus(to).Exists())
    {
        if (std::rename(from.c_str(), to.c_str()) == 0)
            return EMoveResult::Moved;
        error = errno;
    }
    if (error == EXDEV && !GetLinkStatus(to).Exists())
        return EMoveResult::CrossDevice;
    return EMoveResult::Failed;
}

bool ChangeDirectory(const std::string& path)
{
    return !path.empty() && chdir(path.c_str()) == 0;
}

} // namespace Platform
