// IGraphics: the GUI event tests. Each takes (control name, event control
// name, event type) and is true when the names are the same and the type
// is its own; none looks anything up.

#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "core/script/lua/ScriptResolved.h"
#include "gui/manager/GuiManager.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

using Graphics::GUI::CGuiManager;
using LuaPlus::Index;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

// Names are compared as the bytes the string arguments read (a string, or
// a number's text; "" for anything else): handlers call these tests for
// every GUI event, so the names are not decoded.
bool SameName(const LuaStackObject& name, const LuaStackObject& eventName)
{
    return LuaPlus::ArgumentText(name.GetCState(), name.GetIndex()) ==
           LuaPlus::ArgumentText(eventName.GetCState(), eventName.GetIndex());
}

// A number beyond 32 bits is no event type and matches no test.
template <bool (*IsType)(uint32_t)>
bool EventTest(LuaState*, const LuaStackObject& name, const LuaStackObject& eventName, Index type)
{
    return type >= 0 && IsType(static_cast<uint32_t>(type.value)) && SameName(name, eventName);
}

template <EGuiEventType Type> bool Is(uint32_t type)
{
    return type == Type;
}

bool controlConflictId(LuaState*, const LuaStackObject&, Index type)
{
    return type >= 0 && CGuiManager::IsIdConflictEvent(static_cast<uint32_t>(type.value));
}

} // namespace

void RegisterIGraphicsGuiEvents(CScriptMetaTable& table)
{
    table.RegisterHelper("controlExited", &EventTest<&Is<kGuiFocusLost>>);
    table.RegisterHelper("controlEntered", &EventTest<&Is<kGuiFocused>>);
    table.RegisterHelper("controlHovered", &EventTest<&Is<kGuiHovered>>);
    table.RegisterHelper("controlLeft", &EventTest<&Is<kGuiLeft>>);
    table.RegisterHelper("controlDestroyed", &EventTest<&Is<kGuiElementClosed>>);
    table.RegisterHelper("buttonClicked", &EventTest<&CGuiManager::IsButtonClickedEvent>);
    table.RegisterHelper("scrollBarChanged", &EventTest<&CGuiManager::IsScrollBarChangedEvent>);
    table.RegisterHelper("checkboxClicked", &EventTest<&Is<kGuiCheckBoxChanged>>);
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
