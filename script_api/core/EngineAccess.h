#pragma once

// How script functions reach the engine object, and the guard of the
// functions that only the main script state may call.

#include "core/script/lua/CallingThread.h"

class CApplication;
class CScriptManager;

// The engine object; an error when none has been published.
CScriptManager& GetScriptEngine();
// The engine object's application object.
CApplication& GetScriptApplication();

// Throws Misc::Error::CKVOError with the message unless the call was made on
// the engine's main script state, on its main thread: a coroutine, or any
// other script state that opened the module "engine", is refused.
void CheckMainState(const LuaPlus::CallingThread& caller, const wchar_t* message);
