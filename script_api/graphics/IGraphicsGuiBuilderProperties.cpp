// IGraphics: the properties of buttons, edit boxes, static texts, spin
// boxes and images. A control of another kind than the function names is
// refused with "[CGuiManager::<method>] Gui element is not a <kind>:<name>".

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsGuiBuilders.h"

#include <irrlicht.h>

#include <algorithm>
#include <climits>
#include <cmath>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

// Buttons.

bool isButtonDown(LuaState*, const std::wstring& name)
{
    return GetGui().IsButtonPressed(GetControl(name));
}

bool setButtonImage(LuaState*, const std::wstring& name, const std::wstring& file)
{
    GetGui().SetButtonImage(GetControl(name), file);
    return true;
}

LuaObject getButtonImage(LuaState* state, const std::wstring& name)
{
    const std::wstring file = GetGui().GetButtonImage(GetControl(name));
    return TextOrNil(state, file.empty() ? nullptr : &file);
}

bool setButtonActiveImage(LuaState*, const std::wstring& name, const std::wstring& file)
{
    GetGui().SetButtonActiveImage(GetControl(name), file);
    return true;
}

LuaObject getButtonActiveImage(LuaState* state, const std::wstring& name)
{
    const std::wstring file = GetGui().GetButtonActiveImage(GetControl(name));
    return TextOrNil(state, file.empty() ? nullptr : &file);
}

// Fonts of buttons, edit boxes and static texts (any of the three for each
// function): by font name; the empty name goes back to the skin's font.
bool setElementFont(LuaState*, const std::wstring& name, const std::wstring& font)
{
    GetGui().SetElementFont(GetControl(name), font);
    return true;
}

// Nil when the control has no font of its own.
LuaObject getButtonFont(LuaState* state, const std::wstring& name)
{
    const std::optional<std::wstring> file = GetGui().GetElementFontFile(GetControl(name));
    return TextOrNil(state, file ? &*file : nullptr);
}

// "" when the control has no font of its own.
std::wstring getElementFont(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementFontFile(GetControl(name)).value_or(std::wstring());
}

bool isButtonBorderEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().IsButtonBorderEnabled(GetControl(name));
}

bool setButtonBorderEnabled(LuaState*, const std::wstring& name, bool border)
{
    GetGui().SetButtonBorderEnabled(GetControl(name), border);
    return true;
}

bool setButtonSprite(LuaState*, const std::wstring& name, int32_t state, const std::wstring& sprite,
                     bool loop)
{
    GetGui().SetButtonSprite(GetControl(name), state, sprite, loop);
    return true;
}

bool setButtonType(LuaState*, const std::wstring& name, bool push)
{
    GetGui().SetButtonPushButton(GetControl(name), push);
    return true;
}

bool getButtonType(LuaState*, const std::wstring& name)
{
    return GetGui().IsButtonPushButton(GetControl(name));
}

bool setButtonAlphaEnabled(LuaState*, const std::wstring& name, bool alpha)
{
    GetGui().SetButtonAlphaEnabled(GetControl(name), alpha);
    return true;
}

bool isButtonAlphaEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().IsButtonAlphaEnabled(GetControl(name));
}

bool setButtonState(LuaState*, const std::wstring& name, bool pressed)
{
    GetGui().SetButtonPressed(GetControl(name), pressed);
    return true;
}

// Edit boxes.

bool setEditTextColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().SetEditBoxColor(GetControl(name), color);
    return true;
}

CColor getEditTextColor(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxColor(GetControl(name));
}

bool setEditTextBorder(LuaState*, const std::wstring& name, bool border)
{
    GetGui().SetEditBoxBorder(GetControl(name), border);
    return true;
}

bool getEditTextBorder(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxBorder(GetControl(name));
}

bool setEditTextMaxChars(LuaState*, const std::wstring& name, uint32_t maxChars)
{
    GetGui().SetEditBoxMaxChars(GetControl(name), maxChars);
    return true;
}

