#pragma once

// Calling engine functions from scripts. An engine function is a plain C++
// function that takes the calling state first, then its parameters:
//
//     std::wstring GetName(LuaPlus::LuaState* state, int index, bool full);
//
// Registered on a table (CScriptMetaTable::RegisterHelper), it becomes a
// closure of ScriptDispatcher<signature> (one dispatcher per signature)
// whose upvalue 1 is the function's ScriptBinding. Scripts call it with
// colon syntax, so the parameters come from stack index 2 on (index 1 is the
// object before the colon), read by ScriptArg<T> (ScriptArg.h): missing or
// mistyped arguments read as defaults. Parameter types beyond the plain ones:
// - LuaObject: any value, kept in the registry (the engine keeps it);
// - LuaStackObject, LuaStackTable: any value / a table, borrowed from the
//   stack for the call (LuaStackTable.h, LuaStackFunction.h);
// - ScriptHandle<T>, OptionalScriptHandle<T>: a live object named by a
//   handle, or the call fails (ScriptHandle.h);
// - value types (CVector, ...): see script_api/core/ValueScript.h;
// - CallingThread: the calling Lua thread; it must be the last parameter.
// The result is pushed by PushValue (LuaObject.h), or nothing for void.
//
// Every binding knows its qualified name ("IEvents::subscribe"): an argument
// that refuses its value (ScriptArgumentError) fails the call with
// "[IEvents::subscribe] <text>". A function registered with kMainStateOnly
// refuses, before it reads any argument, calls from anywhere but the
// engine's main script state on its main thread.
//
// The one exception to this mechanism are the methods of the value classes
// (CPointScript, ...) and the IMisc functions that create their objects:
// they are plain lua_CFunctions that find `self`, and their class tables as
// upvalues, with the small mechanism of ValueScript.h.

#include "core/script/lua/CallGuarded.h"
#include "core/script/lua/CallingThread.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptArg.h"
#include "core/script/lua/WideString.h"

#include <lua.hpp>

#include <cstdint>
#include <exception>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace LuaPlus
{

// Registration flags of an engine function.
enum ScriptFunctionFlags : unsigned
{
    kNoFlags = 0,
    // Only the engine's main script state, on its main thread, may call it;
    // a call from a coroutine or another state raises "[<name>] Can only be
    // called from the main Lua state.".
    kMainStateOnly = 1u << 0,
};

// Whether the calling thread is the engine's main script state's main
// thread (installed by whoever registers guarded functions).
using MainStateTest = bool (*)(lua_State* caller);

// What the closure of one registered function holds as upvalue 1. The
// qualified name and the guard message follow the structure in the same
// block, each ending in a zero byte.
struct ScriptBinding
{
    void (*function)();          // the engine function, as its dispatcher casts it back
    LuaState* state;             // the state the closure lives on (and so every caller's)
    MainStateTest mainStateTest; // null: callable from anywhere
    uint32_t nameLength;         // bytes of the qualified name

    const char* QualifiedName() const { return reinterpret_cast<const char*>(this + 1); }
    const char* GuardMessage() const { return QualifiedName() + nameLength + 1; }
};

// True when CallingThread is nowhere but last among the parameters.
template <typename... Args> constexpr bool CallingThreadIsLast()
{
    constexpr bool isThread[] = {std::is_same_v<std::decay_t<Args>, CallingThread>..., false};
    for (size_t i = 0; i + 1 < sizeof...(Args); ++i)
        if (isThread[i])
            return false;
    return true;
}

template <typename R, typename... Args, size_t... I>
int InvokeScriptFunction(lua_State* L, R (*function)(LuaState*, Args...), LuaState* state,
                         std::index_sequence<I...>)
{
    // A borrowed argument names its stack slot: a missing one becomes a nil
    // in its own slot, so that nothing the function pushes can take its
    // place.
    if constexpr ((std::is_base_of_v<LuaStackObject, std::decay_t<Args>> || ...))
    {
        constexpr int kLastArgument = static_cast<int>(sizeof...(Args)) + 1;
        if (lua_gettop(L) < kLastArgument)
            lua_settop(L, kLastArgument);
    }
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
// script errors at the caller's position (see CallGuarded); the error is
// raised once no C++ frame of the call is left.
template <typename R, typename... Args> int ScriptDispatcher(lua_State* L)
{
    static_assert(CallingThreadIsLast<Args...>(), "CallingThread must be the last parameter");
    const auto& binding = *static_cast<const ScriptBinding*>(lua_touserdata(L, lua_upvalueindex(1)));
    std::string message;
    try
    {
        if (binding.mainStateTest != nullptr && !binding.mainStateTest(L))
            message = binding.GuardMessage();
        else
            return InvokeScriptFunction(L, reinterpret_cast<R (*)(LuaState*, Args...)>(binding.function),
                                        binding.state, std::index_sequence_for<Args...>{});
    }
    catch (const ScriptArgumentError& error)
    {
        message = std::string("[") + binding.QualifiedName() + "] " + error.what();
    }
    catch (const std::exception& error)
    {
        message = error.what();
    }
    return RaiseScriptError(L, message);
}

// Sets table[name] to a closure of the function's dispatcher, bound to the
// qualified name; a non-empty guard message makes the call refuse every
// thread that mainStateTest does not accept.
void RegisterBinding(LuaObject& table, const char* name, lua_CFunction dispatcher, void (*function)(),
                     const std::string& qualifiedName, MainStateTest mainStateTest,
                     const std::string& guardMessage);

template <typename R, typename... Args>
void RegisterFunction(LuaObject& table, const char* name, R (*function)(LuaState*, Args...),
                      const std::string& qualifiedName, MainStateTest mainStateTest = nullptr,
                      const std::string& guardMessage = std::string())
{
    static_assert(CallingThreadIsLast<Args...>(),
                  "CallingThread must be the last parameter: it takes the place of one argument");
    RegisterBinding(table, name, &ScriptDispatcher<R, Args...>, reinterpret_cast<void (*)()>(function),
                    qualifiedName, mainStateTest, guardMessage);
}

} // namespace LuaPlus
