// ISkin: the GUI skin as scripts choose, edit and save it, its fonts,
// colours, sizes, texts, images, transparency and highlights. Every
// function forwards to the GUI manager's skin state.

#include "script_api/skin/ISkin.h"

#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "gui/skin/SkinManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/ScriptInterface.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsSprites.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaStackTable;
using LuaPlus::LuaState;

namespace
{

Graphics::GUI::CSkinManager& Skins()
{
    return IGraphicsGui::GetGui().GetSkins();
}

// Calls callback(key, userData) for each key in order until one answers
// true. The keys are taken first: the callback may change the skin.
void ForEachKey(const std::vector<std::wstring>& keys, const LuaStackObject& callback,
                const LuaStackObject& userData)
{
    const LuaPlus::LuaStackFunction<bool> function(callback);
    for (const std::wstring& key : keys)
    {
        if (function(std::wstring_view(key), userData))
            return;
    }
}

bool activate(LuaState*, const std::wstring& skinName, bool copyCurrent)
{
    return Skins().SkinActivate(skinName, copyCurrent, true);
}

void deactivate(LuaState*)
{
    Skins().DeactivateSkin();
}

bool isInitialised(LuaState*)
{
    return Skins().IsSkinInitialised();
}

std::wstring getSkinName(LuaState*)
{
    return Skins().GetSkinName();
}

bool save(LuaState*, const std::wstring& fileName, const std::string& mode)
{
    return Skins().SaveSkin(fileName, mode.c_str());
}

bool setFont(LuaState*, const std::wstring& fontKey, const std::wstring& fileName)
{
    return Skins().SetFont(fontKey, fileName);
}

std::wstring getFont(LuaState*, const std::wstring& fontKey)
{
    return Skins().GetFontFilename(fontKey);
}

uint32_t getFontTextureCount(LuaState*, const std::wstring& fontKey)
{
    return Graphics::GUI::CSkinManager::GetFontTextureCount(Skins().GetFont(fontKey, true));
}

LuaObject getFontTextureName(LuaState* state, const std::wstring& fontKey, uint32_t index)
{
    const std::wstring name =
        Graphics::GUI::CSkinManager::GetFontTextureName(Skins().GetFont(fontKey, true), index);
    return EmptyAsNil(state, name);
}

uint32_t getNumberOfFonts(LuaState*)
{
    return static_cast<uint32_t>(Skins().GetFontFiles().size());
}

void forEachFont(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    std::vector<std::wstring> keys;
    for (const auto& entry : Skins().GetFontFiles())
        keys.push_back(entry.first);
    ForEachKey(keys, callback, userData);
}

// A slot number; one outside 0 to 2^32 - 1 (or not a number) names no slot
// instead of wrapping onto one, and the skin ignores it.
uint32_t ToSlot(double number)
{
    if (!(number >= 0.0 && number < 4294967296.0))
        return UINT32_MAX;
    return static_cast<uint32_t>(number);
}

// A size as the skin holds it; not a number gives 0.
int32_t ToSkinSize(double number)
{
    constexpr double kLimit = Graphics::GUI::CSkinManager::kMaxSkinSize;
    if (std::isnan(number))
        return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(number), -kLimit, kLimit));
}

CColor getColor(LuaState*, double index)
{
    return Skins().GetSkinColor(ToSlot(index));
}

void setColor(LuaState*, double index, const CColor& color)
{
    Skins().SetSkinColor(ToSlot(index), color);
}

int32_t getSize(LuaState*, double index)
{
    return Skins().GetSkinSize(ToSlot(index));
}

void setSize(LuaState*, double index, double size)
{
    Skins().SetSkinSize(ToSlot(index), ToSkinSize(size));
}

std::wstring getText(LuaState*, double index)
{
    return Skins().GetSkinText(ToSlot(index));
}

void setText(LuaState*, double index, const std::wstring& text)
{
    Skins().SetSkinText(ToSlot(index), text);
}

uint32_t getImageCount(LuaState*)
{
    return Skins().GetSkinImageCount();
}

bool setImage(LuaState*, const std::wstring& imageId, const std::wstring& textureFile,
              const LuaStackTable& frames, uint32_t frameTime)
{
    return Skins().SetSkinImage(imageId, textureFile, IGraphicsGui::ReadFrameRectangles(frames), frameTime);
}

LuaObject getImage(LuaState* state, const std::wstring& imageId)
{
    const std::wstring file = Skins().GetSkinImage(imageId);
    return EmptyAsNil(state, file);
}

void clearImage(LuaState*, const std::wstring& imageId)
{
    Skins().ClearSkinImage(imageId);
}

void clearAllImages(LuaState*)
{
    Skins().ClearAllSkinImages();
}

void forEachImage(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    Graphics::GUI::CSkinManager& skins = Skins();
    if (!skins.IsSkinInitialised())
        return;
    std::vector<std::wstring> ids;
    if (const auto* images = skins.GetSkinImageIds())
    {
        for (const auto& entry : *images)
            ids.push_back(entry.first);
    }
    ForEachKey(ids, callback, userData);
}

void setGuiAlpha(LuaState*, float alpha, bool relative)
{
    Skins().SetGuiAlpha(alpha, !relative);
}

bool areHighlightsEnabled(LuaState*)
{
    return Skins().AreSkinHighlightsEnabled();
}

void enableHighlights(LuaState*, bool enabled)
{
    Skins().EnableSkinHighlights(enabled);
}

void RegisterISkinFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("activate", &activate);
    table.RegisterHelper("deactivate", &deactivate);
    table.RegisterHelper("isInitialised", &isInitialised);
    table.RegisterHelper("getSkinName", &getSkinName);
    table.RegisterHelper("save", &save);
    table.RegisterHelper("setFont", &setFont);
    table.RegisterHelper("getFont", &getFont);
    table.RegisterHelper("getFontTextureCount", &getFontTextureCount);
    table.RegisterHelper("getFontTextureName", &getFontTextureName);
    table.RegisterHelper("getNumberOfFonts", &getNumberOfFonts);
    table.RegisterHelper("forEachFont", &forEachFont);
    table.RegisterHelper("getColor", &getColor);
    table.RegisterHelper("setColor", &setColor);
    table.RegisterHelper("getSize", &getSize);
    table.RegisterHelper("setSize", &setSize);
    table.RegisterHelper("getText", &getText);
    table.RegisterHelper("setText", &setText);
    table.RegisterHelper("getImageCount", &getImageCount);
    table.RegisterHelper("setImage", &setImage);
    table.RegisterHelper("getImage", &getImage);
    table.RegisterHelper("clearImage", &clearImage);
    table.RegisterHelper("clearAllImages", &clearAllImages);
    table.RegisterHelper("forEachImage", &forEachImage);
    table.RegisterHelper("setGuiAlpha", &setGuiAlpha);
    table.RegisterHelper("areHighlightsEnabled", &areHighlightsEnabled);
    table.RegisterHelper("enableHighlights", &enableHighlights);
}

} // namespace

void RegisterISkin(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "ISkin", {&RegisterISkinFunctions});
}
