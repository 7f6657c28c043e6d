#pragma once

// How script functions reach the engine object, and the guard of the
// functions that only the main script state may call.

#include <lua.hpp>

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

// Whether the thread is the engine's main script state's main thread: not a
// coroutine, nor any other script state that opened the module "engine".
// The main-state guard of the script interfaces (LuaPlus::kMainStateOnly).
bool IsMainScriptThread(lua_State* L);
