#pragma once

#include <lua.hpp>

namespace LuaPlus
{

// A parameter of an engine function that reads no argument: the Lua thread
// that made the call. A coroutine calls on its own thread, so this tells a
// call from a coroutine apart from one on the state's main thread. It takes
// the place of one argument, so it must be the function's last parameter;
// registering a function that has it elsewhere does not compile.
struct CallingThread
{
    lua_State* L = nullptr;
};

} // namespace LuaPlus
