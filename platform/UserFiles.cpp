#include "platform/UserFiles.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform
{

namespace
{

bool IsPrivateFolder(const std::string& folder)
{
    struct stat info
    {
    };
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

} // namespace

std::string GetUserTempFolder()
{
    const char* chosen = std::getenv("TMPDIR");
    if (chosen != nullptr && *chosen != 0)
    {
        std::string folder = chosen;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        struct stat info
        {
        };
        return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? folder : std::string();
    }

    const std::string folder = "/tmp/halvane-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return std::string();
    // Someone else may have made the name first: use it only when it is
    // ours and private.
    return IsPrivateFolder(folder) ? folder : std::string();
}

std::string WriteUserTempFile(const std::string& name, const std::string& content)
{
    const std::string folder = GetUserTempFolder();
    if (folder.empty() || name.empty() || name.find('/') != std::string::npos)
        return std::string();
    const std::string path = (folder == "/" ? "" : folder) + "/" + name;
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return std::string();
    const bool written = WriteFully(descriptor, content.data(), content.size()) == content.size();
    const bool closed = ::close(descriptor) == 0;
    return written && closed ? path : std::string();
}

} // namespace Platform
