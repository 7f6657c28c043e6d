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
// - Saturating<T>, Exact<T>, Index: whole numbers by a rule of their own
//   (ScriptNumbers.h);
// - ScriptHandle<T>, OptionalScriptHandle<T>: a live object named by a
//   handle, or the call fails (ScriptHandle.h);
// - Resolved<Lookup>: the object a text names (an entity id, a control
//   name, a joint id, a sound name), or the object a lookup gives without
//   reading an argument (the GUI manager) (ScriptResolved.h);
// - value types (CVector, ...): see script_api/core/ValueScript.h;
// - CallingThread: the calling Lua thread; it must be the last parameter.
// The result is pushed by PushValue (LuaObject.h), or nothing for void.
//
// A method of an engine object is bound the same way, with no function of
// its own (CScriptMetaTable::RegisterMethod): the first parameter type
// gives the object (a Resolved or a handle), the others are the method's
// arguments.
//
// An argument whose object is missing in a way that is no error (a sound
// name that names no sound; see ScriptArg's IsAbsent) stops the call before
// the function runs: the call answers the absent result of the function's
// type, nothing for void, false for bool, 0 for numbers, nil for anything
// else. A method whose object is null is not called either.
//
// Every binding knows its qualified name ("IEvents::subscribe"): an argument
// that refuses its value (ScriptArgumentError) fails the call with
// "[IEvents::subscribe] <text>"; the engine's own errors (a lookup's
// documented "[CWorldMap::GetUnit] ..." message) pass through as they are.
// A function registered with kMainStateOnly refuses, before it reads any
// argument, calls from anywhere but the engine's main script state on its
// main thread.
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

#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

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
    // The engine function or method pointer, as its dispatcher reads it
    // back (a method pointer takes two words).
    alignas(void*) unsigned char callable[2 * sizeof(void*)];
    LuaState* state;             // the state the closure lives on (and so every caller's)
    MainStateTest mainStateTest; // null: callable from anywhere
    uint32_t nameLength;         // bytes of the qualified name

    template <typename Callable> Callable Get() const
    {
        static_assert(sizeof(Callable) <= sizeof callable && std::is_trivially_copyable_v<Callable>);
        Callable result;
        std::memcpy(&result, callable, sizeof result);
        return result;
    }
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

// The stack slots a parameter reads (ScriptArg's kSlots; 1 by default).
template <typename T, typename = void> struct ScriptArgSlots : std::integral_constant<int, 1>
{
};
template <typename T>
struct ScriptArgSlots<T, std::void_t<decltype(ScriptArgOf<T>::kSlots)>>
    : std::integral_constant<int, ScriptArgOf<T>::kSlots>
{
};

// Whether a parameter can stop the call as absent (ScriptArg's IsAbsent).
template <typename T, typename = void> struct ScriptArgCanBeAbsent : std::false_type
{
};
template <typename T>
struct ScriptArgCanBeAbsent<
    T, std::void_t<decltype(ScriptArgOf<T>::IsAbsent(std::declval<const typename ScriptArgOf<T>::Held&>()))>>
    : std::true_type
{
};

template <typename T> bool IsAbsentArgument(const typename ScriptArgOf<T>::Held& held)
{
    if constexpr (ScriptArgCanBeAbsent<T>::value)
        return ScriptArgOf<T>::IsAbsent(held);
    else
        return false;
}

// The stack index of each parameter: the first at 2, each after the slots
// of the ones before it.
template <typename... Args> constexpr std::array<int, sizeof...(Args)> ArgumentIndices()
{
    std::array<int, sizeof...(Args)> indices{};
    constexpr int slots[] = {ScriptArgSlots<Args>::value..., 0};
    int next = 2;
    for (size_t i = 0; i < sizeof...(Args); ++i)
    {
        indices[i] = next;
        next += slots[i];
    }
    return indices;
}

// What a call answers when it does not run for an absent object.
template <typename R> int PushAbsentResult(lua_State* L)
{
    using Value = std::decay_t<R>;
    if constexpr (std::is_void_v<R>)
    {
        return 0;
    }
    else
    {
        if constexpr (std::is_same_v<Value, bool>)
            lua_pushboolean(L, 0);
        else if constexpr (std::is_arithmetic_v<Value>)
            lua_pushnumber(L, 0);
        else
            lua_pushnil(L);
        return 1;
    }
}

