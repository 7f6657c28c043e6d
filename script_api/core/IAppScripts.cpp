// IApp functions on scripts and script data: loading and running scripts on
// the calling state, calling global script functions, and the addresses of
// the calling state and the engine object.

#include "core/foundation/Logger.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaFunction.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptAddress.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/IAppFunctions.h"
#include "script_api/core/ProtectedRun.h"
#include "platform/Thread.h"

#include <lua.hpp>

#include <cstdint>
#include <functional>
#include <string>

using LuaPlus::CallingThread;
using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

using Action = std::function<void()>;

// Runs a load of the engine for the calling thread. On the state's main
// thread a script error is raised as the engine raises it. A coroutine
// must not see an error raised on another thread: the load runs protected
// and its error is raised again on the coroutine.
bool LoadForCaller(LuaState* state, const CallingThread& caller, const std::function<bool()>& load)
{
    if (caller.L == state->GetCState())
        return load();
    bool loaded = false;
    std::string error;
    if (!RunProtected(
            state, [&] { loaded = load(); }, error))
    {
        lua_pushlstring(caller.L, error.data(), error.size());
        lua_error(caller.L);
    }
    return loaded;
}

lua_Number getThreadState(LuaState*, CallingThread caller)
{
    return LuaPlus::AddressToNumber(caller.L);
}

lua_Number getScriptManager(LuaState*)
{
    return LuaPlus::AddressToNumber(&GetScriptEngine());
}

uint32_t getThreadIdFromOS(LuaState*)
{
    return static_cast<uint32_t>(Platform::GetCurrentThreadId());
}

bool loadScript(LuaState* state, const std::wstring& file, CallingThread caller)
{
    CScriptManager& engine = GetScriptEngine();
    return LoadForCaller(state, caller, [&] { return engine.LoadFile(state, file); });
}

// The chunk's first result; nil when the file is missing or the script
// fails (its error is logged at the system level).
LuaObject loadScriptEx(LuaState* state, const std::wstring& file)
{
    CScriptManager& engine = GetScriptEngine();
    LuaObject result;
    const Action load = [&]
    {
        LuaObject value;
        if (engine.LoadFile(state, file, &value))
            result = value;
    };
    std::string error;
    if (RunProtected(state, load, error))
        return result;

    Misc::CLogger::WriteSystem(L"[IApp::loadScriptEx] %s: %S"_fmt, file, error);
    return LuaObject();
}

bool runScriptBuffer(LuaState* state, const std::string& buffer, const std::string& name,
                     CallingThread caller)
{
    CScriptManager& engine = GetScriptEngine();
    return LoadForCaller(state, caller, [&] { return engine.DoBuffer(state, buffer, name.c_str()); });
}

// The arguments are passed on as they are, not kept.
LuaObject callScript(LuaState* state, const std::string& name, const LuaStackObject& a1,
                     const LuaStackObject& a2, const LuaStackObject& a3, const LuaStackObject& a4,
                     const LuaStackObject& a5, const LuaStackObject& a6, const LuaStackObject& a7)
{
    const LuaObject function = state->GetGlobals().Get(name);
    if (!function.IsFunction())
        return LuaObject();
    return LuaPlus::LuaFunction<LuaObject>(function)(a1, a2, a3, a4, a5, a6, a7);
}

void clearScriptData(LuaState* state, const std::string& name)
{
    state->GetGlobals().SetNil(name);
}

} // namespace

void RegisterIAppScriptFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getThreadState", &getThreadState);
    table.RegisterHelper("getScriptManager", &getScriptManager);
    table.RegisterHelper("getThreadIdFromOS", &getThreadIdFromOS);
    table.RegisterHelper("loadScript", &loadScript);
    table.RegisterHelper("loadScriptEx", &loadScriptEx);
    table.RegisterHelper("runScriptBuffer", &runScriptBuffer);
    table.RegisterHelper("callScript", &callScript);
    table.RegisterHelper("clearScriptData", &clearScriptData);
}
