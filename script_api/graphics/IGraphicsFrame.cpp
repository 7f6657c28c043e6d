// IGraphics functions on the frame: drawing one on request, the clearing of
// the buffers, screen shots, the caches, the colours, the texture options,
// the size of text on the screen and the world box.

#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Vector.h"
#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsFunctions.h"

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

void clearCache(LuaState*)
{
    GraphicsEngine().ClearCache();
}

uint32_t getNumberOfLoadedTextures(LuaState*)
{
    return GraphicsEngine().GetNumberOfLoadedTextures();
}

// The meshes the scene manager holds (not the textures again).
uint32_t getNumberOfLoadedMeshes(LuaState*)
{
    return GraphicsEngine().GetNumberOfLoadedMeshes();
}

// Colours: each channel from 0 to 1.

CColor getAmbientColor(LuaState*)
{
    return GraphicsEngine().GetAmbientColor();
}

void setAmbientColor(LuaState*, const CColor& color)
{
    GraphicsEngine().SetAmbientColor(color);
}

CColor getBackColor(LuaState*)
{
    return CColor(GraphicsEngine().GetBackColor());
}

void setBackColor(LuaState*, const CColor& color)
{
    GraphicsEngine().SetBackColor(color);
}

// The driver's texture creation flags; false without a device.

bool getTextureSpeedOptimized(LuaState*)
{
    return GraphicsEngine().GetTextureSpeedOptimized();
}

void setTextureSpeedOptimized(LuaState*, bool value)
{
    GraphicsEngine().SetTextureSpeedOptimized(value);
}

bool getTextureQualityOptimized(LuaState*)
{
    return GraphicsEngine().GetTextureQualityOptimized();
}

void setTextureQualityOptimized(LuaState*, bool value)
{
    GraphicsEngine().SetTextureQualityOptimized(value);
}

bool getTextureMipMapping(LuaState*)
{
    return GraphicsEngine().GetTextureMipMapping();
}

void setTextureMipMapping(LuaState*, bool value)
{
    GraphicsEngine().SetTextureMipMapping(value);
}

// Width and height of the text in the font of that key, as fractions of the
// screen.
CPoint getTextDimensions(LuaState*, const std::wstring& fontKey, const std::wstring& text)
{
    return GraphicsEngine().GetTextDimensions(fontKey, text);
}

CVector getWorldMin(LuaState*)
{
    return GraphicsEngine().GetWorldMin();
}

CVector getWorldMax(LuaState*)
{
    return GraphicsEngine().GetWorldMax();
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
    table.RegisterHelper("clearCache", &clearCache);
    table.RegisterHelper("getNumberOfLoadedTextures", &getNumberOfLoadedTextures);
    table.RegisterHelper("getNumberOfLoadedMeshes", &getNumberOfLoadedMeshes);
    table.RegisterHelper("getAmbientColor", &getAmbientColor);
    table.RegisterHelper("setAmbientColor", &setAmbientColor);
    table.RegisterHelper("getBackColor", &getBackColor);
    table.RegisterHelper("setBackColor", &setBackColor);
    table.RegisterHelper("getTextureSpeedOptimized", &getTextureSpeedOptimized);
    table.RegisterHelper("setTextureSpeedOptimized", &setTextureSpeedOptimized);
    table.RegisterHelper("getTextureQualityOptimized", &getTextureQualityOptimized);
    table.RegisterHelper("setTextureQualityOptimized", &setTextureQualityOptimized);
    table.RegisterHelper("getTextureMipMapping", &getTextureMipMapping);
    table.RegisterHelper("setTextureMipMapping", &setTextureMipMapping);
    table.RegisterHelper("getTextDimensions", &getTextDimensions);
    table.RegisterHelper("getWorldMin", &getWorldMin);
    table.RegisterHelper("getWorldMax", &getWorldMax);
}
