#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IKey (the keyboard) as the global
// "IKey" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIKey(LuaPlus::LuaState* state);
