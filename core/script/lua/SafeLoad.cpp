#include "core/script/lua/SafeLoad.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace LuaPlus
{

namespace
{

// A chunk name as messages show it.
const char* Shown(const char* chunkName)
{
    if (chunkName == nullptr)
        return "?";
    return *chunkName == '@' || *chunkName == '=' ? chunkName + 1 : chunkName;
}

// luaL_loadfile with the refusal: the file (standard input for a null
// path) is read whole; a first line starting with "#" is skipped as the
// standard loader does, keeping the line numbers.
int LoadFileChecked(lua_State* L, const char* function, const char* path)
{
    const std::string chunkName = path != nullptr ? "@" + std::string(path) : "=stdin";
    const char* shownName = path != nullptr ? path : "stdin";
    std::FILE* file = path != nullptr ? std::fopen(path, "rb") : stdin;
    if (file == nullptr)
    {
        lua_pushfstring(L, "cannot open %s: %s", shownName, std::strerror(errno));
        return LUA_ERRFILE;
    }
    std::string content;
    char block[4096];
    size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, file)) > 0)
        content.append(block, read);
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    if (path != nullptr)
        std::fclose(file);
    if (failed)
    {
        lua_pushfstring(L, "cannot read %s: %s", shownName, std::strerror(readError));
        return LUA_ERRFILE;
    }

    std::string_view chunk = content;
    std::string skipped;
    if (!chunk.empty() && chunk[0] == '#')
    {
        const size_t lineEnd = chunk.find('\n');
        chunk = lineEnd == std::string_view::npos ? std::string_view() : chunk.substr(lineEnd + 1);
        if (IsPrecompiledChunk(chunk))
            return RefusePrecompiledChunk(L, function, chunkName.c_str());
        skipped = "\n" + std::string(chunk);
        chunk = skipped;
    }
    if (IsPrecompiledChunk(chunk))
        return RefusePrecompiledChunk(L, function, chunkName.c_str());
    return luaL_loadbuffer(L, chunk.data(), chunk.size(), chunkName.c_str());
}

