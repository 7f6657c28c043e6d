// IGraphics functions on render targets, shader materials and the device.
// Creating a render target and binding it to a camera name a camera of the
// world map; they come with the world map.

#include "core/script/lua/ScriptAddress.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RenderTarget.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/graphics/IGraphicsTextures.h"

#include <string>

using Graphics::CGraphicsEngine;
using LuaPlus::LuaState;

namespace
{

CGraphicsEngine& Engine()
{
    return GetScriptGraphicsEngine();
}

CPoint getRenderTargetDimensions(LuaState*, const std::wstring& name)
{
    const CGraphicsEngine::CRenderTarget& target = Engine().GetRenderTarget(name);
    return CPoint(target.GetWidth(), target.GetHeight());
}

bool renderTargetExists(LuaState*, const std::wstring& name)
{
    return Engine().RenderTargetExists(name);
}

void removeRenderTarget(LuaState*, const std::wstring& name)
{
    Engine().RemoveRenderTarget(name);
}

void removeAllRenderTarget(LuaState*)
{
    Engine().RemoveAllRenderTargets();
}

int32_t addLowLevelShader(LuaState*, const std::wstring& vertexProgram, const std::wstring& pixelProgram,
                          int32_t baseMaterial)
{
    return Engine().AddLowLevelShader(vertexProgram, pixelProgram, baseMaterial, 0);
}

int32_t addHighLevelShader(LuaState*, const std::wstring& vertexProgram, const std::string& vertexEntry,
                           int32_t vertexTarget, const std::wstring& pixelProgram,
                           const std::string& pixelEntry, int32_t pixelTarget, int32_t baseMaterial)
{
    return Engine().AddHighLevelShader(vertexProgram, vertexEntry, vertexTarget, pixelProgram, pixelEntry,
                                       pixelTarget, baseMaterial, 0);
}

// The device's address, for modules that use Irrlicht themselves; 0 without
// a device. Nothing in the engine takes it back.
lua_Number getEngineDevice(LuaState*)
{
    return LuaPlus::AddressToNumber(Engine().GetDevice());
}

} // namespace

void RegisterIGraphicsRenderTargetFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getRenderTargetDimensions", &getRenderTargetDimensions);
    table.RegisterHelper("renderTargetExists", &renderTargetExists);
    table.RegisterHelper("removeRenderTarget", &removeRenderTarget);
    table.RegisterHelper("removeAllRenderTarget", &removeAllRenderTarget);
    table.RegisterHelper("addLowLevelShader", &addLowLevelShader);
    table.RegisterHelper("addHighLevelShader", &addHighLevelShader);
    table.RegisterHelper("getEngineDevice", &getEngineDevice);
}
