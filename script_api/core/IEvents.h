#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IEvents (the script event handlers) as the global
// "IEvents" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIEvents(LuaPlus::LuaState* state);
