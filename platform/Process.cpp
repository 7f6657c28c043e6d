#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Platform
{

namespace
{

// Waits for the child in the background so that it leaves no zombie.
void ReapWhenDone(pid_t child)
{
    std::thread(
        [child]
        {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR)
            {
            }
        })
        .detach();
}

} // namespace

bool IsExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    if (path == nullptr || name.empty() || name.find('/') != std::string::npos)
        return std::string();
    const std::string folders = path;
    size_t start = 0;
    while (start <= folders.size())
    {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return std::string();
}

bool StartProcess(const std::string& program, const std::vector<std::string>& arguments, int* processId)
{
    if (program.empty())
        return false;

    std::vector<std::string> strings;
    strings.reserve(arguments.size() + 1);
    strings.push_back(program);
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : strings)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    ReapWhenDone(child);
    if (processId != nullptr)
        *processId = static_cast<int>(child);
    return true;
}

bool OpenWithAssociatedProgram(const std::string& path)
{
    return !path.empty() && StartProcess("xdg-open", {path});
}

std::string FindEditor(const std::string& exeFolder)
{
    const char* chosen = std::getenv("HALVANE_EDITOR");
    if (chosen != nullptr && *chosen != 0)
        return IsExecutableFile(chosen) ? std::string(chosen) : std::string();

    std::string bundled = exeFolder;
    if (!bundled.empty() && bundled.back() != '/')
        bundled += '/';
    bundled += "Tools/SciTE/SciTE";
    if (IsExecutableFile(bundled))
        return bundled;
    return FindOnPath("scite");
}

bool StartEditor(const std::string& editor, const std::string& file, const std::string& line)
{
    std::vector<std::string> arguments{"-open:" + file};
    if (!line.empty())
        arguments.push_back("-goto:" + line);
    return StartProcess(editor, arguments);
}

} // namespace Platform
