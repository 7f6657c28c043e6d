// The manager's menu and tool bar operations: each checks the element's
// kind where it takes one, then asks the menu or tool bar operations.

#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiManagerParts.h"

namespace Graphics::GUI
{

using namespace irr;

gui::IGUIContextMenu* CGuiManager::AddMenu(int32_t id)
{
    return m_parts->menus.Add(id);
}

gui::IGUIContextMenu* CGuiManager::AddMenuNamed(const std::wstring& name)
{
    return m_parts->menus.AddNamed(name);
}

gui::IGUIContextMenu* CGuiManager::AddContextMenu(int32_t id, const CRect& pixelRect)
{
    return m_parts->menus.AddContext(id, pixelRect);
}

gui::IGUIContextMenu* CGuiManager::AddContextMenuNamed(const std::wstring& name, const CRect& rect)
{
    return m_parts->menus.AddContextNamed(name, rect);
}

gui::IGUIContextMenu* CGuiManager::addSubMenu(gui::IGUIElement* menu, const std::wstring& text, int32_t id,
                                              bool enabled, int32_t position)
{
    return m_parts->menus.AddSubMenu(menu, text, id, enabled, position);
}

gui::IGUIContextMenu* CGuiManager::AddSubMenuNamed(gui::IGUIElement* menu, const std::wstring& name,
                                                   const std::wstring& text, bool enabled, int32_t position)
{
    return m_parts->menus.AddSubMenuNamed(menu, name, text, enabled, position);
}

bool CGuiManager::addMenuItem(gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                              bool checked, int32_t position)
{
    return m_parts->menus.AddItem(menu, text, id, enabled, checked, position);
}

bool CGuiManager::AddMenuItem(gui::IGUIElement* menu, const std::wstring& name, const std::wstring& text,
                              bool enabled, bool checked, int32_t position)
{
    return m_parts->menus.AddItemNamed(menu, name, text, enabled, checked, position);
}

bool CGuiManager::AddMenuSeparator(gui::IGUIElement* menu, const std::wstring& name, int32_t position)
{
    return AddMenuItem(menu, name, std::wstring(), true, false, position);
}

bool CGuiManager::FindMenuItem(gui::IGUIElement* element, int32_t commandId, SMenuItem& item)
{
    return CGuiMenuOperations::FindItem(element, commandId, item);
}

CGuiManager::SMenuItem CGuiManager::GetMenuItem(const std::wstring& name)
{
    return m_parts->menus.GetItem(name);
}

uint32_t CGuiManager::GetMenuItemCount(gui::IGUIElement* menu)
{
    return As<gui::IGUIContextMenu>(*this, menu, L"GetMenuItemCount")->getItemCount();
}

std::wstring CGuiManager::GetMenuItemName(gui::IGUIElement* menu, int32_t index)
{
    return m_parts->menus.GetItemName(*As<gui::IGUIContextMenu>(*this, menu, L"GetMenuItemName"), index);
}

void CGuiManager::ClearMenu(gui::IGUIElement* menu)
{
    m_parts->menus.Clear(*As<gui::IGUIContextMenu>(*this, menu, L"ClearMenu"));
}

gui::IGUIFont* CGuiManager::GetMenuFont() const
{
    return m_parts->menus.GetFont();
}

void CGuiManager::RecalculateMenuSize(gui::IGUIContextMenu* menu)
{
    // A layout's menu is sized once, whole, when it has been read.
    if (menu != nullptr && !m_parts->menuSizingHeld)
        m_parts->menus.RecalculateSize(*menu);
}

gui::IGUIToolBar* CGuiManager::AddToolbar(int32_t id, const CRect& pixelRect)
{
    return m_parts->toolBars.Add(id, pixelRect);
}

gui::IGUIToolBar* CGuiManager::AddToolbarNamed(const std::wstring& name, const CRect& rect)
{
    return m_parts->toolBars.AddNamed(name, rect);
}

gui::IGUIButton* CGuiManager::addToolbarButton(gui::IGUIElement* toolbar, int32_t id,
                                               const std::wstring& text, const std::wstring& font,
                                               const std::wstring& image, const std::wstring& pressedImage,
                                               bool pushButton, bool useAlpha, bool border)
{
    return m_parts->toolBars.AddButton(toolbar, id, text, font, image, pressedImage, pushButton, useAlpha,
                                       border);
}

gui::IGUIButton* CGuiManager::AddToolbarButtonNamed(gui::IGUIElement* toolbar, const std::wstring& name,
                                                    const std::wstring& text, const std::wstring& font,
                                                    const std::wstring& image,
                                                    const std::wstring& pressedImage, bool pushButton,
                                                    bool useAlpha, bool border)
{
    return m_parts->toolBars.AddButtonNamed(toolbar, name, text, font, image, pressedImage, pushButton,
                                            useAlpha, border);
}

} // namespace Graphics::GUI
