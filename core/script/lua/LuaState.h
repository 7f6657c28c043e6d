#pragma once

#include <lua.hpp>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace LuaPlus
{

class LuaObject;

// Installs the function that opens the module "engine". Every state made
// with the standard libraries gets package.preload.engine, which calls the
// function installed at the time of the `require` with the module name as
// argument 1. A null function uninstalls it.
void set_luaopen_userfunc(lua_CFunction function);

// The error object at the index as text: a string (or a number) as it is,
// any other value as "(error object is not a string)".
std::string GetErrorText(lua_State* L, int index);

// One Lua 5.1 state (C++ build: a Lua error unwinds C++ frames). The object
// behind any thread of the state is found with CastState.
class LuaState
{
public:
    // Shared with every LuaObject of the state; cleared when the state is
    // destroyed, so such objects fail cleanly instead of touching freed memory.
    struct Token
    {
        LuaState* state;
    };

    // A new state, with the standard libraries when asked (their loading
    // functions refuse precompiled chunks, see SafeLoad.h); null when Lua
    // cannot allocate one.
    static LuaState* Create(bool initStandardLibrary = false);
    // Closes the state (collecting everything in it) and deletes the object.
    static void Destroy(LuaState* state);
    // The object behind a Lua state or thread made by Create; null for a
    // state made elsewhere.
    static LuaState* CastState(lua_State* L);

    lua_State* GetCState() const { return m_state; }
    const std::shared_ptr<Token>& GetToken() const { return m_token; }
    LuaObject GetGlobals() const;

    // Loads a chunk and pushes it as a function (0), or pushes the error
    // message and returns a Lua error code. A UTF-8 byte-order mark is
    // skipped, UTF-16 text with a byte-order mark is converted to UTF-8 and
    // precompiled chunks are refused. File chunks are named "@" + path.
    int LoadBuffer(const char* buffer, size_t size, const char* name);
    // Reads the file and loads it as the chunk "@" + path.
    int LoadFile(const char* path);
    // lua_pcall on the state's main thread.
    int PCall(int nargs, int nresults, int errfunc = 0);
    // Raises the value on top of the stack as a Lua error. Outside any
    // protected call this ends in the panic function.
    [[noreturn]] void Error();
    // Sets the function called for an error outside any protected call; it
    // finds the message on top of the stack as "file|line|message" when the
    // error names a position in a script (an error raised again by a
    // binding: the position where it began), with the error's Lua traceback
    // below it (ErrorTrace.h; empty when none was noted), and returns the
    // previous function.
    // Lua ends the process (exit code 1) once it returns.
    lua_CFunction AtPanic(lua_CFunction panicFunction);

    // "path:12: text" as Lua reports script errors, turned into
    // "path|12|text". Files loaded through this state are recognised even
    // when Lua shortened their path; a message without a position is
    // returned unchanged.
    std::string ToPanicMessage(std::string_view message) const;

    LuaState(const LuaState&) = delete;
    LuaState& operator=(const LuaState&) = delete;

private:
    LuaState() = default;
    ~LuaState() = default;

    static void* Allocate(void* userData, void* block, size_t oldSize, size_t newSize);
    static int OnPanic(lua_State* L);

    lua_State* m_state = nullptr;
    lua_CFunction m_panicFunction = nullptr;
    std::shared_ptr<Token> m_token;
    // Paths of the script files loaded so far (for ToPanicMessage).
    std::vector<std::string> m_sources;
};

} // namespace LuaPlus
