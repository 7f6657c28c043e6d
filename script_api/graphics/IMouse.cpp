#include "script_api/graphics/IMouse.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIMouse(LuaPlus::LuaState* state)
{
    // The groups of IMouse functions in their order, one line each; none yet.
    PublishScriptInterface(state, "IMouse", {});
}