uint32_t getEditTextMaxChars(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxMaxChars(GetControl(name));
}

// A position as a whole number, saturated rather than wrapped, so that a
// huge position lands at the end of the text and not at some other place.
int32_t ToPosition(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(
        std::clamp(value, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

bool setEditTextSelection(LuaState*, const std::wstring& name, double start, double end)
{
    GetGui().SetEditBoxSelection(GetControl(name), ToPosition(start), ToPosition(end));
    return true;
}

LuaObject getEditTextSelection(LuaState* state, const std::wstring& name)
{
    const std::pair<int32_t, int32_t> selection = GetGui().GetEditBoxSelection(GetControl(name));
    LuaObject table;
    table.AssignNewTable(state, 0, 2);
    table.Set("selStart", static_cast<lua_Number>(selection.first));
    table.Set("selEnd", static_cast<lua_Number>(selection.second));
    return table;
}

bool setEditTextPasswordEnabled(LuaState*, const std::wstring& name, bool password, const std::wstring& mask)
{
    GetGui().SetEditBoxPassword(GetControl(name), password, mask.empty() ? L'*' : mask[0]);
    return true;
}

bool getEditTextPasswordEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxPassword(GetControl(name));
}

bool setEditTextAutoScrollEnabled(LuaState*, const std::wstring& name, bool autoScroll)
{
    GetGui().SetEditBoxAutoScroll(GetControl(name), autoScroll);
    return true;
}

bool setEditTextMultilineEnabled(LuaState*, const std::wstring& name, bool multiline)
{
    GetGui().SetEditBoxMultiline(GetControl(name), multiline);
    return true;
}

bool getEditTextMultilineEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxMultiline(GetControl(name));
}

bool setEditTextAlignment(LuaState*, const std::wstring& name, int32_t horizontal, int32_t vertical)
{
    GetGui().SetEditBoxAlignment(GetControl(name), horizontal, vertical);
    return true;
}

int32_t getEditTextAlignmentHorizontal(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxAlignmentHorizontal(GetControl(name));
}

int32_t getEditTextAlignmentVertical(LuaState*, const std::wstring& name)
{
    return GetGui().GetEditBoxAlignmentVertical(GetControl(name));
}

// Static texts.

bool setStaticTextColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().SetStaticTextColor(GetControl(name), color);
    return true;
}

CColor getStaticTextColor(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextColor(GetControl(name));
}

bool setStaticTextBackgroundColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().SetStaticTextBackgroundColor(GetControl(name), color);
    return true;
}

CColor getStaticTextBackgroundColor(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextBackgroundColor(GetControl(name));
}

bool setStaticTextWordWrap(LuaState*, const std::wstring& name, bool wordWrap)
{
    GetGui().SetStaticTextWordWrap(GetControl(name), wordWrap);
    return true;
}

bool getStaticTextWordWrap(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextWordWrap(GetControl(name));
}

bool setStaticTextBorder(LuaState*, const std::wstring& name, bool border)
{
    GetGui().SetStaticTextBorder(GetControl(name), border);
    return true;
}

bool getStaticTextBorder(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextBorder(GetControl(name));
}

bool setStaticTextBackground(LuaState*, const std::wstring& name, bool background)
{
    GetGui().SetStaticTextBackground(GetControl(name), background);
    return true;
}

bool getStaticTextBackground(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextBackground(GetControl(name));
}

bool setStaticTextAlignment(LuaState*, const std::wstring& name, int32_t horizontal, int32_t vertical)
{
    GetGui().SetStaticTextAlignment(GetControl(name), horizontal, vertical);
    return true;
}

int32_t getStaticTextAlignmentHorizontal(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextAlignmentHorizontal(GetControl(name));
}

int32_t getStaticTextAlignmentVertical(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextAlignmentVertical(GetControl(name));
}

float getStaticTextWidth(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextWidth(GetControl(name));
}

float getStaticTextHeight(LuaState*, const std::wstring& name)
{
    return GetGui().GetStaticTextHeight(GetControl(name));
}

