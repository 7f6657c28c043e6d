#include "script_api/core/EngineAccess.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "graphics/engine/GraphicsEngine.h"

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

Graphics::CGraphicsEngine* FindScriptGraphicsEngine()
{
    return GetScriptEngine().GetPart<Graphics::CGraphicsEngine>();
}

Graphics::CGraphicsEngine& GetScriptGraphicsEngine()
{
    Graphics::CGraphicsEngine* graphics = FindScriptGraphicsEngine();
    if (graphics == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::GetGraphicsEngine] There is no graphics engine");
    return *graphics;
}

void CheckMainState(const LuaPlus::CallingThread& caller, const wchar_t* message)
{
    const CScriptManager* engine = CScriptManager::GetInstance();
    const LuaPlus::LuaState* mainState = engine != nullptr ? engine->GetMainState() : nullptr;
    if (mainState == nullptr || caller.L != mainState->GetCState())
        throw Misc::Error::CKVOError(message);
}
