#pragma once

#include "core/script/lua/LuaException.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptArg.h"

#include <lua.hpp>

#include <string>
#include <type_traits>

namespace LuaPlus
{

// A function argument borrowed from the stack for the duration of a call,
// for functions the engine calls before it returns (a callback run for each
// entry of a list): a function value, or a string naming a global function
// of the state at the moment this is made. Calls behave as LuaFunction's
// (protected, on the state's main thread, first result read as R); no
// registry reference is taken. Make it once per call: a function named by a
// string is kept on the calling thread's stack until the call returns.
template <typename R = void> class LuaStackFunction
{
    static_assert(!std::is_pointer_v<R>, "a pointer result would outlive its stack slot");

public:
    explicit LuaStackFunction(const LuaStackObject& value)
        : m_thread(value.GetCState()), m_index(value.GetIndex())
    {
        m_state = LuaState::CastState(m_thread);
        if (m_state == nullptr)
            throw LuaException("[LuaStackFunction] The Lua state was not created by the engine");
        if (value.IsString())
        {
            lua_pushvalue(m_thread, m_index);
            lua_rawget(m_thread, LUA_GLOBALSINDEX);
            m_index = lua_gettop(m_thread);
        }
        if (!lua_isfunction(m_thread, m_index))
            throw LuaException("Lua assertion failed:m_functionObj.IsFunction()");
    }

    template <typename... Args> R operator()(const Args&... args) const
    {
        lua_State* L = m_state->GetCState();
        LuaStackRestore restore(L);
        if (!lua_checkstack(L, static_cast<int>(sizeof...(Args)) + 2))
            throw LuaException("[LuaStackFunction] Not enough stack space for the call");
        PushValue(L, LuaStackObject(m_thread, m_index));
        (PushValue(L, args), ...);
        if (m_state->PCall(static_cast<int>(sizeof...(Args)), 1, 0) != 0)
            throw LuaException(GetErrorText(L, -1));
        if constexpr (!std::is_void_v<R>)
        {
            typename ScriptArg<R>::Held result = ScriptArg<R>::Get(L, -1);
            return ScriptArg<R>::Pass(result);
        }
    }

private:
    lua_State* m_thread;
    int m_index;
    LuaState* m_state = nullptr;
};

} // namespace LuaPlus
