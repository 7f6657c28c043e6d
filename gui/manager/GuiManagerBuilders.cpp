// The builders of buttons, images, static texts, edit boxes, spin boxes and
// windows: each named creator registers the name and converts the
// rectangle by the screen rule, the creator makes the element under the GUI
// parent and applies the kind's options.

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

// The placeholder shown for an image whose texture cannot be had.
constexpr wchar_t kNullImage[] = L"___NULL_IMAGE___";

} // namespace

gui::IGUIButton* CGuiManager::AddButtonNamed(const std::wstring& name, const std::wstring& text,
                                             const CRect& rect, const std::wstring& font,
                                             const std::wstring& image, const std::wstring& pressedImage,
                                             bool push, bool alpha, bool border)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    // Without an environment nothing is created, and no name is taken.
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddButton(id, text, ScreenRectToPixelRect(rect), font, image, pressedImage, push, alpha, border);
}

gui::IGUIButton* CGuiManager::AddButton(int32_t id, const std::wstring& text, const core::rect<s32>& rect,
                                        const std::wstring& font, const std::wstring& image,
                                        const std::wstring& pressedImage, bool push, bool alpha, bool border)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIButton* button = m_environment->addButton(rect, GetGuiParent(), id, text.c_str(), nullptr);
    if (button == nullptr)
        return nullptr;
    button->setSpriteBank(m_parts->sprites.Get());
    button->setImage(FindTextureFile(image));
    button->setPressedImage(FindTextureFile(pressedImage));
    button->setIsPushButton(push);
    button->setUseAlphaChannel(alpha);
    SetElementFont(button, font);
    button->setDrawBorder(border);
    return button;
}

gui::IGUIImage* CGuiManager::AddImageNamed(const std::wstring& name, const std::wstring& file,
                                           const CRect& rect, bool alpha, bool scale)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr || m_host == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return addImage(id, file, ScreenRectToPixelRect(rect), alpha, scale);
}

gui::IGUIImage* CGuiManager::addImage(int32_t id, const std::wstring& file, const core::rect<s32>& rect,
                                      bool alpha, bool scale)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr || m_host == nullptr)
        return nullptr;
    video::ITexture* texture = m_host->GetTexture(file, false);
    if (texture == nullptr)
    {
        texture = m_host->GetTexture(kNullImage, true);
        if (texture == nullptr)
            throw Misc::Error::CKVOError::Format(L"[CGuiManager::addImage] Image not found '%s'",
                                                 file.c_str());
        // Its first pixel transparent, so that the missing image shows
        // nothing; drivers without pixels (NULL) give no memory.
        if (texture->getColorFormat() == video::ECF_A8R8G8B8)
        {
            void* pixels = texture->lock(video::ETLM_READ_WRITE, 0);
            if (pixels != nullptr)
            {
                *static_cast<u32*>(pixels) = 0;
                texture->unlock();
            }
        }
    }

    gui::IGUIImage* image = nullptr;
    if (rect.LowerRightCorner.X > 0 && rect.LowerRightCorner.Y > 0)
    {
        image = m_environment->addImage(rect, GetGuiParent(), id, nullptr);
        if (image == nullptr)
            return nullptr;
        image->setImage(texture);
        image->setUseAlphaChannel(alpha);
        image->setScaleImage(scale);
    }
    else
    {
        // Only placed: the texture's own size, without scaling.
        image = m_environment->addImage(texture, rect.UpperLeftCorner, alpha, GetGuiParent(), id, nullptr);
    }
    return image;
}

gui::IGUIStaticText* CGuiManager::AddStaticTextNamed(const std::wstring& name, const std::wstring& text,
                                                     const CRect& rect, bool border, bool wordWrap,
                                                     bool background, const CColor& color,
                                                     const std::wstring& font)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddStaticText(id, text, ScreenRectToPixelRect(rect), border, wordWrap, background, color, font);
}

gui::IGUIStaticText* CGuiManager::AddStaticText(int32_t id, const std::wstring& text,
                                                const core::rect<s32>& rect, bool border, bool wordWrap,
                                                bool background, const CColor& color,
                                                const std::wstring& font)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIStaticText* staticText = m_environment->addStaticText(
        text.c_str(), rect, border, wordWrap && IrrlichtGui::CanWrapText(text.c_str()), GetGuiParent(), id,
        background);
    if (staticText == nullptr)
        return nullptr;
    SetStaticTextColor(staticText, color);
    SetElementFont(staticText, font);
    return staticText;
}

