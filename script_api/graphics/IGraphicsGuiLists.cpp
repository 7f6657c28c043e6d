// IGraphics: the engine's list boxes and combo boxes: creation, items with
// their texts, data, icons and colours, and selection with its events.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <optional>

using Graphics::GUI::CGuiManager;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool createListbox(LuaState*, const std::wstring& name, const CRect& rect, bool background,
                   const std::wstring& scrollBarName, const std::wstring& upButtonName,
                   const std::wstring& downButtonName)
{
    return GetGui().AddListBox(name, rect, background, scrollBarName, upButtonName, downButtonName) !=
           nullptr;
}

bool createCombobox(LuaState*, const std::wstring& name, const CRect& rect, const std::wstring& buttonName,
                    const std::wstring& listName)
{
    return GetGui().AddComboBox(name, rect, buttonName, listName) != nullptr;
}

LuaObject getListboxIcon(LuaState* state, const std::wstring& name, int32_t index)
{
    const std::wstring icon = GetGui().GetListBoxItemIcon(GetControl(name), index);
    return EmptyAsNil(state, icon);
}

std::optional<CColor> getListboxLineColor(LuaState*, const std::wstring& name, int32_t index, int32_t kind)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* list = GetControl(name);
    if (!gui.HasListBoxItemColor(list, index, kind))
        return std::nullopt;
    return gui.GetListBoxItemColor(list, index, kind);
}

std::wstring getListboxSelectedText(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* list = GetControl(name);
    return gui.GetListBoxItemText(list, gui.GetListBoxSelected(list));
}

std::wstring getListboxSelectedData(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* list = GetControl(name);
    return gui.GetListBoxItemData(list, gui.GetListBoxSelected(list));
}

int32_t addListboxItem(LuaState*, const std::wstring& name, const std::wstring& text,
                       const std::wstring& data, const std::wstring& iconName)
{
    return GetGui().AddListBoxItem(GetControl(name), text, data, iconName, -1);
}

std::wstring getComboboxSelectedText(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* combo = GetControl(name);
    return gui.GetListBoxItemText(combo, gui.GetComboBoxSelected(combo));
}

std::wstring getComboboxSelectedData(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* combo = GetControl(name);
    return gui.GetListBoxItemData(combo, gui.GetComboBoxSelected(combo));
}

} // namespace

void RegisterIGraphicsGuiLists(CScriptMetaTable& table)
{
    table.RegisterHelper("createCombobox", &createCombobox);
    table.RegisterHelper("createListbox", &createListbox);
    table.RegisterMethod<TheGui, Control>("setListboxBackgroundVisible",
                                          &CGuiManager::SetListBoxBackgroundVisible);
    table.RegisterMethod<TheGui, Control>("getListboxBackgroundVisible",
                                          &CGuiManager::IsListBoxBackgroundVisible);
    table.RegisterMethod<TheGui, Control>("getListboxCount", &CGuiManager::GetListBoxItemCount);
    table.RegisterMethod<TheGui, Control>("setListboxText", &CGuiManager::SetListBoxItemText);
    table.RegisterMethod<TheGui, Control>("setListboxIcon", &CGuiManager::SetListBoxItemIcon);
    table.RegisterMethod<TheGui, Control>("getListboxText", &CGuiManager::GetListBoxItemText);
    table.RegisterMethod<TheGui, Control>("findListboxText", &CGuiManager::FindListBoxItemText);
    table.RegisterMethod<TheGui, Control>("getListboxData", &CGuiManager::GetListBoxItemData);
    table.RegisterMethod<TheGui, Control>("findListboxData", &CGuiManager::FindListBoxItemData);
    table.RegisterHelper("getListboxIcon", &getListboxIcon);
    table.RegisterMethod<TheGui, Control>("setListboxLineColor", &CGuiManager::SetListBoxItemColor);
    table.RegisterHelper("getListboxLineColor", &getListboxLineColor);
    table.RegisterMethod<TheGui, Control>("clearListboxLineColor", &CGuiManager::ClearListBoxItemColor);
    table.RegisterMethod<TheGui, Control>("getListboxSelection", &CGuiManager::GetListBoxSelected);
    table.RegisterMethod<TheGui, Control>("setListboxSelection", &CGuiManager::SelectListBoxItem);
    table.RegisterMethod<TheGui, Control>("setListboxSelectedText", &CGuiManager::SelectListBoxItemByText);
    table.RegisterMethod<TheGui, Control>("setListboxSelectedData", &CGuiManager::SelectListBoxItemByData);
    table.RegisterHelper("getListboxSelectedText", &getListboxSelectedText);
    table.RegisterHelper("getListboxSelectedData", &getListboxSelectedData);
    table.RegisterHelper("addListboxItem", &addListboxItem);
    table.RegisterMethod<TheGui, Control>("insertListboxItem", &CGuiManager::AddListBoxItem);
    table.RegisterMethod<TheGui, Control>("setListboxData", &CGuiManager::SetListItemData);
    table.RegisterMethod<TheGui, Control>("removeListboxItem", &CGuiManager::RemoveListBoxItem);
    table.RegisterMethod<TheGui, Control>("clearListbox", &CGuiManager::ClearListBox);
    table.RegisterMethod<TheGui, Control>("makeListboxItemVisible", &CGuiManager::MakeListBoxItemVisible);
    table.RegisterMethod<TheGui, Control>("getComboboxCount", &CGuiManager::GetListBoxItemCount);
    table.RegisterMethod<TheGui, Control>("setComboMaxVisibleItems", &CGuiManager::SetComboBoxMaxItems);
    table.RegisterMethod<TheGui, Control>("getComboMaxVisibleItems", &CGuiManager::GetComboBoxMaxItems);
    table.RegisterMethod<TheGui, Control>("setComboboxText", &CGuiManager::SetComboBoxItemText);
    table.RegisterMethod<TheGui, Control>("getComboboxText", &CGuiManager::GetListBoxItemText);
    table.RegisterMethod<TheGui, Control>("findComboboxText", &CGuiManager::FindComboBoxItemText);
    table.RegisterMethod<TheGui, Control>("getComboboxData", &CGuiManager::GetListBoxItemData);
    table.RegisterMethod<TheGui, Control>("setComboboxData", &CGuiManager::SetListItemData);
    table.RegisterMethod<TheGui, Control>("findComboboxData", &CGuiManager::FindComboBoxItemData);
    table.RegisterMethod<TheGui, Control>("getComboboxSelection", &CGuiManager::GetComboBoxSelected);
    table.RegisterMethod<TheGui, Control>("setComboboxSelection", &CGuiManager::SelectComboBoxItem);
    table.RegisterHelper("getComboboxSelectedText", &getComboboxSelectedText);
    table.RegisterHelper("getComboboxSelectedData", &getComboboxSelectedData);
    table.RegisterMethod<TheGui, Control>("setComboboxSelectedText", &CGuiManager::SelectComboBoxItemByText);
    table.RegisterMethod<TheGui, Control>("setComboboxSelectedData", &CGuiManager::SelectComboBoxItemByData);
    table.RegisterMethod<TheGui, Control>("addComboboxItem", &CGuiManager::AppendComboBoxItem);
    table.RegisterMethod<TheGui, Control>("insertComboboxItem", &CGuiManager::AddComboBoxItem);
    table.RegisterMethod<TheGui, Control>("removeComboboxItem", &CGuiManager::RemoveComboBoxItem);
    table.RegisterMethod<TheGui, Control>("clearCombobox", &CGuiManager::ClearComboBox);
}
