#include "script_api/core/IState.h"

#include "core/app/StateMachine.h"
#include "core/foundation/KVOError.h"
#include "core/script/ScriptManager.h"
#include "core/script/ScriptState.h"
#include "core/script/lua/LuaStackTable.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/ScriptInterface.h"

#include <memory>
#include <new>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackTable;
using LuaPlus::LuaState;
using Misc::Error::CKVOError;

namespace
{

CStateMachine& Machine()
{
    return *GetScriptEngine().GetStateMachine();
}

// Only a lack of memory can keep a state from being made.
std::unique_ptr<CScriptState> CreateState(const LuaObject& value, const LuaObject& errorHandler,
                                          const std::wstring& name, const wchar_t* failure)
{
    try
    {
        return std::make_unique<CScriptState>(value, errorHandler, name);
    }
    catch (const std::bad_alloc&)
    {
        throw CKVOError(failure);
    }
}

LuaObject getName(LuaState* state)
{
    LuaObject name;
    if (const CState* running = Machine().GetRunningState())
        name.Assign(state, std::wstring_view(running->GetName()));
    return name;
}

void setErrorHandler(LuaState*, const LuaObject& handler)
{
    // Only a running state can take a handler: one given while none runs
    // would be lost without a word.
    auto* running = dynamic_cast<CScriptState*>(Machine().GetRunningState());
    if (running == nullptr)
        throw CKVOError(L"[IState::setErrorHandler] No state is running.");
    running->SetErrorHandler(handler);
}

void setDefaultErrorHandler(LuaState*, const LuaObject& handler)
{
    CScriptState::SetDefaultErrorHandler(handler);
}

void reset(LuaState*)
{
    Machine().Reset();
}

void queue(LuaState*, const LuaObject& value, const LuaObject& a1, const LuaObject& a2, const LuaObject& a3)
{
    std::unique_ptr<CScriptState> state =
        CreateState(value, LuaObject(), std::wstring(), L"[IState::queue] Failed to create the new state.");
    state->AddArgument(a1);
    state->AddArgument(a2);
    state->AddArgument(a3);
    Machine().Queue(state.release());
}

// description: { state = <file name or function>, onerror = <handler>,
// name = <text>, [1], [2], ... = the arguments }.
void queueEx(LuaState*, const LuaStackTable& description)
{
    if (!description.IsTable())
        throw LuaPlus::ScriptArgumentError("Input data must be a table");

    const std::wstring name =
        description.FieldType("name") == LUA_TSTRING ? description.Get<std::wstring>("name") : std::wstring();
    std::unique_ptr<CScriptState> state =
        CreateState(description.Get<LuaObject>("state"), description.Get<LuaObject>("onerror"), name,
                    L"[IState::queueEx] Failed to create the new state.");
    for (size_t index = 1; index <= description.GetCount(); ++index)
        state->AddArgument(description.Get<LuaObject>(static_cast<lua_Number>(index)));
    Machine().Queue(state.release());
}

void RegisterIStateFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getName", &getName);
    table.RegisterHelper("queueEx", &queueEx, LuaPlus::kMainStateOnly);
    table.RegisterHelper("setErrorHandler", &setErrorHandler);
    table.RegisterHelper("setDefaultErrorHandler", &setDefaultErrorHandler);
    table.RegisterHelper("queue", &queue, LuaPlus::kMainStateOnly);
    table.RegisterHelper("reset", &reset);
}

} // namespace

void RegisterIState(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IState", {&RegisterIStateFunctions});
}
