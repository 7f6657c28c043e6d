#include "gui/elements/GuiMenuOperations.h"

#include "core/foundation/KVOError.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiEventQueue.h"
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

// The menu an item goes into: a null one and another kind are refused.
gui::IGUIContextMenu* ParentMenu(const CGuiManager& manager, gui::IGUIElement* menu, const wchar_t* method)
{
    if (menu == nullptr)
        throw Misc::Error::CKVOError::Format(L"CGuiManager::%s] Parent context menu is not defined.", method);
    return As<gui::IGUIContextMenu>(manager, menu, method);
}

} // namespace

gui::IGUIContextMenu* CGuiMenuOperations::Add(int32_t id)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    gui::IGUIContextMenu* menu = environment->addMenu(m_manager.GetGuiParent(), id);
    m_manager.RecalculateMenuSize(menu);
    return menu;
}

gui::IGUIContextMenu* CGuiMenuOperations::AddNamed(const std::wstring& name)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    return Add(m_manager.RegisterElementName(name, 0));
}

gui::IGUIContextMenu* CGuiMenuOperations::AddContext(int32_t id, const CRect& pixelRect)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    gui::IGUIContextMenu* menu =
        environment->addContextMenu(ToPixelRect(pixelRect), m_manager.GetGuiParent(), id);
    m_manager.RecalculateMenuSize(menu);
    return menu;
}

gui::IGUIContextMenu* CGuiMenuOperations::AddContextNamed(const std::wstring& name, const CRect& rect)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    return AddContext(id, m_manager.ScreenRectToPixels(rect));
}

gui::IGUIContextMenu* CGuiMenuOperations::AddSubMenu(gui::IGUIElement* menu, const std::wstring& text,
                                                     int32_t id, bool enabled, int32_t position)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIContextMenu* parent = ParentMenu(m_manager, menu, L"addSubMenu");
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
    m_manager.RecalculateMenuSize(parent);
    return subMenu;
}

gui::IGUIContextMenu* CGuiMenuOperations::AddSubMenuNamed(gui::IGUIElement* menu, const std::wstring& name,
                                                          const std::wstring& text, bool enabled,
                                                          int32_t position)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    // The menu is checked before the name is taken.
    ParentMenu(m_manager, menu, L"addSubMenu");
    return AddSubMenu(menu, text, m_manager.RegisterElementName(name, 0), enabled, position);
}

bool CGuiMenuOperations::AddItem(gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                                 bool checked, int32_t position)
{
    gui::IGUIContextMenu* parent = ParentMenu(m_manager, menu, L"addMenuItem");
    // An item without text is a separator.
    if (text.empty())
        PlaceItem(parent, nullptr, id, enabled, false, false, position);
    else
        PlaceItem(parent, text.c_str(), id, enabled, false, checked, position);
    m_manager.RecalculateMenuSize(parent);
    return true;
}

bool CGuiMenuOperations::AddItemNamed(gui::IGUIElement* menu, const std::wstring& name,
                                      const std::wstring& text, bool enabled, bool checked, int32_t position)
{
    // The menu is checked before the name is taken.
    ParentMenu(m_manager, menu, L"addMenuItem");
    return AddItem(menu, text, m_manager.RegisterElementName(name, 0), enabled, checked, position);
}

bool CGuiMenuOperations::FindItem(gui::IGUIElement* element, int32_t commandId, SGuiMenuItem& item)
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

SGuiMenuItem CGuiMenuOperations::GetItem(const std::wstring& name)
{
    gui::IGUIElement* element = m_manager.GetElement(name, true);
    const int32_t id = m_manager.GetElementId(name, true);
    SGuiMenuItem item;
    if (!FindItem(element, id, item))
        throw Misc::Error::CKVOError::Format(L"Menu item not found:%s", name.c_str());
    return item;
}

bool CGuiMenuOperations::IsItemEnabled(const std::wstring& name)
{
    const SGuiMenuItem item = GetItem(name);
    return item.menu->isItemEnabled(item.index);
}

void CGuiMenuOperations::SetItemEnabled(const std::wstring& name, bool enabled)
{
    const SGuiMenuItem item = GetItem(name);
    item.menu->setItemEnabled(item.index, enabled);
    if (gui::IGUIContextMenu* subMenu = item.menu->getSubMenu(item.index))
        subMenu->setEnabled(enabled);
}

bool CGuiMenuOperations::IsItemChecked(const std::wstring& name)
{
    const SGuiMenuItem item = GetItem(name);
    return item.menu->isItemChecked(item.index);
}

void CGuiMenuOperations::SetItemChecked(const std::wstring& name, bool checked)
{
    const SGuiMenuItem item = GetItem(name);
    item.menu->setItemChecked(item.index, checked);
}

std::wstring CGuiMenuOperations::GetItemLabel(const std::wstring& name)
{
    const SGuiMenuItem item = GetItem(name);
    return TextOf(item.menu->getItemText(item.index));
}

