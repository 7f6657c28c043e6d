// IGraphics: menu bars, context menus, sub-menus, menu items and
// separators, tool bars and their buttons. Menu items are addressed by
// their own names.

#include "script_api/graphics/IGraphicsGuiMenus.h"

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/elements/GuiMenuOperations.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "core/script/lua/ScriptNumbers.h"

#include <irrlicht.h>

using Graphics::GUI::CGuiManager;
using LuaPlus::Index;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool createMenu(LuaState*, const std::wstring& name)
{
    return GetGui().AddMenuNamed(name) != nullptr;
}

bool createContextMenu(LuaState*, const std::wstring& name, const CRect& rect)
{
    return GetGui().AddContextMenuNamed(name, rect) != nullptr;
}

bool createSubMenu(LuaState*, const std::wstring& name, const std::wstring& menuName,
                   const std::wstring& text, bool enabled, Index position)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.AddSubMenuNamed(GetControl(menuName), name, text, enabled, position) != nullptr;
}

bool createMenuItem(LuaState*, const std::wstring& name, const std::wstring& menuName,
                    const std::wstring& text, bool enabled, bool checked, Index position)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.AddMenuItem(GetControl(menuName), name, text, enabled, checked, position);
}

bool createMenuSeparator(LuaState*, const std::wstring& name, const std::wstring& menuName, Index position)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.AddMenuSeparator(GetControl(menuName), name, position);
}

bool createToolbar(LuaState*, const std::wstring& name, const CRect& rect)
{
    return GetGui().AddToolbarNamed(name, rect) != nullptr;
}

bool createToolbarButton(LuaState*, const std::wstring& name, const std::wstring& toolbarName,
                         const std::wstring& text, const std::wstring& font, const std::wstring& image,
                         const std::wstring& pressedImage, bool pushButton, bool useAlpha)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.AddToolbarButtonNamed(GetControl(toolbarName), name, text, font, image, pressedImage,
                                     pushButton, useAlpha, true) != nullptr;
}

std::wstring getMenuItemId(LuaState*, const std::wstring& name, Index index)
{
    return GetGui().GetMenuItemName(GetControl(name), index);
}

bool hasMenuGotSubMenu(LuaState*, const std::wstring& name)
{
    return GetGui().GetMenus().HasItemSubMenu(name);
}

bool isMenuItemEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().GetMenus().IsItemEnabled(name);
}

void setMenuItemEnabled(LuaState*, const std::wstring& name, bool enabled)
{
    GetGui().GetMenus().SetItemEnabled(name, enabled);
}

bool isMenuItemChecked(LuaState*, const std::wstring& name)
{
    return GetGui().GetMenus().IsItemChecked(name);
}

void setMenuItemChecked(LuaState*, const std::wstring& name, bool checked)
{
    GetGui().GetMenus().SetItemChecked(name, checked);
}

std::wstring getMenuItemLabel(LuaState*, const std::wstring& name)
{
    return GetGui().GetMenus().GetItemLabel(name);
}

void setMenuItemLabel(LuaState*, const std::wstring& name, const std::wstring& text)
{
    GetGui().GetMenus().SetItemLabel(name, text);
}

} // namespace

void RegisterIGraphicsGuiMenus(CScriptMetaTable& table)
{
    table.RegisterHelper("createMenu", &createMenu);
    table.RegisterHelper("createContextMenu", &createContextMenu);
    table.RegisterHelper("createSubMenu", &createSubMenu);
    table.RegisterHelper("createMenuItem", &createMenuItem);
    table.RegisterHelper("createMenuSeparator", &createMenuSeparator);
    table.RegisterHelper("createToolbar", &createToolbar);
    table.RegisterHelper("createToolbarButton", &createToolbarButton);
    table.RegisterMethod<TheGui, Control>("getMenuCount", &CGuiManager::GetMenuItemCount);
    table.RegisterHelper("getMenuItemId", &getMenuItemId);
    table.RegisterHelper("hasMenuGotSubMenu", &hasMenuGotSubMenu);
    table.RegisterHelper("isMenuItemEnabled", &isMenuItemEnabled);
    table.RegisterHelper("setMenuItemEnabled", &setMenuItemEnabled);
    table.RegisterHelper("isMenuItemChecked", &isMenuItemChecked);
    table.RegisterHelper("setMenuItemChecked", &setMenuItemChecked);
    table.RegisterHelper("getMenuItemLabel", &getMenuItemLabel);
    table.RegisterHelper("setMenuItemLabel", &setMenuItemLabel);
    table.RegisterMethod<TheGui, Control>("clearMenu", &CGuiManager::ClearMenu);
}
