#pragma once

// How script functions reach the engine object, and the guard of the
// functions that only the main script state may call.

#include "core/script/lua/CallingThread.h"

class CApplication;
class CScriptManager;
namespace Graphics
{
class CGraphicsEngine;
}

// The engine object; an error when none has been published.
CScriptManager& GetScriptEngine();
// The engine object's application object.
CApplication& GetScriptApplication();
// The engine object's graphics engine, or null when the program was put
// together without one (tests of the core).
Graphics::CGraphicsEngine* FindScriptGraphicsEngine();
// The same; an error when there is none.
Graphics::CGraphicsEngine& GetScriptGraphicsEngine();

// Throws Misc::Error::CKVOError with the message unless the call was made on
// the engine's main script state, on its main thread: a coroutine, or any
// other script state that opened the module "engine", is refused.
void CheckMainState(const LuaPlus::CallingThread& caller, const wchar_t* message);
