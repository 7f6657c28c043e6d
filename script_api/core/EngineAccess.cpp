#include "script_api/core/EngineAccess.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"

CScriptManager& GetScriptEngine()
{
    CScriptManager* engine = CScriptManager::GetInstance();
    if (engine == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::GetInstance] There is no engine object");
    return *engine;
}

CApplication& GetScriptApplication()
{
    return *GetScriptEngine().GetApplication();
}

void CheckMainState(const LuaPlus::CallingThread& caller, const wchar_t* message)
{
    const CScriptManager* engine = CScriptManager::GetInstance();
    const LuaPlus::LuaState* mainState = engine != nullptr ? engine->GetMainState() : nullptr;
    if (mainState == nullptr || caller.L != mainState->GetCState())
        throw Misc::Error::CKVOError(message);
}
