// IGraphics: the properties of buttons, edit boxes, static texts, spin
// boxes and images. A control of another kind than the function names is
// refused with "[CGuiManager::<method>] Gui element is not a <kind>:<name>".

#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "gui/elements/GuiElementProperties.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsGuiBuilders.h"

#include <irrlicht.h>

using Graphics::GUI::CGuiElementProperties;
using Graphics::GUI::CGuiManager;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using LuaPlus::Saturating;
using namespace IGraphicsGui;

namespace
{

using TheElementProperties = TheGuiPart<CGuiElementProperties, &CGuiManager::GetElementProperties>;

// Buttons.

bool setButtonImage(LuaState*, const std::wstring& name, const std::wstring& file)
{
    GetGui().SetButtonImage(GetControl(name), file);
    return true;
}

LuaObject getButtonImage(LuaState* state, const std::wstring& name)
{
    const std::wstring file = GetGui().GetButtonImage(GetControl(name));
    return EmptyAsNil(state, file);
}

bool setButtonActiveImage(LuaState*, const std::wstring& name, const std::wstring& file)
{
    GetGui().SetButtonActiveImage(GetControl(name), file);
    return true;
}

LuaObject getButtonActiveImage(LuaState* state, const std::wstring& name)
{
    const std::wstring file = GetGui().GetButtonActiveImage(GetControl(name));
    return EmptyAsNil(state, file);
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
    const std::optional<std::wstring> file =
        GetGui().GetElementProperties().GetElementFontFile(GetControl(name));
    return TextOrNil(state, file ? &*file : nullptr);
}

// "" when the control has no font of its own.
std::wstring getElementFont(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementProperties().GetElementFontFile(GetControl(name)).value_or(std::wstring());
}

bool setButtonBorderEnabled(LuaState*, const std::wstring& name, bool border)
{
    GetGui().GetElementProperties().SetButtonBorderEnabled(GetControl(name), border);
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
    GetGui().GetElementProperties().SetButtonPushButton(GetControl(name), push);
    return true;
}

bool setButtonAlphaEnabled(LuaState*, const std::wstring& name, bool alpha)
{
    GetGui().GetElementProperties().SetButtonAlphaEnabled(GetControl(name), alpha);
    return true;
}

bool setButtonState(LuaState*, const std::wstring& name, bool pressed)
{
    GetGui().GetElementProperties().SetButtonPressed(GetControl(name), pressed);
    return true;
}

// Edit boxes.

bool setEditTextColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().GetElementProperties().SetEditBoxColor(GetControl(name), color);
    return true;
}

bool setEditTextBorder(LuaState*, const std::wstring& name, bool border)
{
    GetGui().GetElementProperties().SetEditBoxBorder(GetControl(name), border);
    return true;
}

bool setEditTextMaxChars(LuaState*, const std::wstring& name, uint32_t maxChars)
{
    GetGui().GetElementProperties().SetEditBoxMaxChars(GetControl(name), maxChars);
    return true;
}

// Positions saturate rather than wrap, so that a huge position lands at the
// end of the text and not at some other place.
bool setEditTextSelection(LuaState*, const std::wstring& name, Saturating<int32_t> start,
                          Saturating<int32_t> end)
{
    GetGui().GetElementProperties().SetEditBoxSelection(GetControl(name), start, end);
    return true;
}

LuaObject getEditTextSelection(LuaState* state, const std::wstring& name)
{
    const std::pair<int32_t, int32_t> selection =
        GetGui().GetElementProperties().GetEditBoxSelection(GetControl(name));
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

bool setEditTextAutoScrollEnabled(LuaState*, const std::wstring& name, bool autoScroll)
{
    GetGui().GetElementProperties().SetEditBoxAutoScroll(GetControl(name), autoScroll);
    return true;
}

bool setEditTextMultilineEnabled(LuaState*, const std::wstring& name, bool multiline)
{
    GetGui().SetEditBoxMultiline(GetControl(name), multiline);
    return true;
}

bool setEditTextAlignment(LuaState*, const std::wstring& name, int32_t horizontal, int32_t vertical)
{
    GetGui().GetElementProperties().SetEditBoxAlignment(GetControl(name), horizontal, vertical);
    return true;
}

// Static texts.

bool setStaticTextColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().SetStaticTextColor(GetControl(name), color);
    return true;
}

bool setStaticTextBackgroundColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().GetElementProperties().SetStaticTextBackgroundColor(GetControl(name), color);
    return true;
}

bool setStaticTextWordWrap(LuaState*, const std::wstring& name, bool wordWrap)
{
    GetGui().GetElementProperties().SetStaticTextWordWrap(GetControl(name), wordWrap);
    return true;
}

