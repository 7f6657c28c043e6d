// Menu bars, context menus with their items and sub-menus, and tool bars
// with their buttons. Menu items are found by the names registered for
// their command ids; menus are sized by the manager after every change.

#include "core/foundation/KVOError.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <algorithm>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

constexpr s32 kSeparatorHeight = 10;
constexpr s32 kMenuTopHeight = 10;
constexpr s32 kMenuTextExtraWidth = 40;
// A sub-menu that opens on its parent's left side overlaps it by this much.
constexpr s32 kSubMenuOverlap = 10;
// The library places a sub-menu of a context menu this far inside its
// parent's right edge.
constexpr s32 kSubMenuInset = 5;

constexpr s32 kToolbarFirstButtonX = 5;
constexpr s32 kToolbarButtonGap = 3;
constexpr s32 kToolbarButtonTop = 2;

bool IsMenu(const gui::IGUIElement* element)
{
    return element != nullptr &&
           (element->getType() == gui::EGUIET_MENU || element->getType() == gui::EGUIET_CONTEXT_MENU);
}

// The new item is appended; a position within the items there were before
// moves it there.
u32 PlaceItem(gui::IGUIContextMenu* menu, const wchar_t* text, int32_t id, bool enabled, bool hasSubMenu,
              bool checked, int32_t position)
{
    const u32 count = menu->getItemCount();
    if (position >= 0 && static_cast<u32>(position) < count)
        return menu->insertItem(static_cast<u32>(position), text, id, enabled, hasSubMenu, checked);
    return menu->addItem(text, id, enabled, hasSubMenu, checked);
}

std::wstring TextOf(const wchar_t* text)
{
    return text != nullptr ? std::wstring(text) : std::wstring();
}

} // namespace

gui::IGUIContextMenu* CGuiManager::AddMenu(int32_t id)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIContextMenu* menu = m_environment->addMenu(GetGuiParent(), id);
    RecalculateMenuSize(menu);
    return menu;
}

gui::IGUIContextMenu* CGuiManager::AddMenuNamed(const std::wstring& name)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    return AddMenu(RegisterElementName(name, 0));
}

gui::IGUIContextMenu* CGuiManager::AddContextMenu(int32_t id, const CRect& pixelRect)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIContextMenu* menu = m_environment->addContextMenu(ToPixelRect(pixelRect), GetGuiParent(), id);
    RecalculateMenuSize(menu);
    return menu;
}

gui::IGUIContextMenu* CGuiManager::AddContextMenuNamed(const std::wstring& name, const CRect& rect)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddContextMenu(id, ScreenRectToPixels(rect));
}

gui::IGUIContextMenu* CGuiManager::addSubMenu(gui::IGUIElement* menu, const std::wstring& text, int32_t id,
                                              bool enabled, int32_t position)
{
    const CGuiEventQueue::CHold events(m_events);
    if (menu == nullptr)
        throw Misc::Error::CKVOError(L"CGuiManager::addSubMenu] Parent context menu is not defined.");
    gui::IGUIContextMenu* parent = As<gui::IGUIContextMenu>(*this, menu, L"addSubMenu");
    const u32 index = PlaceItem(parent, text.c_str(), id, enabled, true, false, position);
    gui::IGUIContextMenu* subMenu = parent->getSubMenu(index);
    if (subMenu != nullptr)
    {
        subMenu->setID(id);
        subMenu->setText(text.c_str());
        subMenu->setEnabled(enabled);
        // Part of its menu: walks and removals of children pass it by.
        subMenu->setSubElement(true);
    }
    RecalculateMenuSize(parent);
    return subMenu;
}

gui::IGUIContextMenu* CGuiManager::AddSubMenuNamed(gui::IGUIElement* menu, const std::wstring& name,
                                                   const std::wstring& text, bool enabled, int32_t position)
{
    const CGuiEventQueue::CHold events(m_events);
    if (menu == nullptr)
        throw Misc::Error::CKVOError(L"CGuiManager::addSubMenu] Parent context menu is not defined.");
    As<gui::IGUIContextMenu>(*this, menu, L"addSubMenu");
    return addSubMenu(menu, text, RegisterElementName(name, 0), enabled, position);
}

