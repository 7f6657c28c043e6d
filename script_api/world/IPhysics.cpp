#include "script_api/world/IPhysics.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIPhysics(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IPhysics", {});
}
