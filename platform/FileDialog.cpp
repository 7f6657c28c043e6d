#include "platform/FileDialog.h"

#include "platform/Process.h"

#include <cstdlib>

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

// The lines zenity printed, one chosen path each.
std::vector<std::string> SplitLines(const std::string& output)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size())
    {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        if (end > start)
            lines.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The arguments every file selection shares.
std::vector<std::string> SelectionArguments(const std::string& title, const std::string& folder)
{
    std::vector<std::string> arguments{"--file-selection"};
    if (!title.empty())
        arguments.push_back("--title=" + title);
    // A trailing "/" makes zenity open the folder itself.
    if (!folder.empty())
        arguments.push_back("--filename=" + folder + "/");
    return arguments;
}

void AddFilters(const std::vector<SFileFilter>& filters, std::vector<std::string>& arguments)
{
    for (const SFileFilter& filter : filters)
    {
        std::string text = filter.description + " |";
        for (const std::string& pattern : filter.patterns)
            text += " " + pattern;
        arguments.push_back("--file-filter=" + text);
    }
}

// Runs zenity; true when the user chose something, each path a line.
bool RunZenity(const std::vector<std::string>& arguments, std::vector<std::string>& lines)
{
    const std::string zenity = Zenity();
    std::string output;
    if (zenity.empty() || !RunForOutput(zenity, arguments, output))
        return false;
    lines = SplitLines(output);
    return !lines.empty();
}

bool ChooseOne(const std::vector<std::string>& arguments, std::string& chosen)
{
    std::vector<std::string> lines;
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

bool ShowOpenFileDialog(const SFileDialog& dialog, bool multiple, std::vector<std::string>& chosen)
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

bool ShowSaveFileDialog(const SFileDialog& dialog, std::string& chosen)
{
    std::vector<std::string> arguments = SelectionArguments(dialog.title, dialog.folder);
    arguments.push_back("--save");
    arguments.push_back("--confirm-overwrite");
    AddFilters(dialog.filters, arguments);
    return ChooseOne(arguments, chosen);
}

bool ShowFolderDialog(const std::string& title, const std::string& root, bool includeFiles,
                      std::string& chosen)
{
    std::vector<std::string> arguments = SelectionArguments(title, root);
    if (!includeFiles)
        arguments.push_back("--directory");
    return ChooseOne(arguments, chosen);
}

} // namespace Platform
