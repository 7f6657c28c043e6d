#pragma once

// Calling engine functions from scripts. An engine function is a plain C++
// function that takes the calling state first, then its parameters:
//
//     std::wstring GetName(LuaPlus::LuaState* state, int index, bool full);
//
// RegisterFunction stores it in a table as a closure of
// ScriptDispatcher<signature>, one dispatcher per signature, with the
// function's address as upvalue 1. Scripts call it with colon syntax, so
// the parameters come from stack index 2 on (index 1 is the object before
// the colon). Missing or mistyped arguments read as defaults; nothing is
// validated here.

#include "core/script/lua/CallGuarded.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/WideString.h"

#include <lua.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace LuaPlus
{

// Truncation toward zero to 64 bits. NaN gives 0; infinities and values
// beyond the 64-bit range give the nearest limit.
inline int64_t NumberToInt64(lua_Number value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775808.0)
        return INT64_MAX;
    if (value < -9223372036854775808.0)
        return INT64_MIN;
    return static_cast<int64_t>(value);
}

// How one parameter type is read from the stack: Get reads the argument into
// a holder that lives for the call, Pass hands the holder to the function.
// Specialise for further types (value objects).
template <typename T, typename Enable = void> struct ScriptArg;

template <typename Held_> struct ScriptArgHeld
{
    using Held = Held_;
    static Held& Pass(Held& held) { return held; }
};

template <> struct ScriptArg<bool> : ScriptArgHeld<bool>
{
    static bool Get(lua_State* L, int index) { return lua_toboolean(L, index) != 0; }
};

// Integers: the number truncated toward zero to 64 bits (saturating), then
// the low bits that fit the type, so 4294967295 reaches an int as -1.
template <typename T>
struct ScriptArg<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> : ScriptArgHeld<T>
{
    static T Get(lua_State* L, int index)
    {
        return static_cast<T>(static_cast<uint64_t>(NumberToInt64(lua_tonumber(L, index))));
    }
};

template <typename T> struct ScriptArg<T, std::enable_if_t<std::is_floating_point_v<T>>> : ScriptArgHeld<T>
{
    static T Get(lua_State* L, int index) { return static_cast<T>(lua_tonumber(L, index)); }
};

// Narrow text: a string, or a number as its text; anything else "".
template <> struct ScriptArg<const char*> : ScriptArgHeld<const char*>
{
    static const char* Get(lua_State* L, int index)
    {
        const char* text = lua_isstring(L, index) ? lua_tostring(L, index) : nullptr;
        return text ? text : "";
    }
};

template <> struct ScriptArg<std::string> : ScriptArgHeld<std::string>
{
    static std::string Get(lua_State* L, int index)
    {
        size_t size = 0;
        const char* text = lua_isstring(L, index) ? lua_tolstring(L, index, &size) : nullptr;
        return text ? std::string(text, size) : std::string();
    }
};

// Wide text: the string decoded from UTF-8; anything else "".
template <> struct ScriptArg<std::wstring> : ScriptArgHeld<std::wstring>
{
    static std::wstring Get(lua_State* L, int index) { return lua_towstring(L, index); }
};

template <> struct ScriptArg<const wchar_t*>
{
    using Held = std::wstring;
    static std::wstring Get(lua_State* L, int index) { return lua_towstring(L, index); }
    static const wchar_t* Pass(const std::wstring& held) { return held.c_str(); }
};

// Any value, unconverted (nil when absent).
template <> struct ScriptArg<LuaObject> : ScriptArgHeld<LuaObject>
{
    static LuaObject Get(lua_State* L, int index) { return LuaObject(L, index); }
};

template <> struct ScriptArg<LuaStackObject> : ScriptArgHeld<LuaStackObject>
{
    static LuaStackObject Get(lua_State* L, int index) { return LuaStackObject(L, index); }
};

template <typename T> using ScriptArgOf = ScriptArg<std::remove_cv_t<std::remove_reference_t<T>>>;

template <typename R, typename... Args, size_t... I>
int InvokeScriptFunction(lua_State* L, R (*function)(LuaState*, Args...), LuaState* state,
                         std::index_sequence<I...>)
{
    // Braced initialisation reads the arguments in order.
    std::tuple<typename ScriptArgOf<Args>::Held...> held{
        ScriptArgOf<Args>::Get(L, static_cast<int>(I) + 2)...};
    (void)held;
    if constexpr (std::is_void_v<R>)
    {
        function(state, ScriptArgOf<Args>::Pass(std::get<I>(held))...);
        return 0;
    }
    else
    {
        PushValue(L, function(state, ScriptArgOf<Args>::Pass(std::get<I>(held))...));
        return 1;
    }
}

// The lua_CFunction for one signature. Exceptions of the function become
// script errors at the caller's position (see CallGuarded).
template <typename R, typename... Args> int ScriptDispatcher(lua_State* L)
{
    return CallGuarded(
        L,
        [L]() -> int
        {
            R (*function)(LuaState*, Args...) = nullptr;
            std::memcpy(&function, lua_touserdata(L, lua_upvalueindex(1)), sizeof function);
            LuaState* state = LuaState::CastState(L);
            if (!state)
                throw LuaException("[ScriptDispatcher] The calling Lua state was not created by the engine");
            return InvokeScriptFunction(L, function, state, std::index_sequence_for<Args...>{});
        });
}

// Sets table[name] to a closure of the function's dispatcher.
template <typename R, typename... Args>
void RegisterFunction(LuaObject& table, const char* name, R (*function)(LuaState*, Args...))
{
    table.Register(name, &ScriptDispatcher<R, Args...>, &function, sizeof function);
}

} // namespace LuaPlus
