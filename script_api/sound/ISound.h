#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface ISound (the sound engine) as the global
// "ISound" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterISound(LuaPlus::LuaState* state);