bool setStaticTextBorder(LuaState*, const std::wstring& name, bool border)
{
    GetGui().GetElementProperties().SetStaticTextBorder(GetControl(name), border);
    return true;
}

bool setStaticTextBackground(LuaState*, const std::wstring& name, bool background)
{
    GetGui().GetElementProperties().SetStaticTextBackground(GetControl(name), background);
    return true;
}

bool setStaticTextAlignment(LuaState*, const std::wstring& name, int32_t horizontal, int32_t vertical)
{
    GetGui().GetElementProperties().SetStaticTextAlignment(GetControl(name), horizontal, vertical);
    return true;
}

// Spin boxes.

bool setSpinboxValue(LuaState*, const std::wstring& name, float value)
{
    GetGui().SetSpinBoxValue(GetControl(name), value);
    return true;
}

bool setSpinboxStepSize(LuaState*, const std::wstring& name, float step)
{
    GetGui().GetElementProperties().SetSpinBoxStepSize(GetControl(name), step);
    return true;
}

bool setSpinboxDecimals(LuaState*, const std::wstring& name, int32_t decimals)
{
    GetGui().GetElementProperties().SetSpinBoxDecimals(GetControl(name), decimals);
    return true;
}

bool setSpinboxRange(LuaState*, const std::wstring& name, float minimum, float maximum)
{
    GetGui().SetSpinBoxRange(GetControl(name), minimum, maximum);
    return true;
}

// Images.

bool setImageTexture(LuaState*, const std::wstring& name, const std::wstring& file)
{
    GetGui().SetImageTexture(GetControl(name), file);
    return true;
}

bool setImageAlphaEnabled(LuaState*, const std::wstring& name, bool alpha)
{
    GetGui().SetImageAlpha(GetControl(name), alpha);
    return true;
}

bool setImageScaleEnabled(LuaState*, const std::wstring& name, bool scale)
{
    GetGui().SetImageScale(GetControl(name), scale);
    return true;
}

} // namespace