bool CGuiManager::addMenuItem(gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                              bool checked, int32_t position)
{
    if (menu == nullptr)
        throw Misc::Error::CKVOError(L"CGuiManager::addMenuItem] Parent context menu is not defined.");
    gui::IGUIContextMenu* parent = As<gui::IGUIContextMenu>(*this, menu, L"addMenuItem");
    // An item without text is a separator.
    if (text.empty())
        PlaceItem(parent, nullptr, id, enabled, false, false, position);
    else
        PlaceItem(parent, text.c_str(), id, enabled, false, checked, position);
    RecalculateMenuSize(parent);
    return true;
}

bool CGuiManager::AddMenuItem(gui::IGUIElement* menu, const std::wstring& name, const std::wstring& text,
                              bool enabled, bool checked, int32_t position)
{
    // The menu is checked before the name is taken.
    if (menu == nullptr)
        throw Misc::Error::CKVOError(L"CGuiManager::addMenuItem] Parent context menu is not defined.");
    As<gui::IGUIContextMenu>(*this, menu, L"addMenuItem");
    return addMenuItem(menu, text, RegisterElementName(name, 0), enabled, checked, position);
}

bool CGuiManager::AddMenuSeparator(gui::IGUIElement* menu, const std::wstring& name, int32_t position)
{
    return AddMenuItem(menu, name, std::wstring(), true, false, position);
}

bool CGuiManager::FindMenuItem(gui::IGUIElement* element, int32_t commandId, SMenuItem& item)
{
    for (; element != nullptr; element = element->getParent())
    {
        if (!IsMenu(element))
            continue;
        auto* menu = static_cast<gui::IGUIContextMenu*>(element);
        for (u32 index = 0; index < menu->getItemCount(); ++index)
        {
            if (menu->getItemCommandId(index) == commandId)
            {
                item.menu = menu;
                item.index = index;
                return true;
            }
        }
    }
    return false;
}

CGuiManager::SMenuItem CGuiManager::GetMenuItem(const std::wstring& name)
{
    gui::IGUIElement* element = GetElement(name, true);
    const int32_t id = GetElementId(name, true);
    SMenuItem item;
    if (!FindMenuItem(element, id, item))
        throw Misc::Error::CKVOError::Format(L"Menu item not found:%s", name.c_str());
    return item;
}

bool CGuiManager::IsMenuItemEnabled(const std::wstring& name)
{
    const SMenuItem item = GetMenuItem(name);
    return item.menu->isItemEnabled(item.index);
}

void CGuiManager::SetMenuItemEnabled(const std::wstring& name, bool enabled)
{
    const SMenuItem item = GetMenuItem(name);
    item.menu->setItemEnabled(item.index, enabled);
    if (gui::IGUIContextMenu* subMenu = item.menu->getSubMenu(item.index))
        subMenu->setEnabled(enabled);
}

bool CGuiManager::IsMenuItemChecked(const std::wstring& name)
{
    const SMenuItem item = GetMenuItem(name);
    return item.menu->isItemChecked(item.index);
}

void CGuiManager::SetMenuItemChecked(const std::wstring& name, bool checked)
{
    const SMenuItem item = GetMenuItem(name);
    item.menu->setItemChecked(item.index, checked);
}

std::wstring CGuiManager::GetMenuItemLabel(const std::wstring& name)
{
    const SMenuItem item = GetMenuItem(name);
    return TextOf(item.menu->getItemText(item.index));
}

void CGuiManager::SetMenuItemLabel(const std::wstring& name, const std::wstring& text)
{
    const SMenuItem item = GetMenuItem(name);
    item.menu->setItemText(item.index, text.c_str());
    if (gui::IGUIContextMenu* subMenu = item.menu->getSubMenu(item.index))
        subMenu->setText(text.c_str());
    RecalculateMenuSize(item.menu);
}

bool CGuiManager::HasMenuItemSubMenu(const std::wstring& name)
{
    const SMenuItem item = GetMenuItem(name);
    return item.menu->getSubMenu(item.index) != nullptr;
}

uint32_t CGuiManager::GetMenuItemCount(gui::IGUIElement* menu)
{
    return As<gui::IGUIContextMenu>(*this, menu, L"GetMenuItemCount")->getItemCount();
}

std::wstring CGuiManager::GetMenuItemName(gui::IGUIElement* menu, int32_t index)
{
    gui::IGUIContextMenu* items = As<gui::IGUIContextMenu>(*this, menu, L"GetMenuItemName");
    if (index < 0 || static_cast<u32>(index) >= items->getItemCount())
        return std::wstring();
    return GetElementName(items->getItemCommandId(static_cast<u32>(index)), false);
}

