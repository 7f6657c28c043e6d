#include "editlaunch/EditorLauncher.h"

#include "core/foundation/CommandLine.h"
#include "editlaunch/NormalizeSeparators.h"
#include "platform/Process.h"

#include <cstdio>

namespace
{

template <class String> String FileArgument(String path)
{
    using Char = typename String::value_type;
    NormalizeSeparators(path, Char('/'));
    if (!path.empty() && path.front() == Char('"'))
        path = path.size() >= 2 ? path.substr(1, path.size() - 2) : String();
    return path;
}

} // namespace

std::wstring EditorFileArgument(const CCommandLine& commandLine)
{
    const wchar_t* argument = commandLine.GetArgument(1);
    return FileArgument(std::wstring(argument != nullptr ? argument : L""));
}

std::string EditorFileArgument(const char* argument)
{
    return FileArgument(std::string(argument != nullptr ? argument : ""));
}

int RunEditorLauncher(const char* argument, const std::string& exeFolder)
{
    const std::string file = EditorFileArgument(argument);
    const std::string editor = Platform::FindEditor(exeFolder);
    if (editor.empty() || !Platform::StartEditor(editor, file, std::string()))
        std::fprintf(stderr, "editlaunch: the script editor could not be started for '%s'\n", file.c_str());
    return 0;
}
