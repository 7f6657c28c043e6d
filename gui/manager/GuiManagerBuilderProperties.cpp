// Properties of buttons, static texts, edit boxes, spin boxes and images.
// Scripts name elements without saying their kind, so each operation first
// makes sure the element is of its kind. Settings that the library keeps
// without a getter are read from the element's serialized attributes.

#include "core/events/Events.h"
#include "core/foundation/KVOError.h"
#include "graphics/irrlicht/IrrlichtConversions.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <irrlicht.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;
using IrrlichtGui::CElementAttributes;

namespace
{

constexpr float kNoColorAlpha = 0.000001f;

// The spin box formats its value and reads the text back, and corrects a
// value out of range by setting the end again; a number that does not
// survive that trip (not a number, infinite, beyond what its reading of the
// text can hold) or a format longer than its text buffer would correct
// forever. So its numbers stay within these bounds.
constexpr float kSpinBoxLimit = 1e9f;
constexpr int32_t kSpinBoxMaxDecimals = 8;

float ToSpinBoxNumber(float value)
{
    if (std::isnan(value))
        return 0.0f;
    return std::clamp(value, -kSpinBoxLimit, kSpinBoxLimit);
}

} // namespace

void CGuiManager::SetElementFont(gui::IGUIElement* element, const std::wstring& fontName)
{
    if (element == nullptr)
        return;
    gui::IGUIFont* font = fontName.empty() ? nullptr : GetFont(fontName, false);
    if (element->hasType(gui::EGUIET_BUTTON))
        static_cast<gui::IGUIButton*>(element)->setOverrideFont(font);
    else if (element->hasType(gui::EGUIET_STATIC_TEXT))
        static_cast<gui::IGUIStaticText*>(element)->setOverrideFont(font);
    else if (element->hasType(gui::EGUIET_EDIT_BOX))
        static_cast<gui::IGUIEditBox*>(element)->setOverrideFont(font);
    else
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::SetElementFont] Gui element has no font:%s",
                                             GetElementName(element->getID(), false).c_str());
}

std::optional<std::wstring> CGuiManager::GetElementFontFile(gui::IGUIElement* element)
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
                                             GetElementName(element->getID(), false).c_str());
    if (font == nullptr)
        return std::nullopt;
    // The file of the first key (in key order) that holds the font.
    const std::wstring key = m_parts->skins.GetFontKey(font);
    return key.empty() ? std::wstring() : m_parts->skins.GetFontFilename(key);
}

video::ITexture* CGuiManager::FindTextureFile(const std::wstring& file) const
{
    return m_host != nullptr && !file.empty() ? m_host->GetTexture(file, false) : nullptr;
}

std::wstring CGuiManager::GetTextureFile(video::ITexture* texture) const
{
    return m_host != nullptr ? m_host->GetTextureFilename(texture, false) : std::wstring();
}

// Buttons.

void CGuiManager::SetButtonImage(gui::IGUIElement* element, const std::wstring& file)
{
    As<gui::IGUIButton>(*this, element, L"SetButtonImage")->setImage(FindTextureFile(file));
}

void CGuiManager::SetButtonActiveImage(gui::IGUIElement* element, const std::wstring& file)
{
    As<gui::IGUIButton>(*this, element, L"SetButtonActiveImage")->setPressedImage(FindTextureFile(file));
}

std::wstring CGuiManager::GetButtonImage(gui::IGUIElement* element)
{
    As<gui::IGUIButton>(*this, element, L"GetButtonImage");
    return GetTextureFile(CElementAttributes(m_device, element).Texture("Image"));
}

std::wstring CGuiManager::GetButtonActiveImage(gui::IGUIElement* element)
{
    As<gui::IGUIButton>(*this, element, L"GetButtonActiveImage");
    return GetTextureFile(CElementAttributes(m_device, element).Texture("PressedImage"));
}

void CGuiManager::SetButtonSprite(gui::IGUIElement* element, int32_t state, const std::wstring& spriteName,
                                  bool loop)
{
    gui::IGUIButton* button = As<gui::IGUIButton>(*this, element, L"SetButtonSprite");
    // The button keeps one sprite per state in a fixed array.
    if (state < 0 || state >= gui::EGBS_COUNT)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::SetButtonSprite] Invalid button state:%i",
                                             state);
    const Graphics::Sprite::CGuiKVOSpriteBank& bank = m_parts->sprites.Require(L"SetButtonSprite");
    button->setSprite(static_cast<gui::EGUI_BUTTON_STATE>(state), bank.FindSprite(spriteName),
                      video::SColor(0xFFFFFFFF), loop);
}

bool CGuiManager::IsButtonPressed(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(*this, element, L"IsButtonPressed")->isPressed();
}