void CGuiManager::ClearMenu(gui::IGUIElement* menu)
{
    gui::IGUIContextMenu* items = As<gui::IGUIContextMenu>(*this, menu, L"ClearMenu");
    CGuiElementHold hold(items);
    RemoveChildren(items);
    // Removing the items one by one takes their sub-menus out of the GUI
    // too; the library's own clear would leave them behind, hidden.
    while (items->getItemCount() > 0)
        RemoveMenuItemAt(items, items->getItemCount() - 1);
    RecalculateMenuSize(items);
}

void CGuiManager::ForgetMenuItemNames(gui::IGUIContextMenu* menu)
{
    for (u32 index = 0; index < menu->getItemCount(); ++index)
    {
        const int32_t id = menu->getItemCommandId(index);
        if (const std::wstring* name = FindElementName(id))
        {
            m_shortcuts.Remove(*name);
            RemoveElementName(id);
        }
        if (gui::IGUIContextMenu* subMenu = menu->getSubMenu(index))
            ForgetMenuItemNames(subMenu);
    }
}

void CGuiManager::RemoveMenuItemAt(gui::IGUIContextMenu* menu, uint32_t index)
{
    const int32_t id = menu->getItemCommandId(index);
    gui::IGUIContextMenu* subMenu = menu->getSubMenu(index);
    if (subMenu != nullptr)
    {
        ForgetMenuItemNames(subMenu);
        // The library lets go of the item's sub-menu but keeps it as a
        // hidden child; it leaves the GUI with its item.
        CGuiElementHold hold(subMenu);
        gui::IGUIElement* focus = m_environment != nullptr ? m_environment->getFocus() : nullptr;
        if (focus != nullptr && (focus == subMenu || subMenu->isMyChild(focus)))
            m_environment->removeFocus(focus);
        menu->removeItem(index);
        subMenu->remove();
    }
    else
    {
        menu->removeItem(index);
    }
    if (const std::wstring* name = FindElementName(id))
    {
        m_shortcuts.Remove(*name);
        RemoveElementName(id);
    }
}

gui::IGUIFont* CGuiManager::GetMenuFont() const
{
    gui::IGUISkin* skin = m_environment != nullptr ? m_environment->getSkin() : nullptr;
    return skin != nullptr ? skin->getFont(gui::EGDF_MENU) : nullptr;
}

void CGuiManager::RecalculateMenuSize(gui::IGUIContextMenu* menu)
{
    if (menu == nullptr || m_menuSizingHeld)
        return;
    gui::IGUIFont* font = GetMenuFont();
    if (font == nullptr)
        return;
    core::rect<s32> rect = menu->getRelativePosition();
    gui::IGUIElement* parent = menu->getParent();
    const bool parentIsContextMenu = parent != nullptr && parent->getType() == gui::EGUIET_CONTEXT_MENU;
    // The library flips a sub-menu that would leave the screen to touch its
    // parent's left edge; ours starts on the right side, and the rule below
    // decides.
    if (parentIsContextMenu && menu->isSubElement())
    {
        const s32 width = rect.getWidth();
        rect.UpperLeftCorner.X = parent->getRelativePosition().getWidth() - kSubMenuInset;
        rect.LowerRightCorner.X = rect.UpperLeftCorner.X + width;
    }

    s32 width = rect.getWidth();
    s32 height = kMenuTopHeight;
    for (u32 index = 0; index < menu->getItemCount(); ++index)
    {
        const std::wstring text = TextOf(menu->getItemText(index));
        if (text.empty())
        {
            height += kSeparatorHeight;
            continue;
        }
        const core::dimension2du size = font->getDimension(text.c_str());
        height += static_cast<s32>(size.Height);
        width = std::max(width, static_cast<s32>(size.Width) + kMenuTextExtraWidth);
    }
    rect.LowerRightCorner.X = rect.UpperLeftCorner.X + width;
    if (menu->getType() == gui::EGUIET_CONTEXT_MENU)
        rect.LowerRightCorner.Y = rect.UpperLeftCorner.Y + height;

    // Keep it on the screen.
    const core::position2di origin =
        parent != nullptr ? parent->getAbsolutePosition().UpperLeftCorner : core::position2di(0, 0);
    const s32 screenWidth = static_cast<s32>(GetScreenWidth());
    const s32 screenHeight = static_cast<s32>(GetScreenHeight());
    const s32 bottom = origin.Y + rect.LowerRightCorner.Y;
    if (bottom > screenHeight)
        rect -= core::position2di(0, bottom - screenHeight);
    const s32 right = origin.X + rect.LowerRightCorner.X;
    if (right > screenWidth)
    {
        // A sub-menu of a context menu opens on its parent's left side.
        const s32 shift = parentIsContextMenu
                              ? parent->getRelativePosition().getWidth() + rect.getWidth() - kSubMenuOverlap
                              : right - screenWidth;
        rect -= core::position2di(shift, 0);
    }
    SetElementRelativeRect(menu, rect);

    for (u32 index = 0; index < menu->getItemCount(); ++index)
        RecalculateMenuSize(menu->getSubMenu(index));
}

