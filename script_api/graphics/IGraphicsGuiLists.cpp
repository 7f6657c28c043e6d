// IGraphics: the engine's list boxes and combo boxes: creation, items with
// their texts, data, icons and colours, and selection with its events.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

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

void setListboxBackgroundVisible(LuaState*, const std::wstring& name, bool visible)
{
    GetGui().SetListBoxBackgroundVisible(GetControl(name), visible);
}

bool getListboxBackgroundVisible(LuaState*, const std::wstring& name)
{
    return GetGui().IsListBoxBackgroundVisible(GetControl(name));
}

int32_t getListboxCount(LuaState*, const std::wstring& name)
{
    return GetGui().GetListBoxItemCount(GetControl(name));
}

void setListboxText(LuaState*, const std::wstring& name, int32_t index, const std::wstring& text)
{
    GetGui().SetListBoxItemText(GetControl(name), index, text);
}

void setListboxIcon(LuaState*, const std::wstring& name, int32_t index, const std::wstring& iconName)
{
    GetGui().SetListBoxItemIcon(GetControl(name), index, iconName);
}

std::wstring getListboxText(LuaState*, const std::wstring& name, int32_t index)
{
    return GetGui().GetListBoxItemText(GetControl(name), index);
}

int32_t findListboxText(LuaState*, const std::wstring& name, const std::wstring& text)
{
    return GetGui().FindListBoxItemText(GetControl(name), text);
}

std::wstring getListboxData(LuaState*, const std::wstring& name, int32_t index)
{
    return GetGui().GetListBoxItemData(GetControl(name), index);
}

int32_t findListboxData(LuaState*, const std::wstring& name, const std::wstring& data)
{
    return GetGui().FindListBoxItemData(GetControl(name), data);
}

LuaObject getListboxIcon(LuaState* state, const std::wstring& name, int32_t index)
{
    const std::wstring icon = GetGui().GetListBoxItemIcon(GetControl(name), index);
    return TextOrNil(state, icon.empty() ? nullptr : &icon);
}

bool setListboxLineColor(LuaState*, const std::wstring& name, int32_t index, const CColor& color,
                         int32_t kind)
{
    return GetGui().SetListBoxItemColor(GetControl(name), index, color, kind);
}

LuaObject getListboxLineColor(LuaState* state, const std::wstring& name, int32_t index, int32_t kind)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* list = GetControl(name);
    if (!gui.HasListBoxItemColor(list, index, kind))
        return LuaObject();
    return CColorScript::CreateLuaObject(state, gui.GetListBoxItemColor(list, index, kind));
}

bool clearListboxLineColor(LuaState*, const std::wstring& name, int32_t index, int32_t kind)
{
    return GetGui().ClearListBoxItemColor(GetControl(name), index, kind);
}

int32_t getListboxSelection(LuaState*, const std::wstring& name)
{
    return GetGui().GetListBoxSelected(GetControl(name));
}

void setListboxSelection(LuaState*, const std::wstring& name, int32_t index)
{
    GetGui().SelectListBoxItem(GetControl(name), index);
}

void setListboxSelectedText(LuaState*, const std::wstring& name, const std::wstring& text)
{
    GetGui().SelectListBoxItemByText(GetControl(name), text);
}

