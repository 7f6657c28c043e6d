#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IMouse (the mouse) as the global
// "IMouse" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIMouse(LuaPlus::LuaState* state);