void CGuiMenuOperations::SetItemLabel(const std::wstring& name, const std::wstring& text)
{
    const SGuiMenuItem item = GetItem(name);
    item.menu->setItemText(item.index, text.c_str());
    if (gui::IGUIContextMenu* subMenu = item.menu->getSubMenu(item.index))
        subMenu->setText(text.c_str());
    m_manager.RecalculateMenuSize(item.menu);
}

bool CGuiMenuOperations::HasItemSubMenu(const std::wstring& name)
{
    const SGuiMenuItem item = GetItem(name);
    return item.menu->getSubMenu(item.index) != nullptr;
}

std::wstring CGuiMenuOperations::GetItemName(const gui::IGUIContextMenu& menu, int32_t index) const
{
    if (index < 0 || static_cast<u32>(index) >= menu.getItemCount())
        return std::wstring();
    return m_manager.GetElementName(menu.getItemCommandId(static_cast<u32>(index)), false);
}

void CGuiMenuOperations::Clear(gui::IGUIContextMenu& menu)
{
    CGuiElementHold hold(&menu);
    m_manager.RemoveChildren(&menu);
    // Removing the items one by one takes their sub-menus out of the GUI
    // too; the library's own clear would leave them behind, hidden.
    while (menu.getItemCount() > 0)
        RemoveItemAt(menu, menu.getItemCount() - 1);
    m_manager.RecalculateMenuSize(&menu);
}

void CGuiMenuOperations::ForgetName(int32_t id)
{
    if (const std::pmr::wstring* name = m_manager.FindElementName(id))
    {
        m_manager.RemoveShortcuts(std::wstring(*name));
        m_manager.RemoveElementName(id);
    }
}

void CGuiMenuOperations::ForgetItemNames(gui::IGUIContextMenu& menu)
{
    for (u32 index = 0; index < menu.getItemCount(); ++index)
    {
        ForgetName(menu.getItemCommandId(index));
        if (gui::IGUIContextMenu* subMenu = menu.getSubMenu(index))
            ForgetItemNames(*subMenu);
    }
}

void CGuiMenuOperations::RemoveItemAt(gui::IGUIContextMenu& menu, uint32_t index)
{
    const int32_t id = menu.getItemCommandId(index);
    gui::IGUIContextMenu* subMenu = menu.getSubMenu(index);
    if (subMenu != nullptr)
    {
        ForgetItemNames(*subMenu);
        // The library lets go of the item's sub-menu but keeps it as a
        // hidden child; it leaves the GUI with its item.
        CGuiElementHold hold(subMenu);
        gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
        gui::IGUIElement* focus = environment != nullptr ? environment->getFocus() : nullptr;
        if (focus != nullptr && (focus == subMenu || subMenu->isMyChild(focus)))
            environment->removeFocus(focus);
        menu.removeItem(index);
        subMenu->remove();
    }
    else
    {
        menu.removeItem(index);
    }
    ForgetName(id);
}

gui::IGUIFont* CGuiMenuOperations::GetFont() const
{
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    gui::IGUISkin* skin = environment != nullptr ? environment->getSkin() : nullptr;
    return skin != nullptr ? skin->getFont(gui::EGDF_MENU) : nullptr;
}

void CGuiMenuOperations::RecalculateSize(gui::IGUIContextMenu& menu)
{
    gui::IGUIFont* font = GetFont();
    if (font == nullptr)
        return;
    core::rect<s32> rect = menu.getRelativePosition();
    gui::IGUIElement* parent = menu.getParent();
    const bool parentIsContextMenu = parent != nullptr && parent->getType() == gui::EGUIET_CONTEXT_MENU;
    // The library flips a sub-menu that would leave the screen to touch its
    // parent's left edge; ours starts on the right side, and the rule below
    // decides.
    if (parentIsContextMenu && menu.isSubElement())
    {
        const s32 width = rect.getWidth();
        rect.UpperLeftCorner.X = parent->getRelativePosition().getWidth() - kSubMenuInset;
        rect.LowerRightCorner.X = rect.UpperLeftCorner.X + width;
    }

    s32 width = rect.getWidth();
    s32 height = kMenuTopHeight;
    for (u32 index = 0; index < menu.getItemCount(); ++index)
    {
        const std::wstring text = TextOf(menu.getItemText(index));
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
    if (menu.getType() == gui::EGUIET_CONTEXT_MENU)
        rect.LowerRightCorner.Y = rect.UpperLeftCorner.Y + height;

    // Keep it on the screen.
    const core::position2di origin =
        parent != nullptr ? parent->getAbsolutePosition().UpperLeftCorner : core::position2di(0, 0);
    const s32 screenWidth = static_cast<s32>(m_manager.GetScreenWidth());
    const s32 screenHeight = static_cast<s32>(m_manager.GetScreenHeight());
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
    m_manager.SetElementRelativeRect(&menu, rect);

    for (u32 index = 0; index < menu.getItemCount(); ++index)
    {
        if (gui::IGUIContextMenu* subMenu = menu.getSubMenu(index))
            RecalculateSize(*subMenu);
    }
}

} // namespace Graphics::GUI
