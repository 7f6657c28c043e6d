#pragma once

#include "core/script/lua/LuaException.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptDispatcher.h"

#include <lua.hpp>

#include <string>
#include <type_traits>

namespace LuaPlus
{

// A script function called from C++: its arguments are pushed by PushValue,
// it runs in protected mode on the state's main thread and its first result
// is read as R (void for none; bool, numbers, std::string, std::wstring or
// LuaObject). A script error throws LuaException with the script's message.
template <typename R = void> class LuaFunction
{
    static_assert(!std::is_pointer_v<R>, "a pointer result would outlive its stack slot");

public:
    // A function value, or a string naming a global function of its state.
    explicit LuaFunction(const LuaObject& function) : m_functionObj(function)
    {
        if (m_functionObj.IsString())
            m_functionObj = m_functionObj.GetState()->GetGlobals().Get(m_functionObj.GetString());
        if (!m_functionObj.IsFunction())
            throw LuaException("Lua assertion failed:m_functionObj.IsFunction()");
    }

    template <typename... Args> R operator()(const Args&... args) const
    {
        LuaState* state = m_functionObj.GetState();
        lua_State* L = state->GetCState();
        LuaStackRestore restore(L);
        if (!lua_checkstack(L, static_cast<int>(sizeof...(Args)) + 2))
            throw LuaException("[LuaFunction] Not enough stack space for the call");
        m_functionObj.Push(L);
        (PushValue(L, args), ...);
        if (state->PCall(static_cast<int>(sizeof...(Args)), 1, 0) != 0)
            throw LuaException(GetErrorText(L, -1));
        if constexpr (!std::is_void_v<R>)
        {
            typename ScriptArg<R>::Held result = ScriptArg<R>::Get(L, -1);
            return ScriptArg<R>::Pass(result);
        }
    }

private:
    LuaObject m_functionObj;
};

} // namespace LuaPlus