void CGuiManager::SetButtonPressed(gui::IGUIElement* element, bool pressed)
{
    As<gui::IGUIButton>(*this, element, L"SetButtonPressed")->setPressed(pressed);
}

bool CGuiManager::IsButtonPushButton(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(*this, element, L"IsButtonPushButton")->isPushButton();
}

void CGuiManager::SetButtonPushButton(gui::IGUIElement* element, bool push)
{
    As<gui::IGUIButton>(*this, element, L"SetButtonPushButton")->setIsPushButton(push);
}

bool CGuiManager::IsButtonAlphaEnabled(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(*this, element, L"IsButtonAlphaEnabled")->isAlphaChannelUsed();
}

void CGuiManager::SetButtonAlphaEnabled(gui::IGUIElement* element, bool alpha)
{
    As<gui::IGUIButton>(*this, element, L"SetButtonAlphaEnabled")->setUseAlphaChannel(alpha);
}

bool CGuiManager::IsButtonBorderEnabled(gui::IGUIElement* element)
{
    return As<gui::IGUIButton>(*this, element, L"IsButtonBorderEnabled")->isDrawingBorder();
}

void CGuiManager::SetButtonBorderEnabled(gui::IGUIElement* element, bool border)
{
    As<gui::IGUIButton>(*this, element, L"SetButtonBorderEnabled")->setDrawBorder(border);
}

// Static texts.

void CGuiManager::SetStaticTextColor(gui::IGUIElement* element, const CColor& color)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(*this, element, L"SetStaticTextColor");
    if (!(color.a > kNoColorAlpha))
    {
        text->enableOverrideColor(false);
        return;
    }
    text->enableOverrideColor(true);
    text->setOverrideColor(ToSColor(color));
}

CColor CGuiManager::GetStaticTextColor(gui::IGUIElement* element)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(*this, element, L"GetStaticTextColor");
    return text->isOverrideColorEnabled() ? FromSColor(text->getOverrideColor()) : CColor();
}

void CGuiManager::SetStaticTextBackgroundColor(gui::IGUIElement* element, const CColor& color)
{
    As<gui::IGUIStaticText>(*this, element, L"SetStaticTextBackgroundColor")
        ->setBackgroundColor(ToSColor(color));
}

CColor CGuiManager::GetStaticTextBackgroundColor(gui::IGUIElement* element)
{
    return FromSColor(
        As<gui::IGUIStaticText>(*this, element, L"GetStaticTextBackgroundColor")->getBackgroundColor());
}

void CGuiManager::SetStaticTextWordWrap(gui::IGUIElement* element, bool wordWrap)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(*this, element, L"SetStaticTextWordWrap");
    text->setWordWrap(wordWrap && IrrlichtGui::CanWrapText(text->getText()));
}

bool CGuiManager::GetStaticTextWordWrap(gui::IGUIElement* element)
{
    return As<gui::IGUIStaticText>(*this, element, L"GetStaticTextWordWrap")->isWordWrapEnabled();
}

void CGuiManager::SetStaticTextBorder(gui::IGUIElement* element, bool border)
{
    As<gui::IGUIStaticText>(*this, element, L"SetStaticTextBorder")->setDrawBorder(border);
}

bool CGuiManager::GetStaticTextBorder(gui::IGUIElement* element)
{
    return As<gui::IGUIStaticText>(*this, element, L"GetStaticTextBorder")->isDrawBorderEnabled();
}

void CGuiManager::SetStaticTextBackground(gui::IGUIElement* element, bool background)
{
    As<gui::IGUIStaticText>(*this, element, L"SetStaticTextBackground")->setDrawBackground(background);
}

bool CGuiManager::GetStaticTextBackground(gui::IGUIElement* element)
{
    return As<gui::IGUIStaticText>(*this, element, L"GetStaticTextBackground")->isDrawBackgroundEnabled();
}

void CGuiManager::SetStaticTextAlignment(gui::IGUIElement* element, int32_t horizontal, int32_t vertical)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(*this, element, L"SetStaticTextAlignment");
    text->setTextAlignment(IrrlichtGui::ToAlignment(horizontal, L"SetStaticTextAlignment"),
                           IrrlichtGui::ToAlignment(vertical, L"SetStaticTextAlignment"));
}

int32_t CGuiManager::GetStaticTextAlignmentHorizontal(gui::IGUIElement* element)
{
    As<gui::IGUIStaticText>(*this, element, L"GetStaticTextAlignmentHorizontal");
    return CElementAttributes(m_device, element).Alignment("HTextAlign");
}

