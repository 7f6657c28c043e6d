// IGraphics: tooltips on controls and keyboard shortcuts that raise a
// control's GUI event.

#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "gui/manager/GuiManager.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

using Graphics::GUI::CGuiManager;
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

// Key codes are 16-bit virtual-key codes; anything else is refused rather
// than cut to another key.
struct KeyCodeNoun
{
    static constexpr const char* kNoun = "key code";
};
using KeyCode = LuaPlus::Exact<uint16_t, KeyCodeNoun>;

bool createShortcut(LuaState*, const std::wstring& name, uint32_t eventType, KeyCode keyCode, bool shift,
                    bool control, bool unique)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    GetControl(name);
    return gui.AddShortcut(keyCode, shift, control, name, eventType, unique) > 0;
}

bool shortcutExists(LuaState*, const std::wstring& name)
{
    return GetGui().ShortcutExists(name);
}

bool shortcutExistsAny(LuaState*, KeyCode keyCode, bool shift, bool control)
{
    return GetGui().ShortcutKeyExists(keyCode, shift, control);
}

uint32_t getShortcutEventType(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().GetShortcuts().FindOf(name);
    return binding != nullptr ? binding->second.type : 0;
}

uint32_t getShortcutKeyCode(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().GetShortcuts().FindOf(name);
    return binding != nullptr ? binding->first.keyCode : 0;
}

bool getShortcutShiftOn(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().GetShortcuts().FindOf(name);
    return binding != nullptr && binding->first.shift;
}

bool getShortcutControlOn(LuaState*, const std::wstring& name)
{
    const auto* binding = GetGui().GetShortcuts().FindOf(name);
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
    table.RegisterMethod<TheGui, Control>("tooltipExists", &CGuiManager::HasElementToolTip);
    table.RegisterMethod<TheGui, Control>("getTooltipLabel", &CGuiManager::GetElementToolTip);
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
