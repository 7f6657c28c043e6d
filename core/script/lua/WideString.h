#pragma once

// Wide text in scripts. Scripts hold wide text as ordinary Lua strings in
// UTF-8, so a wide string and a narrow one are the same script value; these
// helpers convert at the boundary.

#include <lua.hpp>

#include <string>
#include <string_view>

namespace LuaPlus
{

// Pushes the text as a UTF-8 string.
void lua_pushwstring(lua_State* L, std::wstring_view text);
// Pushes the text as a UTF-8 string; a null pointer pushes nil.
void lua_pushwstring(lua_State* L, const wchar_t* text);

// The string (or number, as its text) at the index decoded from UTF-8;
// malformed bytes become U+FFFD. Any other value gives the empty string.
std::wstring lua_towstring(lua_State* L, int index);

} // namespace LuaPlus
