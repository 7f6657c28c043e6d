// The manager's properties of buttons, static texts, edit boxes, spin boxes
// and images (the others are CGuiElementProperties'). Scripts name elements
// without saying their kind, so each operation first makes sure the element
// is of its kind. Settings that the library keeps without a getter are read
// from the element's serialized attributes.

#include "core/events/Events.h"
#include "core/foundation/KVOError.h"
#include "irrlicht/IrrlichtConversions.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;
using IrrlichtGui::CElementAttributes;

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

// Static texts.

void CGuiManager::SetStaticTextColor(gui::IGUIElement* element, const CColor& color)
{
    gui::IGUIStaticText* text = As<gui::IGUIStaticText>(*this, element, L"SetStaticTextColor");
    if (!(color.a > CGuiElementProperties::kNoColorAlpha))
    {
        text->enableOverrideColor(false);
        return;
    }
    text->enableOverrideColor(true);
    text->setOverrideColor(ToSColor(color));
}

// Edit boxes.

void CGuiManager::SetEditBoxPassword(gui::IGUIElement* element, bool password, wchar_t character)
{
    As<gui::IGUIEditBox>(*this, element, L"SetEditBoxPassword")->setPasswordBox(password, character);
}

void CGuiManager::SetEditBoxMultiline(gui::IGUIElement* element, bool multiline)
{
    gui::IGUIEditBox* box = As<gui::IGUIEditBox>(*this, element, L"SetEditBoxMultiline");
    if (multiline)
        box->setPasswordBox(false, 0);
    box->setMultiLine(multiline);
}

// Spin boxes.

void CGuiManager::SetSpinBoxValue(gui::IGUIElement* element, float value)
{
    As<gui::IGUISpinBox>(*this, element, L"SetSpinBoxValue")
        ->setValue(CGuiElementProperties::ToSpinBoxNumber(value));
    // Listeners see a value set here as they see a user's change; whether
    // one handled it does not matter.
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(element->getID(), false), kGuiSpinBoxChanged, 0});
}

void CGuiManager::SetSpinBoxRange(gui::IGUIElement* element, float a, float b)
{
    gui::IGUISpinBox* spinBox = As<gui::IGUISpinBox>(*this, element, L"SetSpinBoxRange");
    a = CGuiElementProperties::ToSpinBoxNumber(a);
    b = CGuiElementProperties::ToSpinBoxNumber(b);
    if (m_parts->properties.GetSpinBoxDecimals(spinBox) == 0)
    {
        a = std::trunc(a);
        b = std::trunc(b);
    }
    spinBox->setRange(std::min(a, b), std::max(a, b));
}

// Images.

void CGuiManager::SetImageTexture(gui::IGUIElement* element, const std::wstring& file)
{
    gui::IGUIImage* image = As<gui::IGUIImage>(*this, element, L"SetImageTexture");
    image->setImage(m_host != nullptr ? m_host->GetTexture(file, false) : nullptr);
}

void CGuiManager::SetImageAlpha(gui::IGUIElement* element, bool alpha)
{
    As<gui::IGUIImage>(*this, element, L"SetImageAlpha")->setUseAlphaChannel(alpha);
}

void CGuiManager::SetImageScale(gui::IGUIElement* element, bool scale)
{
    As<gui::IGUIImage>(*this, element, L"SetImageScale")->setScaleImage(scale);
}

} // namespace Graphics::GUI
