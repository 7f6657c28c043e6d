#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIContextMenu;
class IGUIElement;
class IGUIFont;
} // namespace irr::gui

namespace Graphics::GUI
{

class CGuiManager;

// A menu item: the menu that holds it and its index there.
struct SGuiMenuItem
{
    irr::gui::IGUIContextMenu* menu = nullptr;
    uint32_t index = 0;
};

// Menu bars and context menus with their items and sub-menus. A menu item is
// named like an element: the id registered for its name is its command id,
// and the sub-menu an item opens carries the same id. Menus are laid out
// again after every change, through the manager (which holds that back
// while a layout's menu is read).
class CGuiMenuOperations
{
public:
    // The manager names the GUI, its parent element, the element names and
    // shortcuts, and the screen.
    explicit CGuiMenuOperations(CGuiManager& manager) : m_manager(manager) {}

    // A menu bar under the GUI parent; null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIContextMenu* Add(int32_t id);
    irr::gui::IGUIContextMenu* AddNamed(const std::wstring& name);
    // A context menu in the rectangle (pixels; the named one takes the
    // screen rule).
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIContextMenu* AddContext(int32_t id, const CRect& pixelRect);
    irr::gui::IGUIContextMenu* AddContextNamed(const std::wstring& name, const CRect& rect);

    // An item that opens a sub-menu, appended, then moved to the index when
    // 0 <= position < the count before; returns the sub-menu. A null menu
    // throws "CGuiManager::addSubMenu] Parent context menu is not defined.",
    // another element "[CGuiManager::addSubMenu] Gui element is not a
    // menu:%s" (before the named one takes its name).
    /// The new sub-menu, or null: its menu owns it (do not drop it) until the item goes.
    irr::gui::IGUIContextMenu* AddSubMenu(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id,
                                          bool enabled, int32_t position);
    irr::gui::IGUIContextMenu* AddSubMenuNamed(irr::gui::IGUIElement* menu, const std::wstring& name,
                                               const std::wstring& text, bool enabled, int32_t position);
    // An item placed as AddSubMenu places it; an empty text makes a
    // separator. The same checks as "CGuiManager::addMenuItem] ...".
    bool AddItem(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                 bool checked, int32_t position);
    bool AddItemNamed(irr::gui::IGUIElement* menu, const std::wstring& name, const std::wstring& text,
                      bool enabled, bool checked, int32_t position);

    // Searches the element's items when it is a menu, then its parent's, up
    // to the root.
    static bool FindItem(irr::gui::IGUIElement* element, int32_t commandId, SGuiMenuItem& item);
    // The item of the name; an unknown name throws the lookup errors, a name
    // of no menu item "Menu item not found:%s".
    SGuiMenuItem GetItem(const std::wstring& name);
    bool IsItemEnabled(const std::wstring& name);
    // Also enables or disables the sub-menu the item opens.
    void SetItemEnabled(const std::wstring& name, bool enabled);
    bool IsItemChecked(const std::wstring& name);
    void SetItemChecked(const std::wstring& name, bool checked);
    std::wstring GetItemLabel(const std::wstring& name);
    // Also the sub-menu's caption; then the menu is laid out again.
    void SetItemLabel(const std::wstring& name, const std::wstring& text);
    bool HasItemSubMenu(const std::wstring& name);
    // The name registered for the command id of the item at the index; ""
    // for an index past the items or an id without a name.
    std::wstring GetItemName(const irr::gui::IGUIContextMenu& menu, int32_t index) const;

    // Removes the menu's child elements and every item (the sub-menus, their
    // items' names and shortcuts with them).
    void Clear(irr::gui::IGUIContextMenu& menu);
    // Takes the sub-menu element of the item out of the GUI, then the item,
    // with the names and shortcuts of both.
    void RemoveItemAt(irr::gui::IGUIContextMenu& menu, uint32_t index);

    // Sizes the menu to its items in the menu font, keeps it on the screen,
    // then does the same for each sub-menu.
    void RecalculateSize(irr::gui::IGUIContextMenu& menu);
    // The skin's menu font; null without a skin.
    /// Not to be dropped: the GUI environment keeps the font until the device goes.
    irr::gui::IGUIFont* GetFont() const;

private:
    // Forgets the names and shortcuts of the menu's items, its sub-menus'
    // included.
    void ForgetItemNames(irr::gui::IGUIContextMenu& menu);
    // Forgets the name and shortcuts of the command id.
    void ForgetName(int32_t id);

    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
