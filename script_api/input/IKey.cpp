// IKey: named key actions on the engine's key map. Scripts bind keys to
// actions, load and save the bindings as ".kvokey" files and poll the
// actions' states once a frame; the key map follows the key events itself.

#include "script_api/input/IKey.h"

#include "core/foundation/Logger.h"
#include "core/foundation/WideFormat.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/input/InputKeyMap.h"
#include "gui/manager/InputKeyMapOf.h"
#include "platform/Terminal.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/ScriptInterface.h"

#include <string>

using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

using Graphics::GUI::CInputKeyMap;

CInputKeyMap& KeyMap()
{
    return Graphics::GUI::InputKeyMapOf(*GetScriptGraphicsEngine().GetGuiManager());
}

// Key codes are 16-bit: scripts' numbers keep their low bits.
uint16_t ToKeyCode(int32_t keyCode)
{
    return static_cast<uint16_t>(keyCode & 0xFFFF);
}

CInputKeyMap::SActionKeyCode& Binding(const std::wstring& action, int32_t index)
{
    return KeyMap().GetKeyCode(action, index);
}

// One key from the console; -1 at once when standard input is no terminal.
int32_t getch(LuaState*)
{
    return Platform::ReadKeyFromTerminal(0);
}

void clear(LuaState*)
{
    KeyMap().Clear();
}

void reset(LuaState*)
{
    KeyMap().Reset();
}

void addActionKeyCode(LuaState*, const std::wstring& action, const std::wstring& description, int32_t keyCode,
                      bool shift, bool control)
{
    KeyMap().AddActionKeyCode(action, description, ToKeyCode(keyCode), shift, control);
}

void removeAction(LuaState*, const std::wstring& action)
{
    KeyMap().RemoveAction(action);
}

bool actionExists(LuaState*, const std::wstring& action)
{
    return KeyMap().ActionExists(action);
}

int32_t loadCodes(LuaState*, const std::wstring& fileName)
{
    const auto count = static_cast<int32_t>(KeyMap().Load(fileName));
    Misc::CLogger::WriteSystem(L"[IKey::loadCodes] Loaded %i key codes"_fmt, count);
    return count;
}

int32_t saveCodes(LuaState*, const std::wstring& fileName, const std::string& mode)
{
    return static_cast<int32_t>(KeyMap().Save(fileName, mode));
}

// The names are copied before the first call, so the callback may change
// the map.
void forEachKeyCode(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    const LuaPlus::LuaStackFunction<bool> call(callback);
    for (const std::wstring& action : KeyMap().GetActionNames())
    {
        if (call(std::wstring_view(action), userData))
            return;
    }
}

// Counting creates nothing: asking about a name does not make it an action.
int32_t getActionKeyCount(LuaState*, const std::wstring& action)
{
    return static_cast<int32_t>(KeyMap().CountActionKeys(action));
}

int32_t getActionKeyCode(LuaState*, const std::wstring& action, int32_t index)
{
    return Binding(action, index).keyCode;
}

void setActionKeyCode(LuaState*, const std::wstring& action, int32_t index, int32_t keyCode)
{
    Binding(action, index).keyCode = ToKeyCode(keyCode);
}

std::wstring getActionKeyCodeHex(LuaState*, const std::wstring& action, int32_t index)
{
    return Misc::Text::FormatWide(0, L"0x%02X"_fmt, static_cast<uint32_t>(Binding(action, index).keyCode));
}

std::wstring getActionKeyDescription(LuaState*, const std::wstring& action, int32_t index)
{
    return Binding(action, index).description;
}

void setActionKeyDescription(LuaState*, const std::wstring& action, int32_t index,
                             const std::wstring& description)
{
    Graphics::GUI::CInputKeyMap::CheckDescription(description, L"IKey::setActionKeyDescription");
    Binding(action, index).description = description;
}

bool getActionKeyShiftState(LuaState*, const std::wstring& action, int32_t index)
{
    return Binding(action, index).shift;
}

void setActionKeyShiftState(LuaState*, const std::wstring& action, int32_t index, bool shift)
{
    Binding(action, index).shift = shift;
}

bool getActionKeyControlState(LuaState*, const std::wstring& action, int32_t index)
{
    return Binding(action, index).control;
}

void setActionKeyControlState(LuaState*, const std::wstring& action, int32_t index, bool control)
{
    Binding(action, index).control = control;
}

bool isActionKeyOn(LuaState*, const std::wstring& action, int32_t index)
{
    return Binding(action, index).on;
}

bool isActionKeyToggled(LuaState*, const std::wstring& action, int32_t index)
{
    return Binding(action, index).toggled;
}

bool isActionOn(LuaState*, const std::wstring& action)
{
    return KeyMap().IsActionOn(action);
}

void setActionOn(LuaState*, const std::wstring& action, bool on)
{
    KeyMap().SetActionOn(action, on);
}

bool isActionToggled(LuaState*, const std::wstring& action)
{
    return KeyMap().IsActionToggled(action);
}

void setActionToggled(LuaState*, const std::wstring& action, bool toggled)
{
    KeyMap().SetActionToggled(action, toggled);
}

// Each click is reported once: reading it clears it.
bool isActionClicked(LuaState*, const std::wstring& action)
{
    return KeyMap().IsActionClicked(action, true);
}

void RegisterIKeyFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getch", &getch);
    table.RegisterHelper("clear", &clear);
    table.RegisterHelper("reset", &reset);
    table.RegisterHelper("addActionKeyCode", &addActionKeyCode);
    table.RegisterHelper("removeAction", &removeAction);
    table.RegisterHelper("actionExists", &actionExists);
    table.RegisterHelper("loadCodes", &loadCodes);
    table.RegisterHelper("saveCodes", &saveCodes);
    table.RegisterHelper("forEachKeyCode", &forEachKeyCode);
    table.RegisterHelper("getActionKeyCount", &getActionKeyCount);
    table.RegisterHelper("getActionKeyCode", &getActionKeyCode);
    table.RegisterHelper("setActionKeyCode", &setActionKeyCode);
    table.RegisterHelper("getActionKeyCodeHex", &getActionKeyCodeHex);
    table.RegisterHelper("getActionKeyDescription", &getActionKeyDescription);
    table.RegisterHelper("setActionKeyDescription", &setActionKeyDescription);
    table.RegisterHelper("getActionKeyShiftState", &getActionKeyShiftState);
    table.RegisterHelper("setActionKeyShiftState", &setActionKeyShiftState);
    table.RegisterHelper("getActionKeyControlState", &getActionKeyControlState);
    table.RegisterHelper("setActionKeyControlState", &setActionKeyControlState);
    table.RegisterHelper("isActionKeyOn", &isActionKeyOn);
    table.RegisterHelper("isActionKeyToggled", &isActionKeyToggled);
    table.RegisterHelper("isActionOn", &isActionOn);
    table.RegisterHelper("setActionOn", &setActionOn);
    table.RegisterHelper("isActionToggled", &isActionToggled);
    table.RegisterHelper("setActionToggled", &setActionToggled);
    table.RegisterHelper("isActionClicked", &isActionClicked);
}

} // namespace

void RegisterIKey(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IKey", {&RegisterIKeyFunctions});
}
