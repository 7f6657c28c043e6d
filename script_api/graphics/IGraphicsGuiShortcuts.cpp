// IGraphics: tooltips on controls and keyboard shortcuts that raise a
// control's GUI event.

#include "core/foundation/KVOError.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <cmath>

using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool createTooltip(LuaState*, const std::wstring& name, const std::wstring& text)
{
    GetGui().SetElementToolTip(GetControl(name), text);
    return true;
}

bool removeTooltip(LuaState*, const std::wstring& name)
{
    GetGui().SetElementToolTip(GetControl(name), L"");
    return true;
}

bool tooltipExists(LuaState*, const std::wstring& name)
{
    return GetGui().HasElementToolTip(GetControl(name));
}

std::wstring getTooltipLabel(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementToolTip(GetControl(name));
}

// Key codes are 16-bit virtual-key codes; anything else is refused rather
// than cut to another key.
uint16_t KeyCode(double value, const wchar_t* function)
{
    if (!(value >= 0 && value <= 0xFFFF) || std::floor(value) != value)
        throw Misc::Error::CKVOError::Format(L"[IGraphics::%s] Invalid key code:%f", function, value);
    return static_cast<uint16_t>(value);
}

bool createShortcut(LuaState*, const std::wstring& name, uint32_t eventType, double keyCode, bool shift,
                    bool control, bool unique)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    GetControl(name);
    return gui.AddShortcut(KeyCode(keyCode, L"createShortcut"), shift, control, name, eventType, unique) > 0;
}

bool shortcutExists(LuaState*, const std::wstring& name)
{
    return GetGui().ShortcutExists(name);
}

bool shortcutExistsAny(LuaState*, double keyCode, bool shift, bool control)
{
    return GetGui().ShortcutKeyExists(KeyCode(keyCode, L"shortcutExistsAny"), shift, control);
}

uint32_t getShortcutEventType(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().FindShortcutOf(name);
    return binding != nullptr ? binding->second.type : 0;
}

uint32_t getShortcutKeyCode(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().FindShortcutOf(name);
    return binding != nullptr ? binding->first.keyCode : 0;
}

bool getShortcutShiftOn(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().FindShortcutOf(name);
    return binding != nullptr && binding->first.shift;
}

bool getShortcutControlOn(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().FindShortcutOf(name);
    return binding != nullptr && binding->first.control;
}

bool removeShortcuts(LuaState*, const std::wstring& name)
{
    return GetGui().RemoveShortcuts(name) > 0;
}

bool removeAllShortcuts(LuaState*)
{
    GetGui().ClearShortcuts();
    return true;
}

} // namespace

void RegisterIGraphicsGuiShortcuts(CScriptMetaTable& table)
{
    table.RegisterHelper("createTooltip", &createTooltip);
    table.RegisterHelper("removeTooltip", &removeTooltip);
    table.RegisterHelper("tooltipExists", &tooltipExists);
    table.RegisterHelper("getTooltipLabel", &getTooltipLabel);
    table.RegisterHelper("createShortcut", &createShortcut);
    table.RegisterHelper("shortcutExists", &shortcutExists);
    table.RegisterHelper("shortcutExistsAny", &shortcutExistsAny);
    table.RegisterHelper("getShortcutEventType", &getShortcutEventType);
    table.RegisterHelper("getShortcutKeyCode", &getShortcutKeyCode);
    table.RegisterHelper("getShortcutShiftOn", &getShortcutShiftOn);
    table.RegisterHelper("getShortcutControlOn", &getShortcutControlOn);
    table.RegisterHelper("removeShortcuts", &removeShortcuts);
    table.RegisterHelper("removeAllShortcuts", &removeAllShortcuts);
}
