#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IWorld (the world map and its entities) as the global
// "IWorld" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIWorld(LuaPlus::LuaState* state);