gui::IGUIToolBar* CGuiManager::AddToolbar(int32_t id, const CRect& pixelRect)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIToolBar* toolbar = m_environment->addToolBar(GetGuiParent(), id);
    if (toolbar != nullptr && pixelRect.x2 - pixelRect.x1 > 0.000001f &&
        pixelRect.y2 - pixelRect.y1 > 0.000001f)
    {
        SetElementRelativeRect(toolbar, ToPixelRect(pixelRect));
    }
    return toolbar;
}

gui::IGUIToolBar* CGuiManager::AddToolbarNamed(const std::wstring& name, const CRect& rect)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddToolbar(id, ScreenRectToPixels(rect));
}

int32_t CGuiManager::GetToolbarNextButtonX(gui::IGUIElement* toolbar) const
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

gui::IGUIButton* CGuiManager::addToolbarButton(gui::IGUIElement* toolbar, int32_t id,
                                               const std::wstring& text, const std::wstring& font,
                                               const std::wstring& image, const std::wstring& pressedImage,
                                               bool pushButton, bool useAlpha, bool border)
{
    const CGuiEventQueue::CHold events(m_events);
    if (toolbar == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::addToolbarButton] Toolbar not defined.");
    gui::IGUIToolBar* bar = As<gui::IGUIToolBar>(*this, toolbar, L"addToolbarButton");
    if (m_environment == nullptr)
        return nullptr;

    video::ITexture* texture = nullptr;
    video::ITexture* pressedTexture = nullptr;
    if (m_host != nullptr)
    {
        texture = image.empty() ? nullptr : m_host->GetTexture(image, false);
        pressedTexture = pressedImage.empty() ? nullptr : m_host->GetTexture(pressedImage, false);
    }
    gui::IGUIFont* overrideFont = font.empty() ? nullptr : GetFont(font, false);

    const s32 x = GetToolbarNextButtonX(bar) + kToolbarButtonGap;
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
        gui::IGUISkin* skin = m_environment->getSkin();
        gui::IGUIFont* measure = skin != nullptr ? skin->getFont(gui::EGDF_BUTTON) : nullptr;
        const s32 textWidth =
            measure != nullptr ? static_cast<s32>(measure->getDimension(text.c_str()).Width) : 0;
        rect.LowerRightCorner.X = x + textWidth + 12;
        rect.LowerRightCorner.Y = kToolbarButtonTop + bar->getRelativePosition().getHeight() - 4;
    }

    gui::IGUIButton* button = m_environment->addButton(rect, bar, id, text.c_str(), nullptr);
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

gui::IGUIButton* CGuiManager::AddToolbarButtonNamed(gui::IGUIElement* toolbar, const std::wstring& name,
                                                    const std::wstring& text, const std::wstring& font,
                                                    const std::wstring& image,
                                                    const std::wstring& pressedImage, bool pushButton,
                                                    bool useAlpha, bool border)
{
    const CGuiEventQueue::CHold events(m_events);
    // The tool bar is checked before the name is taken.
    if (toolbar == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::addToolbarButton] Toolbar not defined.");
    As<gui::IGUIToolBar>(*this, toolbar, L"addToolbarButton");
    if (m_environment == nullptr)
        return nullptr;
    return addToolbarButton(toolbar, RegisterElementName(name, 0), text, font, image, pressedImage,
                            pushButton, useAlpha, border);
}

} // namespace Graphics::GUI
