#pragma once

#include "core/script/lua/LuaState.h"

class CScriptMetaTable;

// Publishes the script interface IWorld (the world map and its entities) as the global
// "IWorld" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIWorld(LuaPlus::LuaState* state);

// Registers every IWorld function on the table, group after group in the
// interface's order.
void RegisterIWorldFunctions(CScriptMetaTable& table);