int32_t CGuiManager::GetStaticTextAlignmentVertical(gui::IGUIElement* element)
{
    As<gui::IGUIStaticText>(*this, element, L"GetStaticTextAlignmentVertical");
    return CElementAttributes(m_device, element).Alignment("VTextAlign");
}

float CGuiManager::GetStaticTextWidth(gui::IGUIElement* element)
{
    const int32_t width = As<gui::IGUIStaticText>(*this, element, L"GetStaticTextWidth")->getTextWidth();
    return PixelsToFraction(width, GetScreenWidth());
}

float CGuiManager::GetStaticTextHeight(gui::IGUIElement* element)
{
    const int32_t height = As<gui::IGUIStaticText>(*this, element, L"GetStaticTextHeight")->getTextHeight();
    return PixelsToFraction(height, GetScreenHeight());
}

// Edit boxes.

void CGuiManager::SetEditBoxColor(gui::IGUIElement* element, const CColor& color)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(*this, element, L"SetEditBoxColor");
    if (!(color.a > kNoColorAlpha))
    {
        box->enableOverrideColor(false);
        return;
    }
    box->enableOverrideColor(true);
    box->setOverrideColor(ToSColor(color));
}

CColor CGuiManager::GetEditBoxColor(gui::IGUIElement* element)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(*this, element, L"GetEditBoxColor");
    return box->isOverrideColorEnabled() ? FromSColor(box->getOverrideColor()) : CColor();
}

void CGuiManager::SetEditBoxBorder(gui::IGUIElement* element, bool border)
{
    As<gui::IGUIEditBox>(*this, element, L"SetEditBoxBorder")->setDrawBorder(border);
}

bool CGuiManager::GetEditBoxBorder(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(*this, element, L"GetEditBoxBorder");
    return CElementAttributes(m_device, element).Bool("Border");
}

void CGuiManager::SetEditBoxMaxChars(gui::IGUIElement* element, uint32_t maxChars)
{
    As<gui::IGUIEditBox>(*this, element, L"SetEditBoxMaxChars")->setMax(maxChars);
}

uint32_t CGuiManager::GetEditBoxMaxChars(gui::IGUIElement* element)
{
    return As<gui::IGUIEditBox>(*this, element, L"GetEditBoxMaxChars")->getMax();
}

void CGuiManager::SetEditBoxSelection(gui::IGUIElement* element, int32_t start, int32_t end)
{
    As<gui::IGUIEditBox>(*this, element, L"SetEditBoxSelection");
    // Within the text, so that no reader meets a position past its end.
    const auto length = static_cast<int32_t>(std::min<size_t>(std::wcslen(element->getText()), INT32_MAX));
    m_parts->editSelections[element] =
        SParts::SEditSelection{element->getID(), std::clamp(start, 0, length), std::clamp(end, 0, length)};
}

std::pair<int32_t, int32_t> CGuiManager::GetEditBoxSelection(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(*this, element, L"GetEditBoxSelection");
    const auto found = m_parts->editSelections.find(element);
    if (found == m_parts->editSelections.end())
        return {0, 0};
    if (found->second.id != element->getID())
    {
        m_parts->editSelections.erase(found);
        return {0, 0};
    }
    // The text may have become shorter since.
    const auto length = static_cast<int32_t>(std::min<size_t>(std::wcslen(element->getText()), INT32_MAX));
    return {std::min(found->second.start, length), std::min(found->second.end, length)};
}

void CGuiManager::SetEditBoxPassword(gui::IGUIElement* element, bool password, wchar_t character)
{
    As<gui::IGUIEditBox>(*this, element, L"SetEditBoxPassword")->setPasswordBox(password, character);
}

bool CGuiManager::GetEditBoxPassword(gui::IGUIElement* element)
{
    return As<gui::IGUIEditBox>(*this, element, L"GetEditBoxPassword")->isPasswordBox();
}

void CGuiManager::SetEditBoxAutoScroll(gui::IGUIElement* element, bool autoScroll)
{
    As<gui::IGUIEditBox>(*this, element, L"SetEditBoxAutoScroll")->setAutoScroll(autoScroll);
}

void CGuiManager::SetEditBoxMultiline(gui::IGUIElement* element, bool multiline)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(*this, element, L"SetEditBoxMultiline");
    if (multiline)
        box->setPasswordBox(false, 0);
    box->setMultiLine(multiline);
}

bool CGuiManager::GetEditBoxMultiline(gui::IGUIElement* element)
{
    return As<gui::IGUIEditBox>(*this, element, L"GetEditBoxMultiline")->isMultiLineEnabled();
}

