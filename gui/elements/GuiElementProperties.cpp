#include "gui/elements/GuiElementProperties.h"

#include "core/foundation/KVOError.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"
#include "gui/skin/SkinManager.h"

#include <irrlicht.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>

namespace Graphics::GUI
{

using namespace irr;
using IrrlichtGui::CElementAttributes;

namespace
{

// The spin box formats its value and reads the text back, and corrects a
// value out of range by setting the end again; a number that does not
// survive that trip (not a number, infinite, beyond what its reading of the
// text can hold) or a format longer than its text buffer would correct
// forever. So its numbers stay within these bounds.
constexpr float kSpinBoxLimit = 1e9f;
constexpr int32_t kSpinBoxMaxDecimals = 8;

} // namespace

float CGuiElementProperties::ToSpinBoxNumber(float value)
{
    if (std::isnan(value))
        return 0.0f;
    return std::clamp(value, -kSpinBoxLimit, kSpinBoxLimit);
}

std::optional<std::wstring> CGuiElementProperties::GetElementFontFile(gui::IGUIElement* element)
{
    gui::IGUIFont* font = nullptr;
    if (element == nullptr)
        return std::nullopt;
    if (element->hasType(gui::EGUIET_BUTTON))
        font = static_cast<gui::IGUIButton*>(element)->getOverrideFont();
    else if (element->hasType(gui::EGUIET_STATIC_TEXT))
        font = static_cast<gui::IGUIStaticText*>(element)->getOverrideFont();
    else if (element->hasType(gui::EGUIET_EDIT_BOX))
        font = static_cast<gui::IGUIEditBox*>(element)->getOverrideFont();
    else
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElementFontFile] Gui element has no font:%s",
                                             m_manager.GetElementName(element->getID(), false).c_str());
    if (font == nullptr)
        return std::nullopt;
    // The file of the first key (in key order) that holds the font.
    const std::wstring key = m_manager.GetSkins().GetFontKey(font);
    return key.empty() ? std::wstring() : m_manager.GetSkins().GetFontFilename(key);
}

// Buttons.

bool CGuiElementProperties::IsButtonPressed(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(m_manager, element, L"IsButtonPressed")->isPressed();
}

void CGuiElementProperties::SetButtonPressed(gui::IGUIElement* element, bool pressed)
{
    As<gui::IGUIButton>(m_manager, element, L"SetButtonPressed")->setPressed(pressed);
}

bool CGuiElementProperties::IsButtonPushButton(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(m_manager, element, L"IsButtonPushButton")->isPushButton();
}

void CGuiElementProperties::SetButtonPushButton(gui::IGUIElement* element, bool push)
{
    As<gui::IGUIButton>(m_manager, element, L"SetButtonPushButton")->setIsPushButton(push);
}

bool CGuiElementProperties::IsButtonAlphaEnabled(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(m_manager, element, L"IsButtonAlphaEnabled")->isAlphaChannelUsed();
}

void CGuiElementProperties::SetButtonAlphaEnabled(gui::IGUIElement* element, bool alpha)
{
    As<gui::IGUIButton>(m_manager, element, L"SetButtonAlphaEnabled")->setUseAlphaChannel(alpha);
}

bool CGuiElementProperties::IsButtonBorderEnabled(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(m_manager, element, L"IsButtonBorderEnabled")->isDrawingBorder();
}

void CGuiElementProperties::SetButtonBorderEnabled(gui::IGUIElement* element, bool border)
{
    As<gui::IGUIButton>(m_manager, element, L"SetButtonBorderEnabled")->setDrawBorder(border);
}

// Check boxes.

bool CGuiElementProperties::IsCheckBoxChecked(gui::IGUIElement* element) const
{
    return As<gui::IGUICheckBox>(m_manager, element, L"IsCheckBoxChecked")->isChecked();
}

// Static texts.

CColor CGuiElementProperties::GetStaticTextColor(gui::IGUIElement* element)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextColor");
    return text->isOverrideColorEnabled() ? FromSColor(text->getOverrideColor()) : CColor();
}

void CGuiElementProperties::SetStaticTextBackgroundColor(gui::IGUIElement* element, const CColor& color)
{
    As<gui::IGUIStaticText>(m_manager, element, L"SetStaticTextBackgroundColor")
        ->setBackgroundColor(ToSColor(color));
}

CColor CGuiElementProperties::GetStaticTextBackgroundColor(gui::IGUIElement* element)
{
    return FromSColor(
        As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextBackgroundColor")->getBackgroundColor());
}

void CGuiElementProperties::SetStaticTextWordWrap(gui::IGUIElement* element, bool wordWrap)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(m_manager, element, L"SetStaticTextWordWrap");
    text->setWordWrap(wordWrap && IrrlichtGui::CanWrapText(text->getText()));
}

