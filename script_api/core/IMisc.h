#pragma once

#include "core/script/lua/LuaState.h"

// Publishes the script interface IMisc (the script class system and the
// value and geometry functions) as the global "IMisc" of the state, then
// fills the value class tables CPointScript, CVectorScript, CRectScript and
// CColorScript. Registering again replaces the global with a fresh table;
// the class tables are reused.
void RegisterIMisc(LuaPlus::LuaState* state);
