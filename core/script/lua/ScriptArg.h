#pragma once

// How the parameters of engine functions are read from script arguments
// (ScriptArg<T>), and the error an argument can raise. Missing or mistyped
// arguments read as defaults (0, "", false, nil); argument types that name
// something the engine must find (handles, entities, controls) and numbers
// outside what an exact parameter accepts refuse a value.

#include "core/foundation/WholeNumbers.h"
#include "core/script/lua/CallingThread.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/WideString.h"

#include <lua.hpp>

#include <cmath>
#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>

namespace LuaPlus
{

// Thrown by an argument conversion that refuses its value. The dispatcher
// raises it as "[<qualified name of the function>] <text>".
class ScriptArgumentError : public std::exception
{
public:
    explicit ScriptArgumentError(std::string text) : m_text(std::move(text)) {}
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};

// How one parameter type is read from the stack: Get reads the argument into
// a holder that lives for the call, Pass hands the holder to the function.
// Specialise for further types (value objects, handles, the resolved
// arguments of ScriptResolved.h). Two optional members:
// - kSlots (default 1): the stack slots the parameter reads; 0 for a
//   parameter that reads none (the GUI manager as the object of a method);
// - IsAbsent(held): true when what the argument names is missing and the
//   function is not to run at all; the call then answers the absent result
//   of its type (nothing, false, 0 or nil; see ScriptDispatcher.h).
template <typename T, typename Enable = void> struct ScriptArg;

// The number a whole-number parameter reads: the argument as a number (a
// string holding one included), 0 for anything else. NaN is no whole
// number and reads as 0 too, the value every missing or mistyped number
// argument reads as, so that no whole-number rule ever sees it.
inline lua_Number WholeNumberArgument(lua_State* L, int index)
{
    const lua_Number number = lua_tonumber(L, index);
    return std::isnan(number) ? 0 : number;
}

// "Invalid key code for argument 2: 70000": a parameter type that accepts
// only some numbers refuses the others (the script counts its arguments
// after the object before the colon).
[[noreturn]] void RefuseNumber(int index, lua_Number number, const char* noun);

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
// the low bits that fit the type, so 4294967295 reaches an int as -1 (the
// other rules are the types of ScriptNumbers.h).
template <typename T>
struct ScriptArg<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> : ScriptArgHeld<T>
{
    static T Get(lua_State* L, int index)
    {
        T value = 0;
        Misc::WholeNumbers::Wrap(WholeNumberArgument(L, index), value);
        return value;
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

// Any value, unconverted (nil when absent), kept in the registry: for values
// the engine keeps beyond the call.
template <> struct ScriptArg<LuaObject> : ScriptArgHeld<LuaObject>
{
    static LuaObject Get(lua_State* L, int index) { return LuaObject(L, index); }
};

// Any value, borrowed from the stack for the call: no registry reference.
template <> struct ScriptArg<LuaStackObject> : ScriptArgHeld<LuaStackObject>
{
    static LuaStackObject Get(lua_State* L, int index) { return LuaStackObject(L, index); }
};

template <> struct ScriptArg<CallingThread> : ScriptArgHeld<CallingThread>
{
    static CallingThread Get(lua_State* L, int) { return CallingThread{L}; }
};

template <typename T> using ScriptArgOf = ScriptArg<std::remove_cv_t<std::remove_reference_t<T>>>;

} // namespace LuaPlus