bool CGuiElementProperties::GetStaticTextWordWrap(gui::IGUIElement* element)
{
    return As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextWordWrap")->isWordWrapEnabled();
}

void CGuiElementProperties::SetStaticTextBorder(gui::IGUIElement* element, bool border)
{
    As<gui::IGUIStaticText>(m_manager, element, L"SetStaticTextBorder")->setDrawBorder(border);
}

bool CGuiElementProperties::GetStaticTextBorder(gui::IGUIElement* element)
{
    return As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextBorder")->isDrawBorderEnabled();
}

void CGuiElementProperties::SetStaticTextBackground(gui::IGUIElement* element, bool background)
{
    As<gui::IGUIStaticText>(m_manager, element, L"SetStaticTextBackground")->setDrawBackground(background);
}

bool CGuiElementProperties::GetStaticTextBackground(gui::IGUIElement* element)
{
    return As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextBackground")->isDrawBackgroundEnabled();
}

void CGuiElementProperties::SetStaticTextAlignment(gui::IGUIElement* element, int32_t horizontal,
                                                   int32_t vertical)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(m_manager, element, L"SetStaticTextAlignment");
    text->setTextAlignment(IrrlichtGui::ToAlignment(horizontal, L"SetStaticTextAlignment"),
                           IrrlichtGui::ToAlignment(vertical, L"SetStaticTextAlignment"));
}

int32_t CGuiElementProperties::GetStaticTextAlignmentHorizontal(gui::IGUIElement* element)
{
    As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextAlignmentHorizontal");
    return CElementAttributes(m_manager.GetDevice(), element).Alignment("HTextAlign");
}

int32_t CGuiElementProperties::GetStaticTextAlignmentVertical(gui::IGUIElement* element)
{
    As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextAlignmentVertical");
    return CElementAttributes(m_manager.GetDevice(), element).Alignment("VTextAlign");
}

float CGuiElementProperties::GetStaticTextWidth(gui::IGUIElement* element)
{
    const int32_t width = As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextWidth")->getTextWidth();
    return PixelsToFraction(width, m_manager.GetScreenWidth());
}

float CGuiElementProperties::GetStaticTextHeight(gui::IGUIElement* element)
{
    const int32_t height =
        As<gui::IGUIStaticText>(m_manager, element, L"GetStaticTextHeight")->getTextHeight();
    return PixelsToFraction(height, m_manager.GetScreenHeight());
}

// Edit boxes.

void CGuiElementProperties::SetEditBoxColor(gui::IGUIElement* element, const CColor& color)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(m_manager, element, L"SetEditBoxColor");
    if (!(color.a > kNoColorAlpha))
    {
        box->enableOverrideColor(false);
        return;
    }
    box->enableOverrideColor(true);
    box->setOverrideColor(ToSColor(color));
}

CColor CGuiElementProperties::GetEditBoxColor(gui::IGUIElement* element)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxColor");
    return box->isOverrideColorEnabled() ? FromSColor(box->getOverrideColor()) : CColor();
}

void CGuiElementProperties::SetEditBoxBorder(gui::IGUIElement* element, bool border)
{
    As<gui::IGUIEditBox>(m_manager, element, L"SetEditBoxBorder")->setDrawBorder(border);
}

bool CGuiElementProperties::GetEditBoxBorder(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxBorder");
    return CElementAttributes(m_manager.GetDevice(), element).Bool("Border");
}

void CGuiElementProperties::SetEditBoxMaxChars(gui::IGUIElement* element, uint32_t maxChars)
{
    As<gui::IGUIEditBox>(m_manager, element, L"SetEditBoxMaxChars")->setMax(maxChars);
}

uint32_t CGuiElementProperties::GetEditBoxMaxChars(gui::IGUIElement* element)
{
    return As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxMaxChars")->getMax();
}

void CGuiElementProperties::SetEditBoxSelection(gui::IGUIElement* element, int32_t start, int32_t end)
{
    As<gui::IGUIEditBox>(m_manager, element, L"SetEditBoxSelection");
    // Within the text, so that no reader meets a position past its end.
    const auto length = static_cast<int32_t>(std::min<size_t>(std::wcslen(element->getText()), INT32_MAX));
    m_editSelections[element] =
        SEditSelection{element->getID(), std::clamp(start, 0, length), std::clamp(end, 0, length)};
}

std::pair<int32_t, int32_t> CGuiElementProperties::GetEditBoxSelection(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxSelection");
    const auto found = m_editSelections.find(element);
    if (found == m_editSelections.end())
        return {0, 0};
    if (found->second.id != element->getID())
    {
        m_editSelections.erase(found);
        return {0, 0};
    }
    // The text may have become shorter since.
    const auto length = static_cast<int32_t>(std::min<size_t>(std::wcslen(element->getText()), INT32_MAX));
    return {std::min(found->second.start, length), std::min(found->second.end, length)};
}

