// IApp functions that reach the desktop: opening documents and running
// programs, message boxes, and file and folder dialogs. Where the desktop
// offers nothing (no window, no dialog program), they answer as a cancelled
// dialog would.

#include "core/foundation/CommandLine.h"
#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/TextUtilities.h"
#include "core/script/lua/LuaObject.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "script_api/core/IAppFunctions.h"
#include "script_api/core/ScriptTexts.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

bool IsVerb(const std::wstring& operation, const wchar_t* verb)
{
    return MatchWildcard(operation, verb, false);
}

bool IsAddress(const std::wstring& file)
{
    return file.find(L"://") != std::wstring::npos || MatchWildcard(file, L"mailto:*", false);
}

// "open" runs an executable file (or a program found on the PATH) with the
// parameters, split as a command line, and opens anything else with its
// associated program; "explore" and "edit" open it. A relative file is
// taken in the folder when one is given. The show command has no meaning
// here.
bool shellExecute(LuaState*, const std::wstring& operation, const std::wstring& file,
                  const std::wstring& parameters, const std::wstring& folder, int32_t)
{
    if (operation.empty() || file.empty())
        return false;
    const bool open = IsVerb(operation, L"open");
    if (!open && !IsVerb(operation, L"explore") && !IsVerb(operation, L"edit"))
        return false;

    if (IsAddress(file))
        return Platform::OpenWithAssociatedProgram(Misc::Text::WideToUtf8(file));

    std::wstring target = file;
    if (!folder.empty() && IsRelativePath(target))
        target = folder + L"/" + target;
    CleanPath(target, L"/");
    std::string native = ToNativePath(target);
    const bool exists = FileExists(target) || PathExists(target);

    if (open && (Platform::IsExecutableFile(native) || (!exists && !Platform::FindOnPath(native).empty())))
    {
        // A file in the current folder runs as itself, not as a program of
        // that name on the PATH.
        if (exists && native.find('/') == std::string::npos)
            native = "./" + native;
        const CCommandLine split(parameters);
        std::vector<std::string> arguments;
        for (size_t index = 0; index < split.GetArgumentCount(); ++index)
            arguments.push_back(Misc::Text::WideToUtf8(split.GetArgument(index)));
        return Platform::StartProcess(native, arguments);
    }
    return exists && Platform::OpenWithAssociatedProgram(native);
}

// No window of the program can be reached by a handle here.
bool showWindow(LuaState*, uint32_t, int32_t)
{
    return false;
}

void sleep(LuaState*, uint32_t milliseconds)
{
    Platform::SleepMilliseconds(milliseconds);
}

// Message boxes. The owner window is not used.

Platform::EMessageBoxAnswer Ask(const std::wstring& text, const std::wstring& caption,
                                Platform::EMessageBoxButtons buttons)
{
    return Platform::ShowMessageBox(Misc::Text::WideToUtf8(text), Misc::Text::WideToUtf8(caption), buttons);
}

bool showMessageBoxYesNo(LuaState*, const std::wstring& text, const std::wstring& caption, uint32_t)
{
    return Ask(text, caption, Platform::EMessageBoxButtons::YesNo) == Platform::kAnswerYes;
}

// 1 for Yes, 2 for No, 3 for Cancel.
int32_t showMessageBoxYesNoCancel(LuaState*, const std::wstring& text, const std::wstring& caption, uint32_t)
{
    switch (Ask(text, caption, Platform::EMessageBoxButtons::YesNoCancel))
    {
    case Platform::kAnswerYes:
        return 1;
    case Platform::kAnswerNo:
        return 2;
    default:
        return 3;
    }
}

int32_t showMessageBoxOk(LuaState*, const std::wstring& text, const std::wstring& caption, uint32_t)
{
    return Ask(text, caption, Platform::EMessageBoxButtons::Ok);
}

bool showMessageBoxOkCancel(LuaState*, const std::wstring& text, const std::wstring& caption, uint32_t)
{
    return Ask(text, caption, Platform::EMessageBoxButtons::OkCancel) == Platform::kAnswerOk;
}

bool showMessageBoxRetryCancel(LuaState*, const std::wstring& text, const std::wstring& caption, uint32_t)
{
    return Ask(text, caption, Platform::EMessageBoxButtons::RetryCancel) == Platform::kAnswerRetry;
}

// File and folder dialogs.

