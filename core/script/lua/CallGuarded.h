#pragma once

// The boundary between C++ bindings and Lua. A C++ exception must never
// reach Lua: Lua's own catch-all would turn it into a garbled error, and a
// script could not catch it with pcall. Every lua_CFunction that runs engine
// code wraps its body in CallGuarded.

#include "core/foundation/KVOError.h"
#include "core/script/lua/LuaException.h"

#include <lua.hpp>

#include <exception>
#include <string>

namespace LuaPlus
{

// Raises the message as a Lua error at the position of the Lua code that
// called the running C function ("script.lua:12: message"). Never returns.
int RaiseScriptError(lua_State* L, const std::string& message);

// Runs body (returning the number of results) and turns the engine's
// exceptions (Misc::Error::CKVOError, LuaException and the library's, all
// std::exception) into Lua errors. The error is raised only after the
// handler has ended, so no C++ exception is in flight while Lua unwinds.
// Lua's own errors pass through untouched: nothing here catches everything.
template <typename Body> int CallGuarded(lua_State* L, Body&& body)
{
    std::string message;
    try
    {
        return body();
    }
    catch (const std::exception& error)
    {
        message = error.what();
    }
    return RaiseScriptError(L, message);
}

} // namespace LuaPlus
