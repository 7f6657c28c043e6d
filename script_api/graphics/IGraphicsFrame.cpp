// IGraphics functions on the frame: drawing one on request, the clearing of
// the buffers, screen shots and the world box.

#include "core/foundation/Vector.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalEntity.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsFunctions.h"
#include "script_api/world/EntityArguments.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>

using LuaPlus::LuaState;

namespace
{

Graphics::CGraphicsEngine& GraphicsEngine()
{
    return GetScriptGraphicsEngine();
}

// One frame now, without the tick: false when nothing was drawn (no device,
// a closed window, an inactive window without background rendering).
bool draw(LuaState*, bool keepBackBuffer, bool keepZBuffer, bool runDevice)
{
    return GraphicsEngine().Draw(keepBackBuffer, keepZBuffer, runDevice);
}

void enableBackBuffer(LuaState*, bool enable)
{
    GraphicsEngine().EnableBackBuffer(enable);
}

bool isBackBufferEnabled(LuaState*)
{
    return GraphicsEngine().IsBackBufferEnabled();
}

void enableZBuffer(LuaState*, bool enable)
{
    GraphicsEngine().EnableZBuffer(enable);
}

bool isZBufferEnabled(LuaState*)
{
    return GraphicsEngine().IsZBufferEnabled();
}

// The parameter goes to the image writer (the quality of JPEG files).
bool screenShot(LuaState*, const std::wstring& fileName, uint32_t parameter)
{
    return GraphicsEngine().ScreenShot(fileName, parameter);
}

CVector getWorldMin(LuaState*)
{
    return GraphicsEngine().GetWorldMin();
}

CVector getWorldMax(LuaState*)
{
    return GraphicsEngine().GetWorldMax();
}

// Whether the point lies in the entity node's transformed bounding box;
// false while the entity has no node.
bool isInside(LuaState*, ScriptWorld::GraphicalPart part, const CVector& point)
{
    const irr::scene::ISceneNode* node = part->GetSceneNode();
    return node != nullptr &&
           node->getTransformedBoundingBox().isPointInside(irr::core::vector3df(point.x, point.y, point.z));
}

} // namespace

void RegisterIGraphicsFrameFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("draw", &draw);
    table.RegisterHelper("enableBackBuffer", &enableBackBuffer);
    table.RegisterHelper("isBackBufferEnabled", &isBackBufferEnabled);
    table.RegisterHelper("enableZBuffer", &enableZBuffer);
    table.RegisterHelper("isZBufferEnabled", &isZBufferEnabled);
    table.RegisterHelper("screenShot", &screenShot);
    table.RegisterHelper("getWorldMin", &getWorldMin);
    table.RegisterHelper("getWorldMax", &getWorldMax);
    table.RegisterHelper("isInside", &isInside);
}
