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

bool IsMainScriptThread(lua_State* L)
{
    const CScriptManager* engine = CScriptManager::GetInstance();
    const LuaPlus::LuaState* mainState = engine != nullptr ? engine->GetMainState() : nullptr;
    return mainState != nullptr && L == mainState->GetCState();
}