bool CGuiElementProperties::GetEditBoxPassword(gui::IGUIElement* element)
{
    return As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxPassword")->isPasswordBox();
}

void CGuiElementProperties::SetEditBoxAutoScroll(gui::IGUIElement* element, bool autoScroll)
{
    As<gui::IGUIEditBox>(m_manager, element, L"SetEditBoxAutoScroll")->setAutoScroll(autoScroll);
}

bool CGuiElementProperties::GetEditBoxMultiline(gui::IGUIElement* element)
{
    return As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxMultiline")->isMultiLineEnabled();
}

void CGuiElementProperties::SetEditBoxAlignment(gui::IGUIElement* element, int32_t horizontal,
                                                int32_t vertical)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(m_manager, element, L"SetEditBoxAlignment");
    box->setTextAlignment(IrrlichtGui::ToAlignment(horizontal, L"SetEditBoxAlignment"),
                          IrrlichtGui::ToAlignment(vertical, L"SetEditBoxAlignment"));
}

int32_t CGuiElementProperties::GetEditBoxAlignmentHorizontal(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxAlignmentHorizontal");
    return CElementAttributes(m_manager.GetDevice(), element).Alignment("HTextAlign");
}

int32_t CGuiElementProperties::GetEditBoxAlignmentVertical(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(m_manager, element, L"GetEditBoxAlignmentVertical");
    return CElementAttributes(m_manager.GetDevice(), element).Alignment("VTextAlign");
}

void CGuiElementProperties::ForgetEditBoxSelection(gui::IGUIElement* element)
{
    m_editSelections.erase(element);
}

void CGuiElementProperties::ClearEditBoxSelections()
{
    m_editSelections.clear();
}

// Spin boxes.

float CGuiElementProperties::GetSpinBoxValue(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(m_manager, element, L"GetSpinBoxValue")->getValue();
}

float CGuiElementProperties::GetSpinBoxMin(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(m_manager, element, L"GetSpinBoxMin")->getMin();
}

float CGuiElementProperties::GetSpinBoxMax(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(m_manager, element, L"GetSpinBoxMax")->getMax();
}

void CGuiElementProperties::SetSpinBoxStepSize(gui::IGUIElement* element, float step)
{
    As<gui::IGUISpinBox>(m_manager, element, L"SetSpinBoxStepSize")->setStepSize(ToSpinBoxNumber(step));
}

float CGuiElementProperties::GetSpinBoxStepSize(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(m_manager, element, L"GetSpinBoxStepSize")->getStepSize();
}

void CGuiElementProperties::SetSpinBoxDecimals(gui::IGUIElement* element, int32_t decimals)
{
    // The library knows -1 (its default format) and counts from 0 up.
    As<gui::IGUISpinBox>(m_manager, element, L"SetSpinBoxDecimals")
        ->setDecimalPlaces(decimals < 0 ? -1 : std::min(decimals, kSpinBoxMaxDecimals));
}

int32_t CGuiElementProperties::GetSpinBoxDecimals(gui::IGUIElement* element)
{
    As<gui::IGUISpinBox>(m_manager, element, L"GetSpinBoxDecimals");
    return CElementAttributes(m_manager.GetDevice(), element).Int("DecimalPlaces");
}

gui::IGUIButton* CGuiElementProperties::GetSpinBoxButton(gui::IGUISpinBox* spinBox, bool up)
{
    // The library keeps its two buttons to itself: they are the spin box's
    // button children, the up button above the down button.
    gui::IGUIButton* upper = nullptr;
    gui::IGUIButton* lower = nullptr;
    for (gui::IGUIElement* child : spinBox->getChildren())
    {
        if (!child->hasType(gui::EGUIET_BUTTON))
            continue;
        auto* button = static_cast<gui::IGUIButton*>(child);
        if (upper == nullptr ||
            button->getRelativePosition().UpperLeftCorner.Y < upper->getRelativePosition().UpperLeftCorner.Y)
        {
            lower = upper;
            upper = button;
        }
        else
        {
            lower = button;
        }
    }
    return up ? upper : lower;
}

// Images.

std::wstring CGuiElementProperties::GetImageTexture(gui::IGUIElement* element)
{
    return m_manager.GetTextureFile(As<gui::IGUIImage>(m_manager, element, L"GetImageTexture")->getImage());
}

bool CGuiElementProperties::GetImageAlpha(gui::IGUIElement* element)
{
    return As<gui::IGUIImage>(m_manager, element, L"GetImageAlpha")->isAlphaChannelUsed();
}

bool CGuiElementProperties::GetImageScale(gui::IGUIElement* element)
{
    return As<gui::IGUIImage>(m_manager, element, L"GetImageScale")->isImageScaled();
}

} // namespace Graphics::GUI