void CGuiManager::SetEditBoxAlignment(gui::IGUIElement* element, int32_t horizontal, int32_t vertical)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(*this, element, L"SetEditBoxAlignment");
    box->setTextAlignment(IrrlichtGui::ToAlignment(horizontal, L"SetEditBoxAlignment"),
                          IrrlichtGui::ToAlignment(vertical, L"SetEditBoxAlignment"));
}

int32_t CGuiManager::GetEditBoxAlignmentHorizontal(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(*this, element, L"GetEditBoxAlignmentHorizontal");
    return CElementAttributes(m_device, element).Alignment("HTextAlign");
}

int32_t CGuiManager::GetEditBoxAlignmentVertical(gui::IGUIElement* element)
{
    As<gui::IGUIEditBox>(*this, element, L"GetEditBoxAlignmentVertical");
    return CElementAttributes(m_device, element).Alignment("VTextAlign");
}

// Spin boxes.

void CGuiManager::SetSpinBoxValue(gui::IGUIElement* element, float value)
{
    As<gui::IGUISpinBox>(*this, element, L"SetSpinBoxValue")->setValue(ToSpinBoxNumber(value));
    // Listeners see a value set here as they see a user's change; whether
    // one handled it does not matter.
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(element->getID(), false), kGuiSpinBoxChanged, 0});
}

float CGuiManager::GetSpinBoxValue(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(*this, element, L"GetSpinBoxValue")->getValue();
}

void CGuiManager::SetSpinBoxRange(gui::IGUIElement* element, float a, float b)
{
    gui::IGUISpinBox* spinBox = As<gui::IGUISpinBox>(*this, element, L"SetSpinBoxRange");
    a = ToSpinBoxNumber(a);
    b = ToSpinBoxNumber(b);
    if (GetSpinBoxDecimals(spinBox) == 0)
    {
        a = std::trunc(a);
        b = std::trunc(b);
    }
    spinBox->setRange(std::min(a, b), std::max(a, b));
}

float CGuiManager::GetSpinBoxMin(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(*this, element, L"GetSpinBoxMin")->getMin();
}

float CGuiManager::GetSpinBoxMax(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(*this, element, L"GetSpinBoxMax")->getMax();
}

void CGuiManager::SetSpinBoxStepSize(gui::IGUIElement* element, float step)
{
    As<gui::IGUISpinBox>(*this, element, L"SetSpinBoxStepSize")->setStepSize(ToSpinBoxNumber(step));
}

float CGuiManager::GetSpinBoxStepSize(gui::IGUIElement* element)
{
    return As<gui::IGUISpinBox>(*this, element, L"GetSpinBoxStepSize")->getStepSize();
}

void CGuiManager::SetSpinBoxDecimals(gui::IGUIElement* element, int32_t decimals)
{
    // The library knows -1 (its default format) and counts from 0 up.
    As<gui::IGUISpinBox>(*this, element, L"SetSpinBoxDecimals")
        ->setDecimalPlaces(decimals < 0 ? -1 : std::min(decimals, kSpinBoxMaxDecimals));
}

int32_t CGuiManager::GetSpinBoxDecimals(gui::IGUIElement* element)
{
    As<gui::IGUISpinBox>(*this, element, L"GetSpinBoxDecimals");
    return CElementAttributes(m_device, element).Int("DecimalPlaces");
}

gui::IGUIButton* CGuiManager::GetSpinBoxButton(gui::IGUISpinBox* spinBox, bool up) const
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

void CGuiManager::SetImageTexture(gui::IGUIElement* element, const std::wstring& file)
{
    gui::IGUIImage* image = As<gui::IGUIImage>(*this, element, L"SetImageTexture");
    image->setImage(m_host != nullptr ? m_host->GetTexture(file, false) : nullptr);
}

std::wstring CGuiManager::GetImageTexture(gui::IGUIElement* element)
{
    return GetTextureFile(As<gui::IGUIImage>(*this, element, L"GetImageTexture")->getImage());
}

void CGuiManager::SetImageAlpha(gui::IGUIElement* element, bool alpha)
{
    As<gui::IGUIImage>(*this, element, L"SetImageAlpha")->setUseAlphaChannel(alpha);
}

bool CGuiManager::GetImageAlpha(gui::IGUIElement* element)
{
    return As<gui::IGUIImage>(*this, element, L"GetImageAlpha")->isAlphaChannelUsed();
}

void CGuiManager::SetImageScale(gui::IGUIElement* element, bool scale)
{
    As<gui::IGUIImage>(*this, element, L"SetImageScale")->setScaleImage(scale);
}

bool CGuiManager::GetImageScale(gui::IGUIElement* element)
{
    return As<gui::IGUIImage>(*this, element, L"GetImageScale")->isImageScaled();
}

} // namespace Graphics::GUI