// Reads the arguments of the parameter types Args, then hands them to call
// and pushes its result (of type R).
template <typename R, typename... Args, typename Call, size_t... I>
int InvokeWithArguments(lua_State* L, const Call& call, std::index_sequence<I...>)
{
    constexpr std::array<int, sizeof...(Args)> kIndex = ArgumentIndices<Args...>();
    (void)kIndex;
    // A borrowed argument names its stack slot: a missing one becomes a nil
    // in its own slot, so that nothing the function pushes can take its
    // place.
    if constexpr ((std::is_base_of_v<LuaStackObject, std::decay_t<Args>> || ...))
    {
        constexpr int kLastArgument = 1 + (ScriptArgSlots<Args>::value + ... + 0);
        if (lua_gettop(L) < kLastArgument)
            lua_settop(L, kLastArgument);
    }
    // Braced initialisation reads the arguments in order.
    std::tuple<typename ScriptArgOf<Args>::Held...> held{ScriptArgOf<Args>::Get(L, kIndex[I])...};
    (void)held;
    if constexpr ((ScriptArgCanBeAbsent<Args>::value || ...))
    {
        if ((IsAbsentArgument<Args>(std::get<I>(held)) || ...))
            return PushAbsentResult<R>(L);
    }
    if constexpr (std::is_void_v<R>)
    {
        call(ScriptArgOf<Args>::Pass(std::get<I>(held))...);
        return 0;
    }
    else
    {
        PushValue(L, call(ScriptArgOf<Args>::Pass(std::get<I>(held))...));
        return 1;
    }
}

