#include "script_api/world/IWorld.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIWorld(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IWorld", {});
}
