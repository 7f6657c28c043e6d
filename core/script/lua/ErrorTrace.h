#pragma once

// Where a script error happened, for the error report. Protected calls from
// C++ into scripts run with a message handler that notes the error's text
// and the Lua traceback at the point of the error, and hands the error
// object back unchanged (error handlers and scripts see what they always
// saw). An error that leaves a callback is raised again by the binding that
// called into the engine, at that binding's caller ("main.lua:50: " + the
// callback's text); the handler of the enclosing call then keeps the first
// note, so the report names the callback's own file, line and traceback.

#include <lua.hpp>

#include <string>

namespace LuaPlus
{

// lua_pcall of the function below the nargs arguments on top of the stack,
// with the noting message handler (it needs one free stack slot).
int PCallWithTrace(lua_State* L, int nargs, int nresults);

struct SErrorTrace
{
    // The text of the error where it was first raised.
    std::string origin;
    // "stack traceback:\n\t..." as noted there; empty when none was.
    std::string traceback;
};

// The trace of the error with this text, noted on this thread: when the
// text is the last noted error's text, or that text raised again at another
// position, that error's origin and traceback; otherwise the text itself
// and no traceback.
SErrorTrace FindErrorTrace(const std::string& message);

// The traceback of the calling thread's stack from the level on
// (1: the caller of the running C function), as Lua's debug.traceback
// writes it, with file chunks named by their full path.
std::string Traceback(lua_State* L, int level);

} // namespace LuaPlus
