#pragma once

#include "core/app/SimulationManager.h"

#include <lua.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace LuaPlus
{
class LuaObject;
class LuaState;
} // namespace LuaPlus

// The engine object: the simulation manager that also owns the main script
// state, loads scripts into script states and handles the script errors
// that no script catches. One process-wide instance, published by
// SetInstance, is how every script-facing function reaches the engine.
class CScriptManager : public Simulation::CSimulationManager
{
public:
    // Publishes the script interfaces on a state.
    using RegisterInterfaces = void (*)(LuaPlus::LuaState* state);

    // What the program's composition root adds to the core: the parts of
    // the other subsystems and the script interfaces. Either may be empty.
    struct SComposition
    {
        AddParts addParts;
        RegisterInterfaces registerInterfaces = nullptr;
    };

    // The core alone: no sub-engine, and no interface on the states.
    CScriptManager();
    // Builds the simulation manager with the composition's parts, then the
    // main script state with the standard libraries and the script
    // interfaces; installs the panic handler and the opener of the module
    // "engine", which publishes the same interfaces.
    explicit CScriptManager(const SComposition& composition);
    // Destroys the main script state first, then the simulation manager.
    ~CScriptManager() override;

    // The engine object pointer; not cleared when the object is deleted.
    static void SetInstance(CScriptManager* instance);
    static CScriptManager* GetInstance();

    // Publishes the quit event; with exit-on-quit set and a status other
    // than 0, ends the process with that status.
    void Quit(int32_t status) override;

    // Finds the file by its name, else with each of the script extensions
    // in order, and runs it on the state (null: the main state); the chunk's
    // first result goes to result when given. False (and a log line) when
    // the file is not found. A script error is raised on the state.
    virtual bool LoadFile(LuaPlus::LuaState* state, const std::wstring& name,
                          LuaPlus::LuaObject* result = nullptr);
    // Runs the text as a chunk of the given name on the state (null: the
    // main state). A script error is raised on the state.
    virtual bool DoBuffer(LuaPlus::LuaState* state, const std::string& text, const char* chunkName);

    // The main script state (null only when Lua could not allocate one).
    LuaPlus::LuaState* GetMainState() const { return m_mainState; }

    // ".kvoscript", ".kvobin", ".kvo", ".lua": tried in this order after the
    // bare name.
    static const std::vector<std::wstring>& GetScriptExtensions();

    // The panic function of the engine's states: shows the script error
    // dialog with the message on top of the stack. Lua ends the process
    // (exit code 1) when it returns.
    static int OnPanic(lua_State* L);
    // The opener of the module "engine": publishes the script interfaces of
    // the last engine object built on the state that asks for it.
    static int OnModuleOpen(lua_State* L);

private:
    LuaPlus::LuaState* m_mainState = nullptr;
};
