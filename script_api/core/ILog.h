#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface ILog (the logger's levels and writes) as the global
// "ILog" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterILog(LuaPlus::LuaState* state);
