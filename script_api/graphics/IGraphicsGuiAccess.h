#pragma once

// What the IGraphics GUI functions share: the GUI manager of the engine's
// graphics engine, controls looked up by name, and control names as scripts
// see them.

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"

#include <string>

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
bool IsInternalName(const std::wstring& name);
// The control's name as scripts get it: nil for no control, for a control
// whose id has no name, an empty name or an internal one.
LuaPlus::LuaObject NameOrNil(LuaPlus::LuaState* state, irr::gui::IGUIElement* element);
// The text, or nil for none.
LuaPlus::LuaObject TextOrNil(LuaPlus::LuaState* state, const std::wstring* text);

} // namespace IGraphicsGui

// The groups of IGraphics functions on the GUI manager, in their order.
void RegisterIGraphicsGuiControls(CScriptMetaTable& table);
void RegisterIGraphicsGuiEvents(CScriptMetaTable& table);
void RegisterIGraphicsGuiProperties(CScriptMetaTable& table);
void RegisterIGraphicsGuiLayout(CScriptMetaTable& table);
void RegisterIGraphicsGuiShortcuts(CScriptMetaTable& table);
