#include "core/script/lua/LuaState.h"

#include "core/foundation/StringConversion.h"
#include "core/script/lua/CallGuarded.h"
#include "core/script/lua/ErrorTrace.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/SafeLoad.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace LuaPlus
{

namespace
{

std::atomic<lua_CFunction> g_moduleOpenHook{nullptr};

// package.preload.engine: hands the require over to the installed hook.
int OpenEngineModule(lua_State* L)
{
    const lua_CFunction hook = g_moduleOpenHook.load();
    if (!hook)
        return luaL_error(L, "[LuaState] No handler opens the module \"engine\"");
    return CallGuarded(L, [&] { return hook(L); });
}

// A UTF-16 text (after its byte-order mark) as UTF-8. A lone trailing byte
// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    return Misc::Text::WideToUtf8(Misc::Text::Utf16BytesToWide(bytes, bigEndian));
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// When text[pos] starts ":<digits>:", the position after it and the digits.
size_t ReadLineNumber(std::string_view text, size_t pos, std::string_view& line)
{
    if (pos >= text.size() || text[pos] != ':')
        return std::string_view::npos;
    size_t end = pos + 1;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (end == pos + 1 || end >= text.size() || text[end] != ':')
        return std::string_view::npos;
    line = text.substr(pos + 1, end - pos - 1);
    return end + 1;
}

// References (luaL_ref) are integer keys of the registry. In a young state
// they land in the registry's hash part, where every fetch hashes a double
// (an integer division, the larger part of a handler's callback fetch).
// Taking a block of references at once makes the table move them into its
// array part; freed again, they head the free list, so the references the
// engine takes first (callbacks, user data) are plain array slots.
void ReserveReferenceSlots(lua_State* L)
{
    constexpr int kSlots = 128;
    int references[kSlots];
    for (int& reference : references)
    {
        lua_pushboolean(L, 1);
        reference = luaL_ref(L, LUA_REGISTRYINDEX);
    }
    // Freed last to first, so the lowest is handed out first.
    for (int i = kSlots - 1; i >= 0; --i)
        luaL_unref(L, LUA_REGISTRYINDEX, references[i]);
}

} // namespace

void set_luaopen_userfunc(lua_CFunction function)
{
    g_moduleOpenHook.store(function);
}

std::string GetErrorText(lua_State* L, int index)
{
    size_t size = 0;
    const char* text = lua_isstring(L, index) ? lua_tolstring(L, index, &size) : nullptr;
    return text ? std::string(text, size) : std::string("(error object is not a string)");
}

LuaState* LuaState::Create(bool initStandardLibrary)
{
    auto* state = new LuaState;
    lua_State* L = lua_newstate(&LuaState::Allocate, state);
    if (!L)
    {
        delete state;
        return nullptr;
    }
    state->m_state = L;
    state->m_token = std::make_shared<Token>(Token{state});
    lua_atpanic(L, &LuaState::OnPanic);
    ReserveReferenceSlots(L);
    if (initStandardLibrary)
    {
        luaL_openlibs(L);
        InstallSafeLoaders(L);
        lua_getglobal(L, "package");
        lua_getfield(L, -1, "preload");
        lua_pushcfunction(L, &OpenEngineModule);
        lua_setfield(L, -2, "engine");
        // The FFI reads and writes any memory and calls any C function: the
        // handles and checks the engine's functions rely on would mean
        // nothing, so scripts do not get it (as they get no bytecode).
        lua_pushnil(L);
        lua_setfield(L, -2, "ffi");
        lua_pop(L, 2);
    }
    return state;
}

void LuaState::Destroy(LuaState* state)
{
    if (!state)
        return;
    // Objects collected while closing may still release their references;
    // after the close every LuaObject of the state is dead.
    lua_close(state->m_state);
    state->m_token->state = nullptr;
    delete state;
}

LuaState* LuaState::CastState(lua_State* L)
{
    void* userData = nullptr;
    if (!L || lua_getallocf(L, &userData) != &LuaState::Allocate)
        return nullptr;
    return static_cast<LuaState*>(userData);
}

void* LuaState::Allocate(void*, void* block, size_t, size_t newSize)
{
    if (newSize == 0)
    {
        std::free(block);
        return nullptr;
    }
    return std::realloc(block, newSize);
}

LuaObject LuaState::GetGlobals() const
{
    lua_pushvalue(m_state, LUA_GLOBALSINDEX);
    LuaObject globals(m_state, -1);
    lua_pop(m_state, 1);
    return globals;
}

int LuaState::LoadBuffer(const char* buffer, size_t size, const char* name)
{
    std::string_view text(buffer ? buffer : "", buffer ? size : 0);
    std::string converted;
    if (StartsWith(text, "\xEF\xBB\xBF"))
    {
        text.remove_prefix(3);
    }
    else if (StartsWith(text, "\xFF\xFE") || StartsWith(text, "\xFE\xFF"))
    {
        converted = Utf16ToUtf8(text.substr(2), text[0] == '\xFE');
        text = converted;
    }

    if (IsPrecompiledChunk(text))
        return RefusePrecompiledChunk(m_state, "LuaState::LoadBuffer", name);

    const std::string_view chunkName = name ? name : "?";
    if (StartsWith(chunkName, "@") && chunkName.size() > 1)
    {
        std::string source(chunkName.substr(1));
        if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
            m_sources.push_back(std::move(source));
    }
    return luaL_loadbuffer(m_state, text.data(), text.size(), name);
}

int LuaState::LoadFile(const char* path)
{
    std::ifstream file(path ? path : "", std::ios::binary);
    if (!file)
    {
        const std::string message =
            std::string("[LuaState::LoadFile] Failed to open file:") + (path ? path : "");
        lua_pushlstring(m_state, message.data(), message.size());
        return LUA_ERRFILE;
    }
    const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
    {
        const std::string message = std::string("[LuaState::LoadFile] Failed to read file:") + path;
        lua_pushlstring(m_state, message.data(), message.size());
        return LUA_ERRFILE;
    }
    return LoadBuffer(content.data(), content.size(), ("@" + std::string(path)).c_str());
}

int LuaState::PCall(int nargs, int nresults, int errfunc)
{
    return lua_pcall(m_state, nargs, nresults, errfunc);
}

void LuaState::Error()
{
    // With nothing running on the state the error is unprotected. The VM
    // would hand it to the system unwinder, where any catch (...) above
    // (a thread's, a test framework's) would take it for a C++ exception;
    // it goes to the panic function here, as Lua's own unprotected errors
    // do, and the process ends.
    lua_Debug running;
    if (lua_getstack(m_state, 0, &running) == 0)
    {
        const lua_CFunction panic = lua_atpanic(m_state, nullptr);
        lua_atpanic(m_state, panic);
        if (panic)
            panic(m_state);
        std::exit(EXIT_FAILURE);
    }
    lua_error(m_state);
    std::abort(); // lua_error never returns
}

lua_CFunction LuaState::AtPanic(lua_CFunction panicFunction)
{
    const lua_CFunction previous = m_panicFunction;
    m_panicFunction = panicFunction;
    return previous;
}

int LuaState::OnPanic(lua_State* L)
{
    const LuaState* state = CastState(L);
    // An error raised again by a binding is reported where it began.
    const SErrorTrace trace = FindErrorTrace(GetErrorText(L, -1));
    std::string message = trace.origin;
    if (state)
        message = state->ToPanicMessage(message);
    lua_pushlstring(L, trace.traceback.data(), trace.traceback.size());
    lua_pushlstring(L, message.data(), message.size());
    if (state && state->m_panicFunction)
        return state->m_panicFunction(L);
    std::fprintf(stderr, "PANIC: unprotected error in call to Lua API (%s)\n", message.c_str());
    if (!trace.traceback.empty())
        std::fprintf(stderr, "%s\n", trace.traceback.c_str());
    std::fflush(stderr);
    return 0;
}

std::string LuaState::ToPanicMessage(std::string_view message) const
{
    std::string_view file;
    std::string_view line;
    size_t rest = std::string_view::npos;

    // A file loaded here: its full path, or Lua's shortened "...tail" form.
    for (const std::string& source : m_sources)
    {
        if (StartsWith(message, source) &&
            (rest = ReadLineNumber(message, source.size(), line)) != std::string_view::npos)
        {
            file = source;
            break;
        }
        if (!StartsWith(message, "..."))
            continue;
        for (size_t colon = message.find(':', 3); colon != std::string_view::npos;
             colon = message.find(':', colon + 1))
        {
            const std::string_view tail = message.substr(3, colon - 3);
            if (tail.size() < source.size() &&
                source.compare(source.size() - tail.size(), tail.size(), tail) == 0 &&
                (rest = ReadLineNumber(message, colon, line)) != std::string_view::npos)
            {
                file = source;
                break;
            }
        }
        if (!file.empty())
            break;
    }

    // Any other chunk: the text up to the first ":<line>:". Chunks from
    // strings ("[string "..."]") and shortened names name no file.
    if (file.empty())
    {
        for (size_t colon = message.find(':'); colon != std::string_view::npos;
             colon = message.find(':', colon + 1))
        {
            if ((rest = ReadLineNumber(message, colon, line)) != std::string_view::npos)
            {
                file = message.substr(0, colon);
                break;
            }
        }
        if (file.empty() || StartsWith(file, "[string \"") || StartsWith(file, "..."))
            return std::string(message);
    }

    if (rest < message.size() && message[rest] == ' ')
        ++rest;
    std::string result(file);
    result += '|';
    result += line;
    result += '|';
    result += message.substr(std::min(rest, message.size()));
    return result;
}

} // namespace LuaPlus