// Spin boxes.

bool setSpinboxValue(LuaState*, const std::wstring& name, float value)
{
    GetGui().SetSpinBoxValue(GetControl(name), value);
    return true;
}

float getSpinboxValue(LuaState*, const std::wstring& name)
{
    return GetGui().GetSpinBoxValue(GetControl(name));
}

bool setSpinboxStepSize(LuaState*, const std::wstring& name, float step)
{
    GetGui().SetSpinBoxStepSize(GetControl(name), step);
    return true;
}

float getSpinboxStepSize(LuaState*, const std::wstring& name)
{
    return GetGui().GetSpinBoxStepSize(GetControl(name));
}

bool setSpinboxDecimals(LuaState*, const std::wstring& name, int32_t decimals)
{
    GetGui().SetSpinBoxDecimals(GetControl(name), decimals);
    return true;
}

int32_t getSpinboxDecimals(LuaState*, const std::wstring& name)
{
    return GetGui().GetSpinBoxDecimals(GetControl(name));
}

bool setSpinboxRange(LuaState*, const std::wstring& name, float minimum, float maximum)
{
    GetGui().SetSpinBoxRange(GetControl(name), minimum, maximum);
    return true;
}

float getSpinboxMinValue(LuaState*, const std::wstring& name)
{
    return GetGui().GetSpinBoxMin(GetControl(name));
}

float getSpinboxMaxValue(LuaState*, const std::wstring& name)
{
    return GetGui().GetSpinBoxMax(GetControl(name));
}

// Images.

bool setImageTexture(LuaState*, const std::wstring& name, const std::wstring& file)
{
    GetGui().SetImageTexture(GetControl(name), file);
    return true;
}

std::wstring getImageTexture(LuaState*, const std::wstring& name)
{
    return GetGui().GetImageTexture(GetControl(name));
}

bool setImageAlphaEnabled(LuaState*, const std::wstring& name, bool alpha)
{
    GetGui().SetImageAlpha(GetControl(name), alpha);
    return true;
}

bool getImageAlphaEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().GetImageAlpha(GetControl(name));
}

bool setImageScaleEnabled(LuaState*, const std::wstring& name, bool scale)
{
    GetGui().SetImageScale(GetControl(name), scale);
    return true;
}

bool getImageScaleEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().GetImageScale(GetControl(name));
}

} // namespace

