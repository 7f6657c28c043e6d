#include "core/script/ScriptState.h"

#include "core/events/Multicast.h"
#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/ErrorTrace.h"

#include <lua.hpp>

#include <cstdio>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

LuaObject& DefaultErrorHandler()
{
    static LuaObject handler;
    return handler;
}

} // namespace

CScriptState::CScriptState(const LuaObject& value, const std::wstring& name) : m_value(value), m_name(name) {}

CScriptState::CScriptState(const LuaObject& value, const LuaObject& errorHandler, const std::wstring& name)
    : m_name(name)
{
    if (!value.IsNil())
        m_value = value;
    if (!errorHandler.IsNil())
        m_errorHandler = errorHandler;
}

CScriptState::CScriptState(LuaState* state, const std::wstring& path) : m_name(path)
{
    m_value.Assign(state, std::wstring_view(path));
}

void CScriptState::SetDefaultErrorHandler(const LuaObject& handler)
{
    DefaultErrorHandler() = handler;
}

void CScriptState::Run()
{
    using Misc::Multicast::CEvtState;
    using Misc::Multicast::CMulticast;
    CMulticast<CEvtState>::Publish(CEvtState{m_name, true});
    CallFunction();
    CMulticast<CEvtState>::Publish(CEvtState{m_name, false});
}

void CScriptState::CallFunction()
{
    if (m_value.IsNone())
        return;
    if (m_value.IsString())
        ResolveFunction(m_value.GetState(), m_value.GetWString());
    if (!m_value.IsFunction())
        return;

    LuaState* state = m_value.GetState();
    lua_State* L = state->GetCState();
    // No LuaStackRestore here: a Lua error raised below must find its error
    // object on top when Lua's handler reads it, after C++ unwinding.
    const int top = lua_gettop(L);
    if (!lua_checkstack(L, static_cast<int>(m_arguments.size()) + 3))
        throw LuaPlus::LuaException("[CScriptState::CallFunction] Not enough stack space for the arguments");
    m_value.Push(L);
    for (const LuaObject& argument : m_arguments)
        argument.Push(L);
    if (LuaPlus::PCallWithTrace(L, static_cast<int>(m_arguments.size()), 1) != 0)
        HandleError(state);
    lua_settop(L, top);
}

void CScriptState::HandleError(LuaState* state)
{
    if (m_errorHandler.IsNone() && !DefaultErrorHandler().IsNone())
        m_errorHandler = DefaultErrorHandler();
    if (m_errorHandler.IsNone())
        state->Error();

    if (m_errorHandler.IsString())
    {
        LuaState* handlerState = m_errorHandler.GetState();
        const LuaObject global = handlerState->GetGlobals().Get(m_errorHandler.GetString());
        if (global.IsFunction())
            m_errorHandler = global;
    }
    if (!m_errorHandler.IsFunction())
        state->Error();

    // The handler gets the error object itself; a handler of another state
    // can only get its text.
    LuaState* handlerState = m_errorHandler.GetState();
    lua_State* H = handlerState->GetCState();
    if (!lua_checkstack(H, 3))
        state->Error();
    const LuaObject error(state, -1);
    m_errorHandler.Push(H);
    if (handlerState == state)
        error.Push(H);
    else
        LuaPlus::PushValue(H, error.GetString());
    if (LuaPlus::PCallWithTrace(H, 1, 0) != 0)
        handlerState->Error();
}

bool CScriptState::ResolveFunction(LuaState* state, const std::wstring& path)
{
    m_value.Reset();
    CScriptManager::GetInstance()->LoadFile(state, path);
    if (m_name.empty())
        m_name = path;

    const std::string baseName =
        Misc::Text::WideToUtf8(ExtractFilenameComponents(path, false, false, true, false));
    const LuaObject globals = state->GetGlobals();
    const std::string names[] = {baseName, "OnStateRun_" + baseName, "OnStateRun"};
    for (const std::string& name : names)
    {
        LuaObject candidate = globals.Get(name);
        if (candidate.IsFunction())
        {
            m_value = candidate;
            return true;
        }
    }
    if (m_reportMissingFunction)
    {
        std::fflush(stdout);
        std::fprintf(
            stderr, "[halvane] %s ran without a state function: no global function '%s', '%s' or '%s'\n",
            Misc::Text::WideToUtf8(path).c_str(), names[0].c_str(), names[1].c_str(), names[2].c_str());
        std::fflush(stderr);
    }
    return false;
}
