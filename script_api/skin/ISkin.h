#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface ISkin (the GUI skin) as the global
// "ISkin" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterISkin(LuaPlus::LuaState* state);