// A filter text "Images:*.png;*.jpg,Text:*.txt" lists descriptions and
// their patterns, separated by ":" and ","; an empty piece ends the list,
// and a description without patterns is left out. The entry at the 1-based
// index (0 or out of range: the first) comes first, as the one selected.
std::vector<Platform::SFileFilter> ParseFilter(const std::wstring& text, uint32_t index)
{
    std::vector<std::wstring> pieces;
    size_t start = 0;
    while (start < text.size())
    {
        const size_t end = std::min(text.find_first_of(L":,", start), text.size());
        if (end == start)
            break;
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    std::vector<Platform::SFileFilter> filters;
    for (size_t piece = 0; piece + 1 < pieces.size(); piece += 2)
    {
        Platform::SFileFilter filter{Misc::Text::WideToUtf8(pieces[piece]), {}};
        size_t from = 0;
        const std::wstring& patterns = pieces[piece + 1];
        while (from <= patterns.size())
        {
            const size_t end = std::min(patterns.find(L';', from), patterns.size());
            if (end > from)
                filter.patterns.push_back(Misc::Text::WideToUtf8(patterns.substr(from, end - from)));
            from = end + 1;
        }
        filters.push_back(filter);
    }
    if (index >= 2 && index <= filters.size())
        std::rotate(filters.begin(), filters.begin() + (index - 1), filters.begin() + index);
    return filters;
}

Platform::SFileDialog Describe(const std::wstring& folder, const std::wstring& filter, uint32_t filterIndex,
                               const std::wstring& title)
{
    std::wstring start = folder;
    CleanPath(start, L"/");
    return Platform::SFileDialog{Misc::Text::WideToUtf8(title), Misc::Text::WideToUtf8(start),
                                 ParseFilter(filter, filterIndex)};
}

// The chosen file; with multiple and more than one chosen, a table of them.
// Nil when cancelled. The create prompt has no counterpart here.
LuaObject showOpenFileDialog(LuaState* state, const std::wstring& folder, const std::wstring& filter,
                             uint32_t filterIndex, const std::wstring& title, bool multiple, bool, uint32_t)
{
    std::vector<std::string> chosen;
    if (!Platform::ShowOpenFileDialog(Describe(folder, filter, filterIndex, title), multiple, chosen))
        return LuaObject();
    if (!multiple || chosen.size() == 1)
        return EmptyAsNil(state, Misc::Text::Utf8ToWide(chosen.front()));
    std::vector<std::wstring> paths;
    for (const std::string& path : chosen)
        paths.push_back(Misc::Text::Utf8ToWide(path));
    return TextList(state, paths);
}

LuaObject showSaveFileDialog(LuaState* state, const std::wstring& folder, const std::wstring& filter,
                             uint32_t filterIndex, const std::wstring& title, uint32_t)
{
    std::string chosen;
    if (!Platform::ShowSaveFileDialog(Describe(folder, filter, filterIndex, title), chosen))
        return LuaObject();
    return EmptyAsNil(state, Misc::Text::Utf8ToWide(chosen));
}

// The edit box has no counterpart here: the dialog has a location field of
// its own.
LuaObject showBrowseDialogEx(LuaState* state, const std::wstring& title, bool includeFiles, bool,
                             const std::wstring& root, uint32_t)
{
    std::wstring start = root;
    CleanPath(start, L"/");
    std::string chosen;
    if (!Platform::ShowFolderDialog(Misc::Text::WideToUtf8(title), Misc::Text::WideToUtf8(start),
                                    includeFiles, chosen))
        return LuaObject();
    return EmptyAsNil(state, Misc::Text::Utf8ToWide(chosen));
}

LuaObject showBrowseDialog(LuaState* state, const std::wstring& title, bool includeFiles,
                           const std::wstring& root, uint32_t owner)
{
    return showBrowseDialogEx(state, title, includeFiles, false, root, owner);
}

} // namespace

void RegisterIAppShellFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("shellExecute", &shellExecute);
    table.RegisterHelper("showWindow", &showWindow);
    table.RegisterHelper("sleep", &sleep);
}

void RegisterIAppDialogFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("showMessageBoxYesNo", &showMessageBoxYesNo);
    table.RegisterHelper("showMessageBoxYesNoCancel", &showMessageBoxYesNoCancel);
    table.RegisterHelper("showMessageBoxOk", &showMessageBoxOk);
    table.RegisterHelper("showMessageBoxOkCancel", &showMessageBoxOkCancel);
    table.RegisterHelper("showMessageBoxRetryCancel", &showMessageBoxRetryCancel);
    table.RegisterHelper("showOpenFileDialog", &showOpenFileDialog);
    table.RegisterHelper("showSaveFileDialog", &showSaveFileDialog);
    table.RegisterHelper("showBrowseDialog", &showBrowseDialog);
    table.RegisterHelper("showBrowseDialogEx", &showBrowseDialogEx);
}
