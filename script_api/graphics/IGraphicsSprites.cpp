// IGraphics: the GUI's sprite bank (entries cut from textures, saved as
// ".kvosprites" files) and the screen sprites drawn under or over the GUI.

#include "script_api/graphics/IGraphicsSprites.h"

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <cmath>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaStackTable;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace IGraphicsGui
{

std::vector<CRect> ReadFrameRectangles(const LuaStackTable& frames)
{
    std::vector<CRect> rectangles;
    const size_t count = frames.GetCount();
    rectangles.reserve(count);
    for (size_t index = 1; index <= count; ++index)
        rectangles.push_back(frames.Get<CRect>(static_cast<lua_Number>(index)));
    return rectangles;
}

} // namespace IGraphicsGui

namespace
{

bool loadSpriteBank(LuaState*, const std::wstring& fileName)
{
    return GetGui().LoadSpriteBankFile(fileName);
}

bool saveSpriteBank(LuaState*, const std::wstring& path, const std::string& mode)
{
    return GetGui().SaveSpriteBankFile(path, mode.c_str());
}

bool spriteBankEntryExists(LuaState*, const std::wstring& entryName)
{
    return GetGui().SpriteBankEntryExists(entryName);
}

uint32_t getSpriteBankCount(LuaState*)
{
    return GetGui().GetSpriteBankCount();
}

void clearSpriteBank(LuaState*)
{
    GetGui().ClearSpriteBank();
}

LuaObject addSpriteBankEntry(LuaState* state, const std::wstring& textureFile, const LuaStackTable& frames,
                             uint32_t frameTime, const std::wstring& entryName)
{
    const std::wstring id =
        GetGui().AddSpriteBankEntry(entryName, textureFile, ReadFrameRectangles(frames), frameTime);
    return EmptyAsNil(state, id);
}

// Without a colour (nil or absent) the sprite is drawn in opaque white.
std::wstring addSpriteToScreen(LuaState*, const std::wstring& entryName, const CRect& rectangle,
                               uint32_t startFrame, bool loop, bool oneShot, int32_t zOrder,
                               const LuaStackObject& color, bool beforeGui, const CRect& clip)
{
    lua_State* L = color.GetCState();
    const CColor tint =
        lua_isnoneornil(L, color.GetIndex()) ? CColor(1, 1, 1, 1) : CColorScript::Read(L, color.GetIndex());
    return GetGui().AddSpriteToScreen(entryName, rectangle, startFrame, loop, oneShot, zOrder, tint,
                                      beforeGui, clip);
}

bool screenSpriteExists(LuaState*, const std::wstring& spriteId)
{
    return GetGui().ScreenSpriteExists(spriteId);
}

CRect getSpriteScreenPosition(LuaState*, const std::wstring& spriteId)
{
    return GetGui().GetSpritePosition(spriteId, false);
}

CRect getSpriteScreenPositionAbsolute(LuaState*, const std::wstring& spriteId)
{
    return GetGui().GetSpritePosition(spriteId, true);
}

CPoint Dimensions(const CRect& rectangle)
{
    return CPoint(std::fabs(rectangle.x2 - rectangle.x1), std::fabs(rectangle.y2 - rectangle.y1));
}

CPoint getSpriteScreenDimensions(LuaState*, const std::wstring& spriteId)
{
    return Dimensions(GetGui().GetSpritePosition(spriteId, false));
}

CPoint getSpriteScreenDimensionsAbsolute(LuaState*, const std::wstring& spriteId)
{
    return Dimensions(GetGui().GetSpritePosition(spriteId, true));
}

bool setSpriteScreenPosition(LuaState*, const std::wstring& spriteId, const CRect& rectangle)
{
    GetGui().MoveSprite(spriteId, rectangle);
    return true;
}

bool changeSpriteColor(LuaState*, const std::wstring& spriteId, const CColor& color)
{
    GetGui().ChangeSpriteColor(spriteId, color);
    return true;
}

bool removeSpriteFromScreen(LuaState*, const std::wstring& spriteId)
{
    GetGui().RemoveSprite(spriteId);
    return true;
}

bool removeAllSpritesFromScreen(LuaState*)
{
    GetGui().RemoveAllScreenSprites();
    return true;
}

} // namespace

void RegisterIGraphicsSpriteFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("loadSpriteBank", &loadSpriteBank);
    table.RegisterHelper("saveSpriteBank", &saveSpriteBank);
    table.RegisterHelper("spriteBankEntryExists", &spriteBankEntryExists);
    table.RegisterHelper("getSpriteBankCount", &getSpriteBankCount);
    table.RegisterHelper("clearSpriteBank", &clearSpriteBank);
    table.RegisterHelper("addSpriteBankEntry", &addSpriteBankEntry);
    table.RegisterHelper("addSpriteToScreen", &addSpriteToScreen);
    table.RegisterHelper("screenSpriteExists", &screenSpriteExists);
    table.RegisterHelper("getSpriteScreenPosition", &getSpriteScreenPosition);
    table.RegisterHelper("getSpriteScreenPositionAbsolute", &getSpriteScreenPositionAbsolute);
    table.RegisterHelper("getSpriteScreenDimensions", &getSpriteScreenDimensions);
    table.RegisterHelper("getSpriteScreenDimensionsAbsolute", &getSpriteScreenDimensionsAbsolute);
    table.RegisterHelper("setSpriteScreenPosition", &setSpriteScreenPosition);
    table.RegisterHelper("changeSpriteColor", &changeSpriteColor);
    table.RegisterHelper("removeSpriteFromScreen", &removeSpriteFromScreen);
    table.RegisterHelper("removeAllSpritesFromScreen", &removeAllSpritesFromScreen);
}
