#pragma once

// What the IGraphics GUI functions share: the GUI manager of the engine's
// graphics engine, controls looked up by name, and control names as scripts
// see them.

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptResolved.h"

#include <memory_resource>
#include <string>
#include <string_view>

class CScriptMetaTable;

namespace irr::gui
{
class IGUIElement;
}
namespace Graphics::GUI
{
class CGuiManager;
}

namespace IGraphicsGui
{

// The GUI manager; an error when the engine has no graphics engine.
Graphics::GUI::CGuiManager& GetGui();
// The control of the name (the empty name: the GUI parent); an unknown
// name raises "[CGuiManager::GetElement] Cannot find gui element:%s".
irr::gui::IGUIElement* GetControl(const std::wstring& name);
// Whether the name marks a control of the engine's own.
bool IsInternalName(std::wstring_view name);
// The GUI manager as the object of a row's method; it reads no argument.
using TheGui = LuaPlus::Resolved<LuaPlus::Current<Graphics::GUI::CGuiManager, &GetGui>>;

// One of the GUI manager's parts (CGuiManager::GetTabs, ...) as the object of
// a row's method, for the operations that are the part's and not the
// manager's own; it reads no argument. The file that names one includes the
// manager's face and the part's header:
//
//     using TheTabs = TheGuiPart<CGuiTabOperations, &CGuiManager::GetTabs>;
//     table.RegisterMethod<TheTabs, Control>("getTabCount", &CGuiTabOperations::GetCount);
template <class Part, Part& (Graphics::GUI::CGuiManager::*GetPart)()> Part& GetGuiPart()
{
    return (GetGui().*GetPart)();
}
template <class Part, Part& (Graphics::GUI::CGuiManager::*GetPart)()>
using TheGuiPart = LuaPlus::Resolved<LuaPlus::Current<Part, &GetGuiPart<Part, GetPart>>>;

// A control named by a wide text argument, as GetControl finds it.
struct ControlLookup
{
    using Object = irr::gui::IGUIElement;
    static Object* Resolve(lua_State* L, int index);
};
// A GUI function's control, resolved before the function runs:
//
//     table.RegisterMethod<TheGui, Control>("isControlVisible", &CGuiManager::IsElementVisible);
using Control = LuaPlus::Resolved<ControlLookup>;

// The control's name as scripts get it: nil for no control, for a control
// whose id has no name, an empty name or an internal one.
LuaPlus::LuaObject NameOrNil(LuaPlus::LuaState* state, irr::gui::IGUIElement* element);

} // namespace IGraphicsGui

// The groups of IGraphics functions on the GUI manager, in their order.
void RegisterIGraphicsGuiControls(CScriptMetaTable& table);
void RegisterIGraphicsGuiEvents(CScriptMetaTable& table);
void RegisterIGraphicsGuiProperties(CScriptMetaTable& table);
void RegisterIGraphicsGuiLists(CScriptMetaTable& table);
void RegisterIGraphicsGuiTables(CScriptMetaTable& table);
void RegisterIGraphicsGuiLayout(CScriptMetaTable& table);
void RegisterIGraphicsGuiShortcuts(CScriptMetaTable& table);
