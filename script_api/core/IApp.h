#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IApp (the application: scripts, loop control, dialogs, files, search paths,
// options and translations) as the global "IApp" of the state, with a read-only metatable. Registering again
// replaces the global with a fresh table.
void RegisterIApp(LuaPlus::LuaState* state);
