#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IState (the application state queue) as the global
// "IState" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIState(LuaPlus::LuaState* state);
