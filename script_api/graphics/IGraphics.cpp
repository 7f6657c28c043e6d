#include "script_api/graphics/IGraphics.h"

#include "script_api/core/ScriptInterface.h"

void RegisterIGraphics(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IGraphics", {});
}
