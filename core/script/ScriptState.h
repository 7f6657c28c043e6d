#pragma once

#include "core/app/StateMachine.h"
#include "core/script/lua/LuaObject.h"

#include <string>
#include <vector>

// A state that runs a script function with stored arguments. Its value is a
// function, or the path of a script file: the file is loaded when the state
// runs, and the state function is then the file's global named after the
// file ("level1"), else "OnStateRun_level1", else "OnStateRun".
//
// Errors of the state function go to the state's error handler (a function,
// or the name of a global function), else to the process-wide default
// handler, else they are raised again and reach the panic handler.
class CScriptState : public CState
{
public:
    // The value is copied.
    CScriptState(const LuaPlus::LuaObject& value, const std::wstring& name);
    // The value and the handler are copied unless they are nil.
    CScriptState(const LuaPlus::LuaObject& value, const LuaPlus::LuaObject& errorHandler,
                 const std::wstring& name);
    // A script file: the value is the path as text, the name is the path.
    CScriptState(LuaPlus::LuaState* state, const std::wstring& path);

    std::wstring GetName() const override { return m_name; }
    // Publishes the state's entry, calls its function, publishes its exit.
    void Run() override;

    void AddArgument(const LuaPlus::LuaObject& argument) { m_arguments.push_back(argument); }
    void SetErrorHandler(const LuaPlus::LuaObject& handler) { m_errorHandler = handler; }
    static void SetDefaultErrorHandler(const LuaPlus::LuaObject& handler);
    // A file whose state function is missing runs its chunk alone; with this
    // set (the entry state) one line on standard error names the functions
    // looked for.
    void SetReportMissingFunction(bool report) { m_reportMissingFunction = report; }

    const LuaPlus::LuaObject& GetValue() const { return m_value; }
    const LuaPlus::LuaObject& GetErrorHandler() const { return m_errorHandler; }

private:
    void CallFunction();
    // Loads the file and looks up the state function; true when found.
    bool ResolveFunction(LuaPlus::LuaState* state, const std::wstring& path);
    // The function failed; its error object is on top of the state's stack.
    void HandleError(LuaPlus::LuaState* state);

    LuaPlus::LuaObject m_value;
    LuaPlus::LuaObject m_errorHandler;
    std::vector<LuaPlus::LuaObject> m_arguments;
    std::wstring m_name;
    bool m_reportMissingFunction = false;
};
