#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the twelve script interfaces on the state, in this order: IApp,
// IMisc, ILog, IState, IEvents, IGraphics, ISkin, IPhysics, ISound, IKey,
// IMouse, IWorld. Runs for the main script state and for every state that
// opens the module "engine"; running it again replaces the globals.
void RegisterScriptInterfaces(LuaPlus::LuaState* state);