gui::IGUIEditBox* CGuiManager::AddEditBoxNamed(const std::wstring& name, const std::wstring& text,
                                               const CRect& rect, bool border, const std::wstring& font,
                                               uint32_t maxChars)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddEditBox(id, text, ScreenRectToPixelRect(rect), border, font, maxChars);
}

gui::IGUIEditBox* CGuiManager::AddEditBox(int32_t id, const std::wstring& text, const core::rect<s32>& rect,
                                          bool border, const std::wstring& font, uint32_t maxChars)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIEditBox* editBox = m_environment->addEditBox(text.c_str(), rect, border, GetGuiParent(), id);
    if (editBox == nullptr)
        return nullptr;
    editBox->setMax(maxChars);
    SetElementFont(editBox, font);
    return editBox;
}

gui::IGUISpinBox* CGuiManager::AddSpinBoxNamed(const std::wstring& name, const std::wstring& text,
                                               const CRect& rect, float minimum, float maximum, float value,
                                               int32_t decimals, const std::wstring& upName,
                                               const std::wstring& downName)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    const int32_t upId = upName.empty() ? 0 : RegisterElementName(upName, IdAfter(id, 2));
    const int32_t downId = downName.empty() ? 0 : RegisterElementName(downName, IdAfter(id, 3));
    return AddSpinBox(id, text, ScreenRectToPixelRect(rect), upId, downId, minimum, maximum, value, decimals);
}

gui::IGUISpinBox* CGuiManager::AddSpinBox(int32_t id, const std::wstring& text, const core::rect<s32>& rect,
                                          int32_t upId, int32_t downId, float minimum, float maximum,
                                          float value, int32_t decimals)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUISpinBox* spinBox = m_environment->addSpinBox(text.c_str(), rect, true, GetGuiParent(), id);
    if (spinBox == nullptr)
        return nullptr;
    // The tab key stops at the inner edit box, which answers to the spin
    // box's id.
    spinBox->setTabStop(false);
    if (gui::IGUIEditBox* editBox = spinBox->getEditBox())
    {
        editBox->setID(id);
        editBox->setTabStop(true);
    }
    if (gui::IGUIButton* up = CGuiElementProperties::GetSpinBoxButton(spinBox, true);
        up != nullptr && upId != 0)
        up->setID(upId);
    if (gui::IGUIButton* down = CGuiElementProperties::GetSpinBoxButton(spinBox, false);
        down != nullptr && downId != 0)
        down->setID(downId);
    SetSpinBoxRange(spinBox, minimum, maximum);
    m_parts->properties.SetSpinBoxDecimals(spinBox, decimals);
    if (text.empty())
        SetSpinBoxValue(spinBox, value);
    return spinBox;
}

gui::IGUIWindow* CGuiManager::AddWindowNamed(const std::wstring& name, gui::IGUIElement* parent,
                                             const std::wstring& caption, const CRect& rect, bool modal,
                                             const std::wstring& closeName, const std::wstring& minimizeName,
                                             const std::wstring& maximizeName)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    const int32_t closeId = closeName.empty() ? 0 : RegisterElementName(closeName, IdAfter(id, 1));
    const int32_t minimizeId = minimizeName.empty() ? 0 : RegisterElementName(minimizeName, IdAfter(id, 2));
    const int32_t maximizeId = maximizeName.empty() ? 0 : RegisterElementName(maximizeName, IdAfter(id, 3));

    gui::IGUIWindow* window = m_environment->addWindow(ScreenRectToPixelRect(rect), modal, caption.c_str(),
                                                       parent != nullptr ? parent : GetGuiParent(), id);
    if (window == nullptr)
        return nullptr;
    if (modal && window->getParent() != nullptr)
    {
        const core::rect<s32> screen(0, 0, static_cast<s32>(GetScreenWidth()),
                                     static_cast<s32>(GetScreenHeight()));
        window->getParent()->setRelativePosition(screen);
    }
    // The library shows only the close button by default.
    const std::pair<gui::IGUIButton*, int32_t> buttons[] = {{window->getCloseButton(), closeId},
                                                            {window->getMinimizeButton(), minimizeId},
                                                            {window->getMaximizeButton(), maximizeId}};
    for (const auto& [button, buttonId] : buttons)
    {
        if (button != nullptr && buttonId != 0)
        {
            button->setVisible(true);
            button->setID(buttonId);
        }
    }
    return window;
}

} // namespace Graphics::GUI
