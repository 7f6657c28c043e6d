#include "core/script/EntryScript.h"

#include "core/app/Application.h"
#include "core/app/StateMachine.h"
#include "core/foundation/CommandLine.h"
#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/PathUtilities.h"
#include "core/script/ScriptManager.h"
#include "core/script/ScriptState.h"
#include "core/script/lua/LuaObject.h"

#include <memory>

namespace
{

// Search paths the runner adds are filed under this key.
constexpr int32_t kEntrySearchKey = static_cast<int32_t>(0x80000000u);

} // namespace

int RunEntryScript(const std::wstring& scriptPath, const CCommandLine& commandLine)
{
    CScriptManager* engine = CScriptManager::GetInstance();
    CApplication* application = engine->GetApplication();

    // The path is made absolute first: once the current directory is the
    // script's folder, a relative path would name the wrong file.
    CCurrentDirectory currentDirectory;
    std::wstring path = scriptPath;
    if (IsRelativePath(path))
        path = currentDirectory.Get() + L"/" + path;
    CleanPath(path, L"/");

    const std::wstring folder = ExtractFilenameComponents(path, true, true, false, false);
    currentDirectory.Set(folder);
    application->GetFileSystem().SetBasePath(folder, false);
    application->AddSearchPath(folder, false, kEntrySearchKey);
    application->AddSearchPath(application->GetExeFolder(), false, kEntrySearchKey);

    LuaPlus::LuaState* state = engine->GetMainState();
    auto entry = std::make_unique<CScriptState>(state, path);
    entry->SetReportMissingFunction(true);
    for (size_t index = 2; index < commandLine.GetArgumentCount(); ++index)
    {
        const std::wstring argument = commandLine.GetArgument(index);
        LuaPlus::LuaObject value;
        if (argument.empty())
            value.Assign(state, nullptr);
        else
            value.Assign(state, std::wstring_view(argument));
        entry->AddArgument(value);
    }

    CStateMachine* machine = engine->GetStateMachine();
    machine->Queue(entry.release());
    machine->Run();
    return 0;
}
