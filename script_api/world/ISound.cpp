#include "script_api/world/ISound.h"

#include "script_api/core/ScriptInterface.h"

void RegisterISound(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "ISound", {});
}
