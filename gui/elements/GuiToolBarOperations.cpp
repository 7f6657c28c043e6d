#include "gui/elements/GuiToolBarOperations.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Pixels.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/IGuiHost.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <algorithm>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

constexpr s32 kToolbarFirstButtonX = 5;
constexpr s32 kToolbarButtonGap = 3;
constexpr s32 kToolbarButtonTop = 2;

} // namespace

gui::IGUIToolBar* CGuiToolBarOperations::Add(int32_t id, const CRect& pixelRect)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    gui::IGUIToolBar* toolbar = environment->addToolBar(m_manager.GetGuiParent(), id);
    if (toolbar != nullptr && pixelRect.x2 - pixelRect.x1 > 0.000001f &&
        pixelRect.y2 - pixelRect.y1 > 0.000001f)
    {
        m_manager.SetElementRelativeRect(toolbar, ToPixelRect(pixelRect));
    }
    return toolbar;
}

gui::IGUIToolBar* CGuiToolBarOperations::AddNamed(const std::wstring& name, const CRect& rect)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    return Add(id, m_manager.ScreenRectToPixels(rect));
}

int32_t CGuiToolBarOperations::NextButtonX(const gui::IGUIElement* toolbar)
{
    // The library keeps this position to itself: it follows from the
    // buttons the tool bar holds.
    s32 next = kToolbarFirstButtonX;
    if (toolbar == nullptr)
        return next;
    for (const gui::IGUIElement* child : toolbar->getChildren())
    {
        if (child->getType() == gui::EGUIET_BUTTON)
            next = std::max(next, child->getRelativePosition().LowerRightCorner.X);
    }
    return next;
}

gui::IGUIToolBar* CGuiToolBarOperations::CheckedToolBar(gui::IGUIElement* toolbar) const
{
    if (toolbar == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::addToolbarButton] Toolbar not defined.");
    return As<gui::IGUIToolBar>(m_manager, toolbar, L"addToolbarButton");
}

gui::IGUIButton* CGuiToolBarOperations::AddButton(gui::IGUIElement* toolbar, int32_t id,
                                                  const std::wstring& text, const std::wstring& font,
                                                  const std::wstring& image, const std::wstring& pressedImage,
                                                  bool pushButton, bool useAlpha, bool border)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIToolBar* bar = CheckedToolBar(toolbar);
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;

    video::ITexture* texture = nullptr;
    video::ITexture* pressedTexture = nullptr;
    if (m_host != nullptr)
    {
        texture = image.empty() ? nullptr : m_host->GetTexture(image, false);
        pressedTexture = pressedImage.empty() ? nullptr : m_host->GetTexture(pressedImage, false);
    }
    gui::IGUIFont* overrideFont = font.empty() ? nullptr : m_manager.GetFont(font, false);

    const s32 x = NextButtonX(bar) + kToolbarButtonGap;
    core::rect<s32> rect(x, kToolbarButtonTop, x + 1, kToolbarButtonTop + 1);
    if (texture != nullptr)
    {
        const core::dimension2du size = texture->getOriginalSize();
        rect.LowerRightCorner.X = x + static_cast<s32>(std::min<u32>(size.Width, Misc::kPixelLimit)) + 8;
        rect.LowerRightCorner.Y =
            kToolbarButtonTop + static_cast<s32>(std::min<u32>(size.Height, Misc::kPixelLimit)) + 6;
    }
    else
    {
        gui::IGUISkin* skin = environment->getSkin();
        gui::IGUIFont* measure = skin != nullptr ? skin->getFont(gui::EGDF_BUTTON) : nullptr;
        const s32 textWidth =
            measure != nullptr ? static_cast<s32>(measure->getDimension(text.c_str()).Width) : 0;
        rect.LowerRightCorner.X = x + textWidth + 12;
        rect.LowerRightCorner.Y = kToolbarButtonTop + bar->getRelativePosition().getHeight() - 4;
    }

    gui::IGUIButton* button = environment->addButton(rect, bar, id, text.c_str(), nullptr);
    if (button == nullptr)
        return nullptr;
    if (texture != nullptr)
        button->setImage(texture);
    if (pressedTexture != nullptr)
        button->setPressedImage(pressedTexture);
    if (pushButton)
        button->setIsPushButton(true);
    if (useAlpha)
        button->setUseAlphaChannel(true);
    button->setDrawBorder(border);
    button->setOverrideFont(overrideFont);
    return button;
}

gui::IGUIButton* CGuiToolBarOperations::AddButtonNamed(gui::IGUIElement* toolbar, const std::wstring& name,
                                                       const std::wstring& text, const std::wstring& font,
                                                       const std::wstring& image,
                                                       const std::wstring& pressedImage, bool pushButton,
                                                       bool useAlpha, bool border)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    // The tool bar is checked before the name is taken.
    CheckedToolBar(toolbar);
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    return AddButton(toolbar, m_manager.RegisterElementName(name, 0), text, font, image, pressedImage,
                     pushButton, useAlpha, border);
}

} // namespace Graphics::GUI
