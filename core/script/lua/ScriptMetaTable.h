#pragma once

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptDispatcher.h"

#include <lua.hpp>

#include <string>

// Builds the function table of one script interface or value class on a
// state. The usual sequence for an interface: construct (no name), register
// every function, SetGlobalObject, Seal.
class CScriptMetaTable
{
public:
    // A fresh table; with a name, the global table of that name (made and
    // stored as that global when there is none). Field "__index" is the table
    // itself.
    explicit CScriptMetaTable(LuaPlus::LuaState* state, const char* name = nullptr);

    // An engine function, called through the dispatcher of its signature.
    template <typename R, typename... Args>
    void RegisterHelper(const char* name, R (*function)(LuaPlus::LuaState*, Args...))
    {
        LuaPlus::RegisterFunction(m_table, name, function);
    }
    // A plain C function (metamethods); it must guard itself (CallGuarded).
    void RegisterHelper(const char* name, lua_CFunction function) { m_table.Register(name, function); }

    // Publishes a userdata boxing the pointer, with this table as its
    // metatable, as the global of the given name.
    void SetGlobalObject(void* object, const char* name);
    // Field "__metatable" = "Metatable is readonly": getmetatable on an
    // object of the table yields that text and setmetatable fails.
    void Seal();

    LuaPlus::LuaObject& GetTable() { return m_table; }
    LuaPlus::LuaState* GetState() const { return m_state; }
    const std::string& GetName() const { return m_name; }

private:
    LuaPlus::LuaObject m_table;
    LuaPlus::LuaState* m_state;
    std::string m_name;
};
