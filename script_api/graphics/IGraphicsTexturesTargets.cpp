// IGraphics functions on render targets, shader materials and the device.
// Render targets draw the scene through a camera of the world map, named
// by its id; so does the projection of a 3D point to the screen.

#include "core/script/lua/ScriptAddress.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RenderTarget.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsTextures.h"
#include "script_api/world/EntityArguments.h"
#include "graphics/scene/GraphicalEntity.h"

#include <string>

using Graphics::CGraphicsEngine;
using LuaPlus::LuaState;

namespace
{

CGraphicsEngine& Engine()
{
    return GetScriptGraphicsEngine();
}

// A camera of the world map, by id, as the frame's camera passes see it.
using WorldCamera = ScriptWorld::Unit<Misc::World::kTypeIdCamera>;

Graphics::IFrameCamera* FrameCameraOf(const WorldCamera& camera)
{
    Graphics::Scene::CGraphicalEntity* part = camera->GetGraphicalPart();
    return part != nullptr ? part->GetFrameCamera() : nullptr;
}

bool createRenderTarget(LuaState*, const std::wstring& name, const CPoint& size, WorldCamera camera,
                        uint32_t frameRate)
{
    return Engine().CreateRenderTarget(name, size, FrameCameraOf(camera), frameRate);
}

// The camera is looked up before the target.
bool setRenderTargetCameraId(LuaState*, const std::wstring& name, WorldCamera camera, uint32_t frameRate)
{
    Engine().GetRenderTarget(name).SetCamera(FrameCameraOf(camera), frameRate);
    return true;
}

// "" once the camera has gone (the target stopped drawing then).
std::string getRenderTargetCameraId(LuaState*, const std::wstring& name)
{
    const Graphics::IFrameCamera* camera = Engine().GetRenderTarget(name).GetCamera();
    return camera != nullptr ? camera->GetCameraId() : std::string();
}

CPoint getScreenPosFrom3DPos(LuaState*, const CVector& position, WorldCamera camera)
{
    return Engine().GetScreenPosFrom3DPos(position, FrameCameraOf(camera));
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
    table.RegisterHelper("createRenderTarget", &createRenderTarget);
    table.RegisterHelper("setRenderTargetCameraId", &setRenderTargetCameraId);
    table.RegisterHelper("getRenderTargetCameraId", &getRenderTargetCameraId);
    table.RegisterHelper("getRenderTargetDimensions", &getRenderTargetDimensions);
    table.RegisterHelper("renderTargetExists", &renderTargetExists);
    table.RegisterHelper("removeRenderTarget", &removeRenderTarget);
    table.RegisterHelper("removeAllRenderTarget", &removeAllRenderTarget);
    table.RegisterHelper("addLowLevelShader", &addLowLevelShader);
    table.RegisterHelper("addHighLevelShader", &addHighLevelShader);
    table.RegisterHelper("getEngineDevice", &getEngineDevice);
    table.RegisterHelper("getScreenPosFrom3DPos", &getScreenPosFrom3DPos);
}
