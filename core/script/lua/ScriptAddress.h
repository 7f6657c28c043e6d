#pragma once

// Addresses that scripts see as numbers (the engine object's address). A
// double holds every integer up to 2^53 exactly, which covers the user
// address space of x86-64, so the number converts back to the same pointer.
// Objects that scripts hand back to the engine go through CHandleRegistry
// instead; this is only for addresses the engine itself reads back.

#include <lua.hpp>

#include <cmath>
#include <cstdint>

namespace LuaPlus
{

inline lua_Number AddressToNumber(const void* address)
{
    return static_cast<lua_Number>(reinterpret_cast<uintptr_t>(address));
}

// False (and null) for a number that no address converts to: negative, not
// whole, beyond 2^53, NaN.
inline bool NumberToAddress(lua_Number number, void*& address)
{
    address = nullptr;
    if (!(number >= 0 && number <= 9007199254740992.0) || std::trunc(number) != number)
        return false;
    address = reinterpret_cast<void*>(static_cast<uintptr_t>(number));
    return true;
}

} // namespace LuaPlus