void setListboxSelectedData(LuaState*, const std::wstring& name, const std::wstring& data)
{
    GetGui().SelectListBoxItemByData(GetControl(name), data);
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

int32_t insertListboxItem(LuaState*, const std::wstring& name, const std::wstring& text,
                          const std::wstring& data, const std::wstring& iconName, int32_t index)
{
    return GetGui().AddListBoxItem(GetControl(name), text, data, iconName, index);
}

void setListboxData(LuaState*, const std::wstring& name, int32_t index, const std::wstring& data)
{
    GetGui().SetListItemData(GetControl(name), index, data);
}

void removeListboxItem(LuaState*, const std::wstring& name, int32_t index)
{
    GetGui().RemoveListBoxItem(GetControl(name), index);
}

void clearListbox(LuaState*, const std::wstring& name)
{
    GetGui().ClearListBox(GetControl(name));
}

void makeListboxItemVisible(LuaState*, const std::wstring& name, int32_t index)
{
    GetGui().MakeListBoxItemVisible(GetControl(name), index);
}

int32_t getComboboxCount(LuaState*, const std::wstring& name)
{
    return GetGui().GetListBoxItemCount(GetControl(name));
}

void setComboMaxVisibleItems(LuaState*, const std::wstring& name, uint32_t rows)
{
    GetGui().SetComboBoxMaxItems(GetControl(name), rows);
}

uint32_t getComboMaxVisibleItems(LuaState*, const std::wstring& name)
{
    return GetGui().GetComboBoxMaxItems(GetControl(name));
}

void setComboboxText(LuaState*, const std::wstring& name, int32_t index, const std::wstring& text)
{
    GetGui().SetComboBoxItemText(GetControl(name), index, text);
}

std::wstring getComboboxText(LuaState*, const std::wstring& name, int32_t index)
{
    return GetGui().GetListBoxItemText(GetControl(name), index);
}

int32_t findComboboxText(LuaState*, const std::wstring& name, const std::wstring& text)
{
    return GetGui().FindComboBoxItemText(GetControl(name), text);
}

std::wstring getComboboxData(LuaState*, const std::wstring& name, int32_t index)
{
    return GetGui().GetListBoxItemData(GetControl(name), index);
}

void setComboboxData(LuaState*, const std::wstring& name, int32_t index, const std::wstring& data)
{
    GetGui().SetListItemData(GetControl(name), index, data);
}

int32_t findComboboxData(LuaState*, const std::wstring& name, const std::wstring& data)
{
    return GetGui().FindComboBoxItemData(GetControl(name), data);
}

int32_t getComboboxSelection(LuaState*, const std::wstring& name)
{
    return GetGui().GetComboBoxSelected(GetControl(name));
}

void setComboboxSelection(LuaState*, const std::wstring& name, int32_t index)
{
    GetGui().SelectComboBoxItem(GetControl(name), index);
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

void setComboboxSelectedText(LuaState*, const std::wstring& name, const std::wstring& text)
{
    GetGui().SelectComboBoxItemByText(GetControl(name), text);
}

void setComboboxSelectedData(LuaState*, const std::wstring& name, const std::wstring& data)
{
    GetGui().SelectComboBoxItemByData(GetControl(name), data);
}

int32_t addComboboxItem(LuaState*, const std::wstring& name, const std::wstring& text,
                        const std::wstring& data)
{
    return GetGui().AppendComboBoxItem(GetControl(name), text, data);
}

int32_t insertComboboxItem(LuaState*, const std::wstring& name, const std::wstring& text,
                           const std::wstring& data, int32_t index)
{
    return GetGui().AddComboBoxItem(GetControl(name), text, data, index);
}

void removeComboboxItem(LuaState*, const std::wstring& name, int32_t index)
{
    GetGui().RemoveComboBoxItem(GetControl(name), index);
}

void clearCombobox(LuaState*, const std::wstring& name)
{
    GetGui().ClearComboBox(GetControl(name));
}

} // namespace

void RegisterIGraphicsGuiLists(CScriptMetaTable& table)
{
    table.RegisterHelper("createCombobox", &createCombobox);
    table.RegisterHelper("createListbox", &createListbox);
    table.RegisterHelper("setListboxBackgroundVisible", &setListboxBackgroundVisible);
    table.RegisterHelper("getListboxBackgroundVisible", &getListboxBackgroundVisible);
    table.RegisterHelper("getListboxCount", &getListboxCount);
    table.RegisterHelper("setListboxText", &setListboxText);
    table.RegisterHelper("setListboxIcon", &setListboxIcon);
    table.RegisterHelper("getListboxText", &getListboxText);
    table.RegisterHelper("findListboxText", &findListboxText);
    table.RegisterHelper("getListboxData", &getListboxData);
    table.RegisterHelper("findListboxData", &findListboxData);
    table.RegisterHelper("getListboxIcon", &getListboxIcon);
    table.RegisterHelper("setListboxLineColor", &setListboxLineColor);
    table.RegisterHelper("getListboxLineColor", &getListboxLineColor);
    table.RegisterHelper("clearListboxLineColor", &clearListboxLineColor);
    table.RegisterHelper("getListboxSelection", &getListboxSelection);
    table.RegisterHelper("setListboxSelection", &setListboxSelection);
    table.RegisterHelper("setListboxSelectedText", &setListboxSelectedText);
    table.RegisterHelper("setListboxSelectedData", &setListboxSelectedData);
    table.RegisterHelper("getListboxSelectedText", &getListboxSelectedText);
    table.RegisterHelper("getListboxSelectedData", &getListboxSelectedData);
    table.RegisterHelper("addListboxItem", &addListboxItem);
    table.RegisterHelper("insertListboxItem", &insertListboxItem);
    table.RegisterHelper("setListboxData", &setListboxData);
    table.RegisterHelper("removeListboxItem", &removeListboxItem);
    table.RegisterHelper("clearListbox", &clearListbox);
    table.RegisterHelper("makeListboxItemVisible", &makeListboxItemVisible);
    table.RegisterHelper("getComboboxCount", &getComboboxCount);
    table.RegisterHelper("setComboMaxVisibleItems", &setComboMaxVisibleItems);
    table.RegisterHelper("getComboMaxVisibleItems", &getComboMaxVisibleItems);
    table.RegisterHelper("setComboboxText", &setComboboxText);
    table.RegisterHelper("getComboboxText", &getComboboxText);
    table.RegisterHelper("findComboboxText", &findComboboxText);
    table.RegisterHelper("getComboboxData", &getComboboxData);
    table.RegisterHelper("setComboboxData", &setComboboxData);
    table.RegisterHelper("findComboboxData", &findComboboxData);
    table.RegisterHelper("getComboboxSelection", &getComboboxSelection);
    table.RegisterHelper("setComboboxSelection", &setComboboxSelection);
    table.RegisterHelper("getComboboxSelectedText", &getComboboxSelectedText);
    table.RegisterHelper("getComboboxSelectedData", &getComboboxSelectedData);
    table.RegisterHelper("setComboboxSelectedText", &setComboboxSelectedText);
    table.RegisterHelper("setComboboxSelectedData", &setComboboxSelectedData);
    table.RegisterHelper("addComboboxItem", &addComboboxItem);
    table.RegisterHelper("insertComboboxItem", &insertComboboxItem);
    table.RegisterHelper("removeComboboxItem", &removeComboboxItem);
    table.RegisterHelper("clearCombobox", &clearCombobox);
}
