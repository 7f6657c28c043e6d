// IGraphics: the GUI event tests. Each takes (control name, event control
// name, event type) and is true when the names are the same and the type
// is its own; none looks anything up.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <string_view>

using Graphics::GUI::CGuiManager;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

// A name as the string arguments read it (a string, or a number's text; ""
// for anything else), compared as bytes: handlers call these tests for
// every GUI event, so the names are not decoded.
std::string_view NameOf(const LuaStackObject& argument)
{
    lua_State* L = argument.GetCState();
    const int index = argument.GetIndex();
    size_t size = 0;
    const char* text = lua_isstring(L, index) ? lua_tolstring(L, index, &size) : nullptr;
    return text != nullptr ? std::string_view(text, size) : std::string_view();
}

// A number that is no 32-bit event type (negative, too large, NaN) matches
// no test; fractions are cut off.
bool ToEventType(double number, uint32_t& type)
{
    if (!(number >= 0.0 && number < 4294967296.0))
        return false;
    type = static_cast<uint32_t>(number);
    return true;
}

template <bool (*IsType)(uint32_t)>
bool EventTest(LuaState*, const LuaStackObject& name, const LuaStackObject& eventName, double number)
{
    uint32_t type = 0;
    return ToEventType(number, type) && IsType(type) && NameOf(name) == NameOf(eventName);
}

template <uint32_t Type> bool Is(uint32_t type)
{
    return type == Type;
}

bool controlConflictId(LuaState*, const LuaStackObject&, double number)
{
    uint32_t type = 0;
    return ToEventType(number, type) && CGuiManager::IsIdConflictEvent(type);
}

} // namespace

void RegisterIGraphicsGuiEvents(CScriptMetaTable& table)
{
    table.RegisterHelper("controlExited", &EventTest<&Is<CGuiManager::kFocusLostEvent>>);
    table.RegisterHelper("controlEntered", &EventTest<&Is<CGuiManager::kFocusedEvent>>);
    table.RegisterHelper("controlHovered", &EventTest<&Is<2>>);
    table.RegisterHelper("controlLeft", &EventTest<&Is<3>>);
    table.RegisterHelper("controlDestroyed", &EventTest<&Is<CGuiManager::kElementClosedEvent>>);
    table.RegisterHelper("buttonClicked", &EventTest<&CGuiManager::IsButtonClickedEvent>);
    table.RegisterHelper("scrollBarChanged", &EventTest<&CGuiManager::IsScrollBarChangedEvent>);
    table.RegisterHelper("checkboxClicked", &EventTest<&Is<CGuiManager::kCheckBoxChangedEvent>>);
    table.RegisterHelper("listChanged", &EventTest<&CGuiManager::IsListBoxChangedEvent>);
    table.RegisterHelper("listSelected", &EventTest<&CGuiManager::IsListBoxSelectedAgainEvent>);
    table.RegisterHelper("messageBoxYes", &EventTest<&CGuiManager::IsMessageBoxYesEvent>);
    table.RegisterHelper("messageBoxNo", &EventTest<&CGuiManager::IsMessageBoxNoEvent>);
    table.RegisterHelper("messageBoxOk", &EventTest<&CGuiManager::IsMessageBoxOkEvent>);
    table.RegisterHelper("messageBoxCancel", &EventTest<&CGuiManager::IsMessageBoxCancelEvent>);
    table.RegisterHelper("editEnterClicked", &EventTest<&CGuiManager::IsEditBoxEnterEvent>);
    table.RegisterHelper("tabControlChanged", &EventTest<&CGuiManager::IsTabChangedEvent>);
    table.RegisterHelper("menuClicked", &EventTest<&CGuiManager::IsMenuItemSelectedEvent>);
    table.RegisterHelper("comboChanged", &EventTest<&CGuiManager::IsComboBoxChangedEvent>);
    table.RegisterHelper("spinboxClicked", &EventTest<&CGuiManager::IsSpinBoxChangedEvent>);
    table.RegisterHelper("tableCellChanged", &EventTest<&CGuiManager::IsTableChangedEvent>);
    table.RegisterHelper("tableColumnActivated", &EventTest<&CGuiManager::IsTableHeaderChangedEvent>);
    table.RegisterHelper("tableCellSelected", &EventTest<&CGuiManager::IsTableSelectedAgainEvent>);
    table.RegisterHelper("controlConflictId", &controlConflictId);
}
