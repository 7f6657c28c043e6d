#include "script_api/graphics/IGraphics.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/graphics/IGraphicsFunctions.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsGuiBuilders.h"
#include "script_api/graphics/IGraphicsGuiScrollers.h"
#include "script_api/graphics/IGraphicsSprites.h"
#include "script_api/graphics/IGraphicsGuiMenus.h"
#include "script_api/graphics/IGraphicsTextures.h"

void RegisterIGraphics(LuaPlus::LuaState* state)
{
    // One line per group (IGraphicsFunctions.h, IGraphicsTextures.h,
    // IGraphicsGuiAccess.h).
    PublishScriptInterface(state, "IGraphics",
                           {
                               &RegisterIGraphicsDeviceFunctions,
                               &RegisterIGraphicsFrameFunctions,
                               &RegisterIGraphicsDrawingFunctions,
                               &RegisterIGraphicsTextureFunctions,
                               &RegisterIGraphicsRenderTargetFunctions,
                               &RegisterIGraphicsGuiControls,
                               &RegisterIGraphicsGuiEvents,
                               &RegisterIGraphicsGuiProperties,
                               &RegisterIGraphicsGuiLists,
                               &RegisterIGraphicsGuiTables,
                               &RegisterIGraphicsGuiBuilders,
                               &RegisterIGraphicsGuiBuilderProperties,
                               &RegisterIGraphicsWindowFunctions,
                               &RegisterIGraphicsGuiLayout,
                               &RegisterIGraphicsGuiShortcuts,
                               &RegisterIGraphicsGuiScrollers,
                               &RegisterIGraphicsRayCasts,
                               &RegisterIGraphicsSpriteFunctions,
                               &RegisterIGraphicsFontFunctions,
                               &RegisterIGraphicsGuiMenus,
                               &RegisterIGraphicsGuiTabs,
                               &RegisterIGraphicsEntityMaterials,
                               &RegisterIGraphicsEntityMeshes,
                               &RegisterIGraphicsEntityAnimation,
                           });
}