// Pushes nil and the message on top (replacing it): a failed load.
int LoadFailed(lua_State* L)
{
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

// loadstring (text [, chunk name]); upvalue 1 is the standard one.
int SafeLoadString(lua_State* L)
{
    size_t size = 0;
    const char* text = luaL_checklstring(L, 1, &size);
    if (IsPrecompiledChunk(std::string_view(text, size)))
    {
        RefusePrecompiledChunk(L, "loadstring", luaL_optstring(L, 2, "=loadstring"));
        return LoadFailed(L);
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// The reader load (function [, chunk name]) gets through the guard below;
// upvalue 1 is the script's reader, upvalue 2 whether it was called, upvalue
// 3 the chunk name.
int GuardedReader(lua_State* L)
{
    const bool first = !lua_toboolean(L, lua_upvalueindex(2));
    lua_pushboolean(L, 1);
    lua_replace(L, lua_upvalueindex(2));
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_call(L, 0, 1);
    size_t size = 0;
    const char* piece = lua_type(L, -1) == LUA_TSTRING ? lua_tolstring(L, -1, &size) : nullptr;
    if (first && piece != nullptr && IsPrecompiledChunk(std::string_view(piece, size)))
        return luaL_error(L, "[load] Precompiled chunks are not accepted: %s",
                          Shown(lua_tostring(L, lua_upvalueindex(3))));
    return 1;
}

// load (function [, chunk name]); upvalue 1 is the standard one.
int SafeLoad(lua_State* L)
{
    luaL_checktype(L, 1, LUA_TFUNCTION);
    const char* chunkName = luaL_optstring(L, 2, "=(load)");
    lua_pushvalue(L, 1);
    lua_pushboolean(L, 0);
    lua_pushstring(L, chunkName);
    lua_pushcclosure(L, &GuardedReader, 3);
    lua_replace(L, 1);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// loadfile ([file name])
int SafeLoadFile(lua_State* L)
{
    const char* path = luaL_optstring(L, 1, nullptr);
    if (LoadFileChecked(L, "loadfile", path) != 0)
        return LoadFailed(L);
    return 1;
}

// dofile ([file name])
int SafeDoFile(lua_State* L)
{
    const char* path = luaL_optstring(L, 1, nullptr);
    const int base = lua_gettop(L);
    if (LoadFileChecked(L, "dofile", path) != 0)
        lua_error(L);
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L) - base;
}

// The Lua file searcher of require (package.loaders[2]); upvalue 1 is the
// package table. Finds the module along package.path as the standard one
// does.
int SafeLuaSearcher(lua_State* L)
{
    const std::string name = luaL_checkstring(L, 1);
    std::string relative = name;
    for (char& c : relative)
        if (c == '.')
            c = '/';

    lua_getfield(L, lua_upvalueindex(1), "path");
    const char* pathText = lua_tostring(L, -1);
    if (pathText == nullptr)
        return luaL_error(L, "'package.path' must be a string");
    const std::string templates = pathText;
    lua_pop(L, 1);

    std::string notFound;
    size_t start = 0;
    while (start < templates.size())
    {
        size_t end = templates.find(';', start);
        if (end == std::string::npos)
            end = templates.size();
        std::string candidate = templates.substr(start, end - start);
        start = end + 1;
        if (candidate.empty())
            continue;
        for (size_t mark = candidate.find('?'); mark != std::string::npos;
             mark = candidate.find('?', mark + relative.size()))
            candidate.replace(mark, 1, relative);

        std::FILE* probe = std::fopen(candidate.c_str(), "r");
        if (probe == nullptr)
        {
            notFound += "\n\tno file '" + candidate + "'";
            continue;
        }
        std::fclose(probe);
        if (LoadFileChecked(L, "require", candidate.c_str()) != 0)
            return luaL_error(L, "error loading module '%s' from file '%s':\n\t%s", name.c_str(),
                              candidate.c_str(), lua_tostring(L, -1));
        return 1;
    }
    lua_pushlstring(L, notFound.data(), notFound.size());
    return 1;
}

// Replaces the global function of that name by the closure of the
// replacement over the standard one.
void Wrap(lua_State* L, const char* name, lua_CFunction replacement)
{
    lua_getglobal(L, name);
    lua_pushcclosure(L, replacement, 1);
    lua_setglobal(L, name);
}

} // namespace

bool IsPrecompiledChunk(std::string_view chunk)
{
    if (chunk.substr(0, 3) == "\xEF\xBB\xBF")
        chunk.remove_prefix(3);
    if (!chunk.empty() && chunk[0] == '#')
    {
        // The line ends at "\n", "\r", "\r\n" or "\n\r".
        size_t next = chunk.find_first_of("\r\n");
        if (next != std::string_view::npos && next + 1 < chunk.size() &&
            (chunk[next + 1] == '\r' || chunk[next + 1] == '\n') && chunk[next + 1] != chunk[next])
            ++next;
        chunk = next == std::string_view::npos ? std::string_view() : chunk.substr(next + 1);
    }
    return !chunk.empty() && chunk[0] == LUA_SIGNATURE[0];
}

int RefusePrecompiledChunk(lua_State* L, const char* function, const char* chunkName)
{
    lua_pushfstring(L, "[%s] Precompiled chunks are not accepted: %s", function, Shown(chunkName));
    return LUA_ERRSYNTAX;
}

void InstallSafeLoaders(lua_State* L)
{
    Wrap(L, "loadstring", &SafeLoadString);
    Wrap(L, "load", &SafeLoad);
    lua_pushcfunction(L, &SafeLoadFile);
    lua_setglobal(L, "loadfile");
    lua_pushcfunction(L, &SafeDoFile);
    lua_setglobal(L, "dofile");

    lua_getglobal(L, "package");
    if (lua_istable(L, -1))
    {
        lua_getfield(L, -1, "loaders");
        if (lua_istable(L, -1))
        {
            lua_pushvalue(L, -2);
            lua_pushcclosure(L, &SafeLuaSearcher, 1);
            lua_rawseti(L, -2, 2);
        }
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
}

} // namespace LuaPlus
