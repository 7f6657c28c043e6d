#include "script_api/graphics/ISkin.h"

#include "script_api/core/ScriptInterface.h"

void RegisterISkin(LuaPlus::LuaState* state)
{
    // The groups of ISkin functions in their order, one line each; none yet.
    PublishScriptInterface(state, "ISkin", {});
}
