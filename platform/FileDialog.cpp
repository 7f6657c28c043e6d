#include "platform/FileDialog.h"

#include "core/foundation/StringConversion.h"
#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Platform
{

namespace
{

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
    {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0)
            return true;
    }
    return false;
}

std::string Zenity()
{
    return HasDisplay() ? FindOnPath("zenity") : std::string();
}

// Runs the program with the arguments and collects its standard output
// (its standard error is dropped); true when it ends with exit code 0.
bool RunForOutput(const std::string& program, const std::vector<std::string>& arguments, std::string& output)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return false;

    std::vector<std::string> strings{program};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : strings)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
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

// The lines zenity printed, one chosen path each.
std::vector<std::wstring> SplitLines(const std::string& output)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < output.size())
    {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        if (end > start)
            lines.push_back(Misc::Text::Utf8ToWide(output.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

// The arguments every file selection shares.
std::vector<std::string> SelectionArguments(const std::wstring& title, const std::wstring& folder)
{
    std::vector<std::string> arguments{"--file-selection"};
    if (!title.empty())
        arguments.push_back("--title=" + Misc::Text::WideToUtf8(title));
    // A trailing "/" makes zenity open the folder itself.
    if (!folder.empty())
        arguments.push_back("--filename=" + Misc::Text::WideToUtf8(folder) + "/");
    return arguments;
}

void AddFilters(const std::vector<SFileFilter>& filters, std::vector<std::string>& arguments)
{
    for (const SFileFilter& filter : filters)
    {
        std::string text = Misc::Text::WideToUtf8(filter.description) + " |";
        for (const std::wstring& pattern : filter.patterns)
            text += " " + Misc::Text::WideToUtf8(pattern);
        arguments.push_back("--file-filter=" + text);
    }
}

// Runs zenity; true when the user chose something, each path a line.
bool RunZenity(const std::vector<std::string>& arguments, std::vector<std::wstring>& lines)
{
    const std::string zenity = Zenity();
    std::string output;
    if (zenity.empty() || !RunForOutput(zenity, arguments, output))
        return false;
    lines = SplitLines(output);
    return !lines.empty();
}

bool ChooseOne(const std::vector<std::string>& arguments, std::wstring& chosen)
{
    std::vector<std::wstring> lines;
    if (!RunZenity(arguments, lines))
        return false;
    chosen = lines.front();
    return true;
}

} // namespace

bool AreFileDialogsAvailable()
{
    return !Zenity().empty();
}

bool ShowOpenFileDialog(const SFileDialog& dialog, bool multiple, std::vector<std::wstring>& chosen)
{
    std::vector<std::string> arguments = SelectionArguments(dialog.title, dialog.folder);
    if (multiple)
    {
        arguments.push_back("--multiple");
        arguments.push_back("--separator=\n");
    }
    AddFilters(dialog.filters, arguments);
    return RunZenity(arguments, chosen);
}

bool ShowSaveFileDialog(const SFileDialog& dialog, std::wstring& chosen)
{
    std::vector<std::string> arguments = SelectionArguments(dialog.title, dialog.folder);
    arguments.push_back("--save");
    arguments.push_back("--confirm-overwrite");
    AddFilters(dialog.filters, arguments);
    return ChooseOne(arguments, chosen);
}

bool ShowFolderDialog(const std::wstring& title, const std::wstring& root, bool includeFiles,
                      std::wstring& chosen)
{
    std::vector<std::string> arguments = SelectionArguments(title, root);
    if (!includeFiles)
        arguments.push_back("--directory");
    return ChooseOne(arguments, chosen);
}

} // namespace Platform
