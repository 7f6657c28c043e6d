#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IPhysics (the physics engine) as the global
// "IPhysics" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIPhysics(LuaPlus::LuaState* state);