// Runs one call of a binding: the guard, then body (returning the number of
// results). Exceptions of the function become script errors at the
// caller's position (see CallGuarded); the error is raised once no C++
// frame of the call is left.
template <typename Body> int DispatchBinding(lua_State* L, const Body& body)
{
    const auto& binding = *static_cast<const ScriptBinding*>(lua_touserdata(L, lua_upvalueindex(1)));
    std::string message;
    try
    {
        if (binding.mainStateTest != nullptr && !binding.mainStateTest(L))
            message = binding.GuardMessage();
        else
            return body(binding);
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

// The lua_CFunction for one signature.
template <typename R, typename... Args> int ScriptDispatcher(lua_State* L)
{
    static_assert(CallingThreadIsLast<Args...>(), "CallingThread must be the last parameter");
    return DispatchBinding(
        L,
        [L](const ScriptBinding& binding)
        {
            const auto function = binding.Get<R (*)(LuaState*, Args...)>();
            LuaState* state = binding.state;
            return InvokeWithArguments<R, Args...>(
                L,
                [function, state](auto&&... arguments) -> R
                { return function(state, std::forward<decltype(arguments)>(arguments)...); },
                std::index_sequence_for<Args...>{});
        });
}

// What a registration tells a listener (the tool that writes the skeleton
// of the script reference): each parameter's C++ type and the argument
// slots it reads (0: none, as the calling thread or the GUI manager), and
// the result's type (void: nothing).
struct ScriptParameterNote
{
    const std::type_info* type;
    int slots;
};
using RegistrationListener = void (*)(const std::string& qualifiedName,
                                      const std::vector<ScriptParameterNote>& parameters,
                                      const std::type_info& result);
// One listener for the process (null: none, the default).
void SetRegistrationListener(RegistrationListener listener);
RegistrationListener GetRegistrationListener();

template <typename R, typename... Args> void NoteRegistration(const std::string& qualifiedName)
{
    if (const RegistrationListener listener = GetRegistrationListener())
        listener(qualifiedName,
                 {ScriptParameterNote{&typeid(Args), std::is_same_v<std::decay_t<Args>, CallingThread>
                                                         ? 0
                                                         : ScriptArgSlots<Args>::value}...},
                 typeid(R));
}

// Sets table[name] to a closure of the dispatcher, bound to the function
// (size bytes at callable) and the qualified name; a non-empty guard
// message makes the call refuse every thread that mainStateTest does not
// accept.
void RegisterBinding(LuaObject& table, const char* name, lua_CFunction dispatcher, const void* callable,
                     size_t size, const std::string& qualifiedName, MainStateTest mainStateTest,
                     const std::string& guardMessage);

template <typename R, typename... Args>
void RegisterFunction(LuaObject& table, const char* name, R (*function)(LuaState*, Args...),
                      const std::string& qualifiedName, MainStateTest mainStateTest = nullptr,
                      const std::string& guardMessage = std::string())
{
    static_assert(CallingThreadIsLast<Args...>(),
                  "CallingThread must be the last parameter: it takes the place of one argument");
    RegisterBinding(table, name, &ScriptDispatcher<R, Args...>, &function, sizeof function, qualifiedName,
                    mainStateTest, guardMessage);
    NoteRegistration<R, Args...>(qualifiedName);
}

// Methods. The parameter types a method's arguments are read as.
template <typename... Types> struct ScriptTypeList
{
};

// What a method pointer is: its class, result and parameters.
template <typename Method> struct ScriptMethodTraits;
template <typename R, typename C, typename... Params> struct ScriptMethodTraits<R (C::*)(Params...)>
{
    using Result = R;
    using Class = C;
    using Parameters = ScriptTypeList<std::remove_cv_t<std::remove_reference_t<Params>>...>;
    static constexpr size_t kArity = sizeof...(Params);
};
template <typename R, typename C, typename... Params>
struct ScriptMethodTraits<R (C::*)(Params...) const> : ScriptMethodTraits<R (C::*)(Params...)>
{
};
template <typename R, typename C, typename... Params>
struct ScriptMethodTraits<R (C::*)(Params...) noexcept> : ScriptMethodTraits<R (C::*)(Params...)>
{
};
template <typename R, typename C, typename... Params>
struct ScriptMethodTraits<R (C::*)(Params...) const noexcept> : ScriptMethodTraits<R (C::*)(Params...)>
{
};

// The parameter types of a method's arguments: the types given for the
// first ones, the method's own parameter types (Own, after the first Skip)
// for the rest.
template <typename Given, typename Own, size_t Skip, typename = void> struct ScriptMethodArguments;
template <typename... Given, typename First, typename... Own, size_t Skip>
struct ScriptMethodArguments<ScriptTypeList<Given...>, ScriptTypeList<First, Own...>, Skip,
                             std::enable_if_t<(Skip > 0)>>
    : ScriptMethodArguments<ScriptTypeList<Given...>, ScriptTypeList<Own...>, Skip - 1>
{
};
template <typename... Given, typename... Own>
struct ScriptMethodArguments<ScriptTypeList<Given...>, ScriptTypeList<Own...>, 0>
{
    using Type = ScriptTypeList<Given..., Own...>;
};

// The object of a method call: the target parameter's object (its Get()),
// which must not be null for the method to run.
template <typename Target> struct MethodTarget
{
    typename ScriptArgOf<Target>::Held held;
};
template <typename Target> struct ScriptArg<MethodTarget<Target>> : ScriptArgHeld<MethodTarget<Target>>
{
    static constexpr int kSlots = ScriptArgSlots<Target>::value;
    static MethodTarget<Target> Get(lua_State* L, int index)
    {
        return MethodTarget<Target>{ScriptArgOf<Target>::Get(L, index)};
    }
    static bool IsAbsent(const MethodTarget<Target>& target)
    {
        return IsAbsentArgument<Target>(target.held) || target.held.Get() == nullptr;
    }
};

template <typename Method, typename Target, typename ArgumentList> struct ScriptMethodDispatcher;
template <typename Result, typename Target, typename ArgumentList> struct ScriptMethodNote;
template <typename Result, typename Target, typename... Args>
struct ScriptMethodNote<Result, Target, ScriptTypeList<Args...>>
{
    static void Note(const std::string& qualifiedName)
    {
        NoteRegistration<Result, Target, Args...>(qualifiedName);
    }
};
template <typename Method, typename Target, typename... Args>
struct ScriptMethodDispatcher<Method, Target, ScriptTypeList<Args...>>
{
    using Result = typename ScriptMethodTraits<Method>::Result;
    using Class = typename ScriptMethodTraits<Method>::Class;

    static int Dispatch(lua_State* L)
    {
        return DispatchBinding(L,
                               [L](const ScriptBinding& binding)
                               {
                                   const Method method = binding.Get<Method>();
                                   return InvokeWithArguments<Result, MethodTarget<Target>, Args...>(
                                       L,
                                       [method](MethodTarget<Target>& target, auto&&... arguments) -> Result
                                       {
                                           Class* object = target.held.Get();
                                           return (object->*method)(
                                               std::forward<decltype(arguments)>(arguments)...);
                                       },
                                       std::index_sequence_for<MethodTarget<Target>, Args...>{});
                               });
    }
};

// Binds table[name] to the method, called on the object of a Target
// parameter with arguments read as the types Args (see RegisterMethod).
template <typename Target, typename Arguments, typename Method>
void RegisterMethodBinding(LuaObject& table, const char* name, Method method,
                           const std::string& qualifiedName, MainStateTest mainStateTest,
                           const std::string& guardMessage)
{
    RegisterBinding(table, name, &ScriptMethodDispatcher<Method, Target, Arguments>::Dispatch, &method,
                    sizeof method, qualifiedName, mainStateTest, guardMessage);
    ScriptMethodNote<typename ScriptMethodTraits<Method>::Result, Target, Arguments>::Note(qualifiedName);
}

} // namespace LuaPlus
