#include "script_api/graphics/IKey.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIKey(LuaPlus::LuaState* state)
{
    // The groups of IKey functions in their order, one line each; none yet.
    PublishScriptInterface(state, "IKey", {});
}
