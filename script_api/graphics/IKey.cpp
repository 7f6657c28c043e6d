#include "script_api/graphics/IKey.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIKey(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IKey", {});
}
