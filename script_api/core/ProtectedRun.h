#pragma once

// Running engine code that may run scripts, so that a script error it raises
// ends inside and comes back as text.

#include <functional>
#include <string>

namespace LuaPlus
{
class LuaState;
}

// Runs the action in protected mode on the state's main thread, where the
// engine loads and runs scripts: a script error it raises there (or an
// engine error, as its message) ends there and comes back as its text
// (false).
bool RunProtected(LuaPlus::LuaState* state, const std::function<void()>& action, std::string& error);
