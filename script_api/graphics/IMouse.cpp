#include "script_api/graphics/IMouse.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIMouse(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IMouse", {});
}