void RegisterIGraphicsGuiBuilderProperties(CScriptMetaTable& table)
{
    table.RegisterHelper("isButtonDown", &isButtonDown);
    table.RegisterHelper("setButtonImage", &setButtonImage);
    table.RegisterHelper("getButtonImage", &getButtonImage);
    table.RegisterHelper("setButtonActiveImage", &setButtonActiveImage);
    table.RegisterHelper("getButtonActiveImage", &getButtonActiveImage);
    table.RegisterHelper("setButtonFont", &setElementFont);
    table.RegisterHelper("getButtonFont", &getButtonFont);
    table.RegisterHelper("isButtonBorderEnabled", &isButtonBorderEnabled);
    table.RegisterHelper("setButtonBorderEnabled", &setButtonBorderEnabled);
    table.RegisterHelper("setButtonSprite", &setButtonSprite);
    table.RegisterHelper("setButtonType", &setButtonType);
    table.RegisterHelper("getButtonType", &getButtonType);
    table.RegisterHelper("setButtonAlphaEnabled", &setButtonAlphaEnabled);
    table.RegisterHelper("isButtonAlphaEnabled", &isButtonAlphaEnabled);
    table.RegisterHelper("setButtonState", &setButtonState);

    table.RegisterHelper("setEditTextColor", &setEditTextColor);
    table.RegisterHelper("getEditTextColor", &getEditTextColor);
    table.RegisterHelper("setEditTextBorder", &setEditTextBorder);
    table.RegisterHelper("getEditTextBorder", &getEditTextBorder);
    table.RegisterHelper("setEditTextFont", &setElementFont);
    table.RegisterHelper("getEditTextFont", &getElementFont);
    table.RegisterHelper("setEditTextMaxChars", &setEditTextMaxChars);
    table.RegisterHelper("getEditTextMaxChars", &getEditTextMaxChars);
    table.RegisterHelper("setEditTextSelection", &setEditTextSelection);
    table.RegisterHelper("getEditTextSelection", &getEditTextSelection);
    table.RegisterHelper("setEditTextPasswordEnabled", &setEditTextPasswordEnabled);
    table.RegisterHelper("getEditTextPasswordEnabled", &getEditTextPasswordEnabled);
    table.RegisterHelper("setEditTextAutoScrollEnabled", &setEditTextAutoScrollEnabled);
    table.RegisterHelper("setEditTextMultilineEnabled", &setEditTextMultilineEnabled);
    table.RegisterHelper("getEditTextMultilineEnabled", &getEditTextMultilineEnabled);
    table.RegisterHelper("setEditTextAlignment", &setEditTextAlignment);
    table.RegisterHelper("getEditTextAlignmentHorizontal", &getEditTextAlignmentHorizontal);
    table.RegisterHelper("getEditTextAlignmentVertical", &getEditTextAlignmentVertical);

    table.RegisterHelper("setStaticTextColor", &setStaticTextColor);
    table.RegisterHelper("getStaticTextColor", &getStaticTextColor);
    table.RegisterHelper("setStaticTextBackgroundColor", &setStaticTextBackgroundColor);
    table.RegisterHelper("getStaticTextBackgroundColor", &getStaticTextBackgroundColor);
    table.RegisterHelper("setStaticTextFont", &setElementFont);
    table.RegisterHelper("getStaticTextFont", &getElementFont);
    table.RegisterHelper("setStaticTextWordWrap", &setStaticTextWordWrap);
    table.RegisterHelper("getStaticTextWordWrap", &getStaticTextWordWrap);
    table.RegisterHelper("setStaticTextBorder", &setStaticTextBorder);
    table.RegisterHelper("getStaticTextBorder", &getStaticTextBorder);
    table.RegisterHelper("setStaticTextBackground", &setStaticTextBackground);
    table.RegisterHelper("getStaticTextBackground", &getStaticTextBackground);
    table.RegisterHelper("setStaticTextAlignment", &setStaticTextAlignment);
    table.RegisterHelper("getStaticTextAlignmentHorizontal", &getStaticTextAlignmentHorizontal);
    table.RegisterHelper("getStaticTextAlignmentVertical", &getStaticTextAlignmentVertical);
    table.RegisterHelper("getStaticTextWidth", &getStaticTextWidth);
    table.RegisterHelper("getStaticTextHeight", &getStaticTextHeight);

    table.RegisterHelper("setSpinboxValue", &setSpinboxValue);
    table.RegisterHelper("getSpinboxValue", &getSpinboxValue);
    table.RegisterHelper("setSpinboxStepSize", &setSpinboxStepSize);
    table.RegisterHelper("getSpinboxStepSize", &getSpinboxStepSize);
    table.RegisterHelper("setSpinboxDecimals", &setSpinboxDecimals);
    table.RegisterHelper("getSpinboxDecimals", &getSpinboxDecimals);
    table.RegisterHelper("setSpinboxRange", &setSpinboxRange);
    table.RegisterHelper("getSpinboxMinValue", &getSpinboxMinValue);
    table.RegisterHelper("getSpinboxMaxValue", &getSpinboxMaxValue);

    table.RegisterHelper("setImageTexture", &setImageTexture);
    table.RegisterHelper("getImageTexture", &getImageTexture);
    table.RegisterHelper("setImageAlphaEnabled", &setImageAlphaEnabled);
    table.RegisterHelper("getImageAlphaEnabled", &getImageAlphaEnabled);
    table.RegisterHelper("setImageScaleEnabled", &setImageScaleEnabled);
    table.RegisterHelper("getImageScaleEnabled", &getImageScaleEnabled);
}
