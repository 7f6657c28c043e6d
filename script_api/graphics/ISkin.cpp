#include "script_api/graphics/ISkin.h"

#include "script_api/core/ScriptInterface.h"

void RegisterISkin(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "ISkin", {});
}
