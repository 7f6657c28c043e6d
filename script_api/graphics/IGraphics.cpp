#include "script_api/graphics/IGraphics.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/graphics/IGraphicsTextures.h"

void RegisterIGraphics(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IGraphics",
                           {&RegisterIGraphicsDrawingFunctions, &RegisterIGraphicsTextureFunctions,
                            &RegisterIGraphicsRenderTargetFunctions});
}
