#pragma once

// Whole-number parameters with a rule of their own, beside the plain
// integer types (truncated, then cut to their low bits; ScriptArg.h). NaN
// reads as 0 in each, as in every whole-number argument:
//
//     bool setPosition(LuaState*, Saturating<int32_t> position);  // 1e300 -> INT32_MAX
//     bool bind(LuaState*, Exact<uint16_t, KeyCodeNoun> key);      // 70000 -> "Invalid key code..."
//     std::wstring itemName(LuaState*, Index index);               // 2^40 -> -1, no item
//
// A parameter of these types reads as its value type (operator T).

#include "core/foundation/WholeNumbers.h"
#include "core/script/lua/ScriptArg.h"

#include <lua.hpp>

#include <cstdint>

namespace LuaPlus
{

// Truncated toward zero and held within T's range: a huge position lands at
// the end, not wrapped to some other place.
template <typename T> struct Saturating
{
    T value = 0;
    operator T() const { return value; }
};

// What Exact's message calls its value by default.
struct NumberNoun
{
    static constexpr const char* kNoun = "number";
};

// Only a whole number within T's range; anything else is refused with
// "Invalid <noun> for argument <n>: <value>", the noun from Noun::kNoun.
template <typename T, typename Noun = NumberNoun> struct Exact
{
    T value = 0;
    operator T() const { return value; }
};

// A position counted from 0 (an item, a tab, an event type): truncated
// toward zero. A number beyond 32 bits names no position and reads as
// kNone, so that it cannot wrap round onto a real one.
struct Index
{
    static constexpr int32_t kNone = -1;
    int32_t value = kNone;
    operator int32_t() const { return value; }
};

template <typename T> struct ScriptArg<Saturating<T>> : ScriptArgHeld<Saturating<T>>
{
    static Saturating<T> Get(lua_State* L, int index)
    {
        Saturating<T> result;
        Misc::WholeNumbers::Saturate(WholeNumberArgument(L, index), result.value);
        return result;
    }
};

template <typename T, typename Noun> struct ScriptArg<Exact<T, Noun>> : ScriptArgHeld<Exact<T, Noun>>
{
    static Exact<T, Noun> Get(lua_State* L, int index)
    {
        const lua_Number number = WholeNumberArgument(L, index);
        Exact<T, Noun> result;
        if (!Misc::WholeNumbers::Exact(number, result.value))
            RefuseNumber(index, number, Noun::kNoun);
        return result;
    }
};

template <> struct ScriptArg<Index> : ScriptArgHeld<Index>
{
    static Index Get(lua_State* L, int index)
    {
        Index result;
        if (!Misc::WholeNumbers::Truncate(WholeNumberArgument(L, index), result.value))
            result.value = Index::kNone;
        return result;
    }
};

} // namespace LuaPlus
