#pragma once

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptDispatcher.h"

#include <lua.hpp>

#include <string>
#include <type_traits>

// Builds the function table of one script interface or value class on a
// state. The usual sequence for an interface (script_api's
// PublishScriptInterface does it): construct (no name), SetScriptName,
// register every function, SetGlobalObject, Seal.
class CScriptMetaTable
{
public:
    // A fresh table; with a name, the global table of that name (made and
    // stored as that global when there is none). Field "__index" is the table
    // itself.
    explicit CScriptMetaTable(LuaPlus::LuaState* state, const char* name = nullptr);

    // The name scripts know the table by ("IEvents"): its functions are
    // "IEvents::subscribe" in their messages. The global name by default.
    void SetScriptName(const char* name) { m_scriptName = name ? name : ""; }
    // Tells the main state's main thread for kMainStateOnly functions.
    void SetMainStateTest(LuaPlus::MainStateTest test) { m_mainStateTest = test; }
    // Flags given to every function registered from now on. A guard asked
    // for here names the table in its message ("[IEvents] Can only be called
    // from the main Lua state."); one asked for by a function names the
    // function ("[IApp::run] ...").
    void SetDefaultFlags(unsigned flags) { m_defaultFlags = flags; }

    // An engine function, called through the dispatcher of its signature:
    //
    //     table.RegisterHelper("getName", &getName);
    //     table.RegisterHelper("run", &run, LuaPlus::kMainStateOnly);
    template <typename R, typename... Args>
    void RegisterHelper(const char* name, R (*function)(LuaPlus::LuaState*, Args...),
                        unsigned flags = LuaPlus::kNoFlags)
    {
        const std::string qualifiedName = QualifiedName(name);
        LuaPlus::RegisterFunction(m_table, name, function, qualifiedName, m_mainStateTest,
                                  GuardMessage(qualifiedName, flags));
    }
    // A plain C function (metamethods); it must guard itself (CallGuarded).
    void RegisterHelper(const char* name, lua_CFunction function) { m_table.Register(name, function); }

    // A method of an engine object, with no function of its own: Target is
    // the parameter type that gives the object (a Resolved, ScriptResolved.h,
    // or a handle); Args are the types the method's first arguments are read
    // as, the rest are read as the method's own parameter types.
    //
    //     table.RegisterMethod<PhysicalPart>("setEntityMass", &CPhysicalEntity::SetMass);
    //     table.RegisterMethod<TheGui, Control>("setControlVisible", &CGuiManager::SetElementVisible);
    template <typename Target, typename... Args, typename Method>
    void RegisterMethod(const char* name, Method method, unsigned flags = LuaPlus::kNoFlags)
    {
        using Traits = LuaPlus::ScriptMethodTraits<Method>;
        static_assert(sizeof...(Args) <= Traits::kArity,
                      "more argument types than the method has parameters");
        using Arguments =
            typename LuaPlus::ScriptMethodArguments<LuaPlus::ScriptTypeList<Args...>,
                                                    typename Traits::Parameters, sizeof...(Args)>::Type;
        const std::string qualifiedName = QualifiedName(name);
        LuaPlus::RegisterMethodBinding<Target, Arguments>(
            m_table, name, method, qualifiedName, m_mainStateTest, GuardMessage(qualifiedName, flags));
    }

    // "Name::function", or the function's name alone for a table with no
    // script name.
    std::string QualifiedName(const char* name) const;

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
    // The main-state guard's message for a function with these flags; empty
    // for a function without the guard.
    std::string GuardMessage(const std::string& qualifiedName, unsigned flags) const;

    LuaPlus::LuaObject m_table;
    LuaPlus::LuaState* m_state;
    std::string m_name;
    std::string m_scriptName;
    LuaPlus::MainStateTest m_mainStateTest = nullptr;
    unsigned m_defaultFlags = LuaPlus::kNoFlags;
};
