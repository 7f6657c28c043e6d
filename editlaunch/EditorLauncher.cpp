#include "editlaunch/EditorLauncher.h"

#include "core/foundation/CommandLine.h"
#include "core/foundation/StringConversion.h"
#include "editlaunch/NormalizeSeparators.h"
#include "platform/Process.h"

#include <cstdio>

std::wstring EditorFileArgument(const CCommandLine& commandLine)
{
    const wchar_t* argument = commandLine.GetArgument(1);
    std::wstring path = argument != nullptr ? argument : L"";
    NormalizeSeparators(path, L'/');
    if (!path.empty() && path.front() == L'"')
        path = path.size() >= 2 ? path.substr(1, path.size() - 2) : std::wstring();
    return path;
}

int RunEditorLauncher(const CCommandLine& commandLine, const std::string& exeFolder)
{
    const std::string file = Misc::Text::WideToUtf8(EditorFileArgument(commandLine));
    const std::string editor = Platform::FindEditor(exeFolder);
    if (editor.empty() || !Platform::StartEditor(editor, file, std::string()))
        std::fprintf(stderr, "editlaunch: the script editor could not be started for '%s'\n", file.c_str());
    return 0;
}
