#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// The argument vector posix_spawn takes: the program, its arguments, a null.
class CArgumentVector
{
public:
    CArgumentVector(const std::string& program, const std::vector<std::string>& arguments)
        : m_strings{program}
    {
        m_strings.insert(m_strings.end(), arguments.begin(), arguments.end());
        for (std::string& text : m_strings)
            m_pointers.push_back(text.data());
        m_pointers.push_back(nullptr);
    }
    CArgumentVector(const CArgumentVector&) = delete;
    CArgumentVector& operator=(const CArgumentVector&) = delete;

    char* const* Get() const { return m_pointers.data(); }

private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};

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

    const CArgumentVector argv(program, arguments);

    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.Get(), environ) != 0)
        return false;
    ReapWhenDone(child);
    if (processId != nullptr)
        *processId = static_cast<int>(child);
    return true;
}

bool RunForOutput(const std::string& program, const std::vector<std::string>& arguments, std::string& output)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return false;

    const CArgumentVector argv(program, arguments);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.Get(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(channel[1]);
    if (started != 0)
    {
        ::close(channel[0]);
        return false;
    }

    char buffer[4096];
    for (;;)
    {
        const ssize_t count = ::read(channel[0], buffer, sizeof buffer);
        if (count > 0)
            output.append(buffer, static_cast<size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    ::close(channel[0]);

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OpenWithAssociatedProgram(const std::string& path)
{
    return !path.empty() && StartProcess("xdg-open", {path});
}

std::string FindEditor(const std::string& exeFolder)
{
    const char* chosen = std::getenv("HALVANE_EDITOR");
    if (chosen != nullptr && *chosen != 0)
    {
        // A bare name is looked up on the PATH, as a shell would.
        if (std::strchr(chosen, '/') == nullptr)
            return FindOnPath(chosen);
        return IsExecutableFile(chosen) ? std::string(chosen) : std::string();
    }

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
