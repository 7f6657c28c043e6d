#pragma once

#include "core/script/lua/ScriptDispatcher.h"

#include <lua.hpp>

namespace LuaPlus
{

// A parameter of an engine function that reads no argument: the Lua thread
// that made the call. A coroutine calls on its own thread, so this tells a
// call from a coroutine apart from one on the state's main thread. It takes
// the place of one argument, so it must be the function's last parameter.
struct CallingThread
{
    lua_State* L = nullptr;
};

template <> struct ScriptArg<CallingThread> : ScriptArgHeld<CallingThread>
{
    static CallingThread Get(lua_State* L, int) { return CallingThread{L}; }
};

} // namespace LuaPlus