void RegisterIGraphicsGuiBuilderProperties(CScriptMetaTable& table)
{
    table.RegisterMethod<TheElementProperties, Control>("isButtonDown",
                                                        &CGuiElementProperties::IsButtonPressed);
    table.RegisterHelper("setButtonImage", &setButtonImage);
    table.RegisterHelper("getButtonImage", &getButtonImage);
    table.RegisterHelper("setButtonActiveImage", &setButtonActiveImage);
    table.RegisterHelper("getButtonActiveImage", &getButtonActiveImage);
    table.RegisterHelper("setButtonFont", &setElementFont);
    table.RegisterHelper("getButtonFont", &getButtonFont);
    table.RegisterMethod<TheElementProperties, Control>("isButtonBorderEnabled",
                                                        &CGuiElementProperties::IsButtonBorderEnabled);
    table.RegisterHelper("setButtonBorderEnabled", &setButtonBorderEnabled);
    table.RegisterHelper("setButtonSprite", &setButtonSprite);
    table.RegisterHelper("setButtonType", &setButtonType);
    table.RegisterMethod<TheElementProperties, Control>("getButtonType",
                                                        &CGuiElementProperties::IsButtonPushButton);
    table.RegisterHelper("setButtonAlphaEnabled", &setButtonAlphaEnabled);
    table.RegisterMethod<TheElementProperties, Control>("isButtonAlphaEnabled",
                                                        &CGuiElementProperties::IsButtonAlphaEnabled);
    table.RegisterHelper("setButtonState", &setButtonState);

    table.RegisterHelper("setEditTextColor", &setEditTextColor);
    table.RegisterMethod<TheElementProperties, Control>("getEditTextColor",
                                                        &CGuiElementProperties::GetEditBoxColor);
    table.RegisterHelper("setEditTextBorder", &setEditTextBorder);
    table.RegisterMethod<TheElementProperties, Control>("getEditTextBorder",
                                                        &CGuiElementProperties::GetEditBoxBorder);
    table.RegisterHelper("setEditTextFont", &setElementFont);
    table.RegisterHelper("getEditTextFont", &getElementFont);
    table.RegisterHelper("setEditTextMaxChars", &setEditTextMaxChars);
    table.RegisterMethod<TheElementProperties, Control>("getEditTextMaxChars",
                                                        &CGuiElementProperties::GetEditBoxMaxChars);
    table.RegisterHelper("setEditTextSelection", &setEditTextSelection);
    table.RegisterHelper("getEditTextSelection", &getEditTextSelection);
    table.RegisterHelper("setEditTextPasswordEnabled", &setEditTextPasswordEnabled);
    table.RegisterMethod<TheElementProperties, Control>("getEditTextPasswordEnabled",
                                                        &CGuiElementProperties::GetEditBoxPassword);
    table.RegisterHelper("setEditTextAutoScrollEnabled", &setEditTextAutoScrollEnabled);
    table.RegisterHelper("setEditTextMultilineEnabled", &setEditTextMultilineEnabled);
    table.RegisterMethod<TheElementProperties, Control>("getEditTextMultilineEnabled",
                                                        &CGuiElementProperties::GetEditBoxMultiline);
    table.RegisterHelper("setEditTextAlignment", &setEditTextAlignment);
    table.RegisterMethod<TheElementProperties, Control>(
        "getEditTextAlignmentHorizontal", &CGuiElementProperties::GetEditBoxAlignmentHorizontal);
    table.RegisterMethod<TheElementProperties, Control>("getEditTextAlignmentVertical",
                                                        &CGuiElementProperties::GetEditBoxAlignmentVertical);

    table.RegisterHelper("setStaticTextColor", &setStaticTextColor);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextColor",
                                                        &CGuiElementProperties::GetStaticTextColor);
    table.RegisterHelper("setStaticTextBackgroundColor", &setStaticTextBackgroundColor);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextBackgroundColor",
                                                        &CGuiElementProperties::GetStaticTextBackgroundColor);
    table.RegisterHelper("setStaticTextFont", &setElementFont);
    table.RegisterHelper("getStaticTextFont", &getElementFont);
    table.RegisterHelper("setStaticTextWordWrap", &setStaticTextWordWrap);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextWordWrap",
                                                        &CGuiElementProperties::GetStaticTextWordWrap);
    table.RegisterHelper("setStaticTextBorder", &setStaticTextBorder);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextBorder",
                                                        &CGuiElementProperties::GetStaticTextBorder);
    table.RegisterHelper("setStaticTextBackground", &setStaticTextBackground);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextBackground",
                                                        &CGuiElementProperties::GetStaticTextBackground);
    table.RegisterHelper("setStaticTextAlignment", &setStaticTextAlignment);
    table.RegisterMethod<TheElementProperties, Control>(
        "getStaticTextAlignmentHorizontal", &CGuiElementProperties::GetStaticTextAlignmentHorizontal);
    table.RegisterMethod<TheElementProperties, Control>(
        "getStaticTextAlignmentVertical", &CGuiElementProperties::GetStaticTextAlignmentVertical);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextWidth",
                                                        &CGuiElementProperties::GetStaticTextWidth);
    table.RegisterMethod<TheElementProperties, Control>("getStaticTextHeight",
                                                        &CGuiElementProperties::GetStaticTextHeight);

    table.RegisterHelper("setSpinboxValue", &setSpinboxValue);
    table.RegisterMethod<TheElementProperties, Control>("getSpinboxValue",
                                                        &CGuiElementProperties::GetSpinBoxValue);
    table.RegisterHelper("setSpinboxStepSize", &setSpinboxStepSize);
    table.RegisterMethod<TheElementProperties, Control>("getSpinboxStepSize",
                                                        &CGuiElementProperties::GetSpinBoxStepSize);
    table.RegisterHelper("setSpinboxDecimals", &setSpinboxDecimals);
    table.RegisterMethod<TheElementProperties, Control>("getSpinboxDecimals",
                                                        &CGuiElementProperties::GetSpinBoxDecimals);
    table.RegisterHelper("setSpinboxRange", &setSpinboxRange);
    table.RegisterMethod<TheElementProperties, Control>("getSpinboxMinValue",
                                                        &CGuiElementProperties::GetSpinBoxMin);
    table.RegisterMethod<TheElementProperties, Control>("getSpinboxMaxValue",
                                                        &CGuiElementProperties::GetSpinBoxMax);

    table.RegisterHelper("setImageTexture", &setImageTexture);
    table.RegisterMethod<TheElementProperties, Control>("getImageTexture",
                                                        &CGuiElementProperties::GetImageTexture);
    table.RegisterHelper("setImageAlphaEnabled", &setImageAlphaEnabled);
    table.RegisterMethod<TheElementProperties, Control>("getImageAlphaEnabled",
                                                        &CGuiElementProperties::GetImageAlpha);
    table.RegisterHelper("setImageScaleEnabled", &setImageScaleEnabled);
    table.RegisterMethod<TheElementProperties, Control>("getImageScaleEnabled",
                                                        &CGuiElementProperties::GetImageScale);
}
