#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IGraphics (the graphics engine and its scene) as the global
// "IGraphics" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIGraphics(LuaPlus::LuaState* state);
