#pragma once

#include <lua.hpp>

#include <string_view>

namespace LuaPlus
{

// Precompiled chunks (LuaJIT's "\27LJ" as well as Lua 5.1's "\27Lua") can
// break the virtual machine's memory safety, so the engine's states never
// load them: this replaces loadstring, load, loadfile, dofile and the Lua
// file loader of require with versions that refuse a chunk starting with
// "\27" (they otherwise behave as the standard ones). Needs the base and
// package libraries open.
void InstallSafeLoaders(lua_State* L);

// Whether the chunk is precompiled: it starts with "\27" once what the VM's
// reader skips is passed (a UTF-8 byte-order mark, then a first line that
// starts with "#").
bool IsPrecompiledChunk(std::string_view chunk);
// The refusal as a failed load: pushes "[function] Precompiled chunks are
// not accepted: <chunk name without its '@' or '='>" and returns
// LUA_ERRSYNTAX.
int RefusePrecompiledChunk(lua_State* L, const char* function, const char* chunkName);

} // namespace LuaPlus
