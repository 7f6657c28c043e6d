// IGraphics functions on textures: loading and creating them by name, their
// properties, locks and pixels, raw image data, copies, colour keys, normal
// maps and image files; the caches and loaders; the texture creation
// options.
//
// A texture argument is a file name, loaded when it is not loaded yet. A
// texture lock is a handle id that the engine's lock registry checks on
// every use: 0 means "no lock", any other number that names no live lock
// (unlocked already, forged, or the lock of a texture that has gone) is an
// error.

#include "core/foundation/KVOError.h"
#include "core/foundation/Pixels.h"
#include "core/script/lua/ScriptHandle.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/TextureLocks.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/graphics/IGraphicsTextures.h"

#include <lua.hpp>

#include <optional>
#include <string>

template <> struct LuaPlus::ScriptHandleTraits<Graphics::STextureLock>
{
    static constexpr const char* kName = "texture lock";
};

using Graphics::CGraphicsEngine;
using Graphics::STextureLock;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using LuaPlus::OptionalScriptHandle;
using LuaPlus::ScriptArgumentError;

namespace
{

using LockHandle = OptionalScriptHandle<STextureLock>;

CGraphicsEngine& Engine()
{
    return GetScriptGraphicsEngine();
}

// The named texture, loaded when needed; null when there is none.
irr::video::ITexture* Texture(const std::wstring& name)
{
    return Engine().GetTexture(name, false);
}

std::optional<CPoint> PointOrNil(irr::video::ITexture* texture, bool original)
{
    if (texture == nullptr)
        return std::nullopt;
    return original ? Engine().GetTextureOriginalSize(texture) : Engine().GetTextureSize(texture);
}

bool textureExists(LuaState*, const std::wstring& name)
{
    return Engine().TextureExists(name);
}

bool createTexture(LuaState*, const std::wstring& name, const CPoint& size, int32_t format)
{
    return Engine().CreateTexture(name, size, format);
}

bool loadTexture(LuaState*, const std::wstring& name)
{
    return Engine().LoadTexture(name);
}

void unloadTexture(LuaState*, const std::wstring& name)
{
    Engine().UnloadTexture(name);
}

uint32_t getTexturePitch(LuaState*, const std::wstring& name)
{
    return Engine().GetTexturePitch(Texture(name));
}

int32_t getTextureColorFormat(LuaState*, const std::wstring& name)
{
    return Engine().GetTextureColorFormat(Texture(name));
}

bool getTextureMipMapsExist(LuaState*, const std::wstring& name)
{
    return Engine().GetTextureMipMapsExist(Texture(name));
}

bool textureMipMapsRegenerate(LuaState*, const std::wstring& name)
{
    irr::video::ITexture* texture = Texture(name);
    return texture != nullptr && Engine().TextureMipMapsRegenerate(texture);
}

std::optional<CPoint> getTextureOriginalSize(LuaState*, const std::wstring& name)
{
    return PointOrNil(Texture(name), true);
}

std::optional<CPoint> getTextureSize(LuaState*, const std::wstring& name)
{
    return PointOrNil(Texture(name), false);
}

lua_Number textureLock(LuaState*, const std::wstring& name)
{
    return Engine().GetTextureLocks().Lock(Texture(name));
}

void textureUnlock(LuaState*, LockHandle lock)
{
    if (lock)
        Engine().GetTextureLocks().Unlock(static_cast<uint32_t>(lock.GetNumber()));
}

std::optional<CColor> textureGetPixel(LuaState*, LockHandle lock, int32_t x, int32_t y)
{
    CColor color;
    if (!lock || !Engine().TextureGetPixel(lock->texture, lock->pixels, x, y, color))
        return std::nullopt;
    return color;
}

void textureSetPixel(LuaState*, LockHandle lock, int32_t x, int32_t y, const CColor& color)
{
    if (lock)
        Engine().TextureSetPixel(lock->texture, lock->pixels, x, y, color);
}

// textureWriteData and textureWriteDataRaw: the data is a script string of
// raw bytes; no raw address is taken.
void textureWriteData(LuaState*, LockHandle lock, const LuaStackObject& data, const CPoint& size,
                      int32_t sourceFormat, int32_t mode, bool flip)
{
    if (lua_type(data.GetCState(), data.GetIndex()) != LUA_TSTRING)
        throw ScriptArgumentError("Raw image data must be a string of bytes");
    const int32_t width = Misc::ToPixels(size.x);
    const int32_t height = Misc::ToPixels(size.y);
    if (width < 0 || height < 0)
        throw ScriptArgumentError("Invalid image size");
    if (!lock)
        return;
    size_t length = 0;
    const char* bytes = lua_tolstring(data.GetCState(), data.GetIndex(), &length);
    Engine().WriteTexture(bytes, length, static_cast<uint32_t>(width), static_cast<uint32_t>(width),
                          static_cast<uint32_t>(height), sourceFormat, lock->texture, lock->pixels, mode,
                          flip);
}

void textureCopyData(LuaState*, const std::wstring& source, int32_t x, int32_t y, int32_t width,
                     int32_t height, const std::wstring& destination, int32_t destX, int32_t destY)
{
    Engine().CopyTexture(Texture(source), x, y, width, height, Texture(destination), destX, destY);
}

void textureCreateAlphaChannelFromColor(LuaState*, const std::wstring& name, const CColor& color)
{
    Engine().TextureCreateAlphaChannelFromColor(Texture(name), color);
}

void textureCreateAlphaChannelFromPos(LuaState*, const std::wstring& name, const CPoint& position)
{
    Engine().TextureCreateAlphaChannelFromPos(Texture(name), Misc::ToPixels(position.x),
                                              Misc::ToPixels(position.y));
}

void textureCreateNormalMap(LuaState*, const std::wstring& name, float amplitude)
{
    Engine().TextureCreateNormalMap(Texture(name), amplitude);
}

bool textureWriteToFile(LuaState*, const std::wstring& name, const std::wstring& fileName, uint32_t parameter)
{
    return Engine().TextureWriteToFile(Texture(name), fileName, parameter);
}

void clearCache(LuaState*)
{
    Engine().ClearCache();
}

uint32_t getNumberOfLoadedTextures(LuaState*)
{
    return Engine().GetNumberOfLoadedTextures();
}

uint32_t getNumberOfLoadedMeshes(LuaState*)
{
    return Engine().GetNumberOfLoadedMeshes();
}

bool mapTextureExtension(LuaState*, const std::wstring& newExtension, const std::wstring& existingExtension)
{
    return Engine().MapTextureExtension(newExtension, existingExtension);
}

bool mapMeshExtension(LuaState*, const std::wstring& newExtension, const std::wstring& existingExtension)
{
    return Engine().MapMeshExtension(newExtension, existingExtension);
}

bool getTextureSpeedOptimized(LuaState*)
{
    return Engine().GetTextureSpeedOptimized();
}

void setTextureSpeedOptimized(LuaState*, bool value)
{
    Engine().SetTextureSpeedOptimized(value);
}

bool getTextureQualityOptimized(LuaState*)
{
    return Engine().GetTextureQualityOptimized();
}

void setTextureQualityOptimized(LuaState*, bool value)
{
    Engine().SetTextureQualityOptimized(value);
}

bool getTextureMipMapping(LuaState*)
{
    return Engine().GetTextureMipMapping();
}

void setTextureMipMapping(LuaState*, bool value)
{
    Engine().SetTextureMipMapping(value);
}

} // namespace

void RegisterIGraphicsTextureFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("clearCache", &clearCache);
    table.RegisterHelper("getNumberOfLoadedTextures", &getNumberOfLoadedTextures);
    table.RegisterHelper("getNumberOfLoadedMeshes", &getNumberOfLoadedMeshes);
    table.RegisterHelper("mapTextureExtension", &mapTextureExtension);
    table.RegisterHelper("mapMeshExtension", &mapMeshExtension);
    table.RegisterHelper("getTextureSpeedOptimized", &getTextureSpeedOptimized);
    table.RegisterHelper("setTextureSpeedOptimized", &setTextureSpeedOptimized);
    table.RegisterHelper("getTextureQualityOptimized", &getTextureQualityOptimized);
    table.RegisterHelper("setTextureQualityOptimized", &setTextureQualityOptimized);
    table.RegisterHelper("getTextureMipMapping", &getTextureMipMapping);
    table.RegisterHelper("setTextureMipMapping", &setTextureMipMapping);

    table.RegisterHelper("textureExists", &textureExists);
    table.RegisterHelper("createTexture", &createTexture);
    table.RegisterHelper("loadTexture", &loadTexture);
    table.RegisterHelper("unloadTexture", &unloadTexture);
    table.RegisterHelper("getTexturePitch", &getTexturePitch);
    table.RegisterHelper("getTextureColorFormat", &getTextureColorFormat);
    table.RegisterHelper("getTextureMipMapsExist", &getTextureMipMapsExist);
    table.RegisterHelper("textureMipMapsRegenerate", &textureMipMapsRegenerate);
    table.RegisterHelper("getTextureOriginalSize", &getTextureOriginalSize);
    table.RegisterHelper("getTextureSize", &getTextureSize);
    table.RegisterHelper("textureLock", &textureLock);
    table.RegisterHelper("textureUnlock", &textureUnlock);
    table.RegisterHelper("textureGetPixel", &textureGetPixel);
    table.RegisterHelper("textureSetPixel", &textureSetPixel);
    table.RegisterHelper("textureWriteData", &textureWriteData);
    table.RegisterHelper("textureWriteDataRaw", &textureWriteData);
    table.RegisterHelper("textureCopyData", &textureCopyData);
    table.RegisterHelper("textureCreateAlphaChannelFromColor", &textureCreateAlphaChannelFromColor);
    table.RegisterHelper("textureCreateAlphaChannelFromPos", &textureCreateAlphaChannelFromPos);
    table.RegisterHelper("textureCreateNormalMap", &textureCreateNormalMap);
    table.RegisterHelper("textureWriteToFile", &textureWriteToFile);
}
