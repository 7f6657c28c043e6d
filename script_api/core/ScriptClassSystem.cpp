// The script class system of IMisc: classes are tables whose "__index" is
// the table itself, with the base class as metatable. Instances are tables
// or full userdata; "__construct" runs when an instance is made and, for
// userdata, "__destruct" when it is collected.

#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptArg.h"
#include "script_api/core/IMiscFunctions.h"

#include <lua.hpp>

#include <algorithm>
#include <exception>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using Misc::Error::CKVOError;

namespace
{

// Arguments handed to a constructor (or destructor) after the object.
constexpr int kMethodArguments = 7;
// Metatables followed at most while looking for a method; a longer chain
// (or a cycle) ends the search.
constexpr int kMaxSearchDepth = 100;

// Registry key of the destructor hook of this state.
char g_destructorHookKey;

// Runs in protected mode. Stack: 1 = method name, 2 = object, 3 to 9 = the
// arguments. Looks the method up in the object (a userdata: in its
// metatable) with ordinary indexing, then in each metatable up the chain,
// and calls the first function found with the object and the arguments.
int SearchAndCall(lua_State* L)
{
    lua_settop(L, 2 + kMethodArguments);
    if (lua_type(L, 2) == LUA_TUSERDATA)
    {
        if (!lua_getmetatable(L, 2))
            return 0;
    }
    else
    {
        lua_pushvalue(L, 2);
    }
    for (int depth = 0; depth < kMaxSearchDepth && lua_istable(L, -1); ++depth)
    {
        lua_pushvalue(L, 1);
        lua_gettable(L, -2);
        if (lua_isfunction(L, -1))
        {
            for (int i = 2; i <= 2 + kMethodArguments; ++i)
                lua_pushvalue(L, i);
            lua_call(L, 1 + kMethodArguments, 1);
            return 0;
        }
        lua_pop(L, 1);
        if (!lua_getmetatable(L, -1))
            return 0;
        // A table that is its own metatable has been searched already.
        if (lua_rawequal(L, -1, -2))
            return 0;
        lua_remove(L, -2);
    }
    return 0;
}

// Calls the method of the object at objectIndex with the seven values from
// firstArgument on (0: seven nils), in protected mode. The function that
// runs the search must be on top of the stack; it is consumed. Returns
// false with the error text when the method fails.
bool CallMethod(lua_State* L, int objectIndex, const char* name, int firstArgument, std::string& error)
{
    lua_pushstring(L, name);
    lua_pushvalue(L, objectIndex);
    for (int i = 0; i < kMethodArguments; ++i)
    {
        if (firstArgument > 0)
            lua_pushvalue(L, firstArgument + i);
        else
            lua_pushnil(L);
    }
    if (lua_pcall(L, 2 + kMethodArguments, 0, 0) == 0)
        return true;
    error = LuaPlus::GetErrorText(L, -1);
    lua_pop(L, 1);
    return false;
}

// "__gc" of userdata instances: runs "__destruct". The collector may run
// anywhere, so nothing may escape from here: a failing destructor is
// logged and otherwise ignored. Upvalue 1 is SearchAndCall, so calling the
// destructor allocates nothing before the protected call.
int DestructorHook(lua_State* L)
{
    lua_settop(L, 1);
    if (!lua_checkstack(L, 4 + kMethodArguments))
        return 0;
    lua_pushvalue(L, lua_upvalueindex(1));
    std::string error;
    if (CallMethod(L, 1, "__destruct", 0, error))
        return 0;
    try
    {
        Misc::CLogger* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
        logger->Write(0, false, L"[IMisc] A script destructor (__destruct) failed: %S"_fmt, error);
    }
    catch (const std::exception&)
    {
        // Out of memory while logging: the error stays unreported.
    }
    return 0;
}

// Pushes the state's destructor hook, made on first use.
void PushDestructorHook(lua_State* L)
{
    lua_pushlightuserdata(L, &g_destructorHookKey);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_isfunction(L, -1))
        return;
    lua_pop(L, 1);
    lua_pushcfunction(L, &SearchAndCall);
    lua_pushcclosure(L, &DestructorHook, 1);
    lua_pushlightuserdata(L, &g_destructorHookKey);
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

// Pushes a new table P for a userdata instance: "__gc" the destructor hook,
// "__newindex" and "__index" P itself, so the userdata keeps its fields in P.
void PushInstanceTable(lua_State* L)
{
    lua_newtable(L);
    PushDestructorHook(L);
    lua_setfield(L, -2, "__gc");
    lua_pushvalue(L, -1);
    lua_setfield(L, -2, "__newindex");
    lua_pushvalue(L, -1);
    lua_setfield(L, -2, "__index");
}

// Makes sure every argument index up to lastArgument is a stack slot, so
// values pushed from now on land above the arguments.
void SettleArguments(lua_State* L, int lastArgument)
{
    if (lua_gettop(L) < lastArgument)
        lua_settop(L, lastArgument);
    if (!lua_checkstack(L, 8 + kMethodArguments))
        throw LuaPlus::LuaException("[IMisc] Not enough stack space for the call");
}

// Pushes the class table: the value itself, or the global named by a string.
void PushClass(lua_State* L, int definition)
{
    lua_pushvalue(L, definition);
    if (lua_type(L, -1) == LUA_TSTRING)
        lua_rawget(L, LUA_GLOBALSINDEX);
    if (!lua_istable(L, -1))
        throw CKVOError(L"[classCreateInstance] classDefinition must be a Lua table or string");
}

// Runs "__construct" of the instance on top of the stack with the seven
// arguments from firstArgument on; a failure is raised as a script error.
void Construct(lua_State* L, int firstArgument)
{
    const int instance = lua_gettop(L);
    lua_pushcfunction(L, &SearchAndCall);
    std::string error;
    if (!CallMethod(L, instance, "__construct", firstArgument, error))
        throw LuaPlus::LuaException(error);
}

LuaObject classDefine(LuaState*, const LuaStackObject& base)
{
    lua_State* L = base.GetCState();
    SettleArguments(L, base.GetIndex());
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setfield(L, -2, "__index");
    if (base.IsTable())
    {
        base.Push();
        lua_setmetatable(L, -2);
    }
    return LuaObject(L, -1);
}

// A new instance of the class after its constructor ran: a table whose
// metatable is the class, or a userdata (null payload) whose metatable is a
// new field table P with the class as P's metatable.
LuaObject CreateInstance(const LuaStackObject& classDefinition, const LuaStackObject& a1,
                         const LuaStackObject& a7, bool userData)
{
    lua_State* L = classDefinition.GetCState();
    SettleArguments(L, a7.GetIndex());
    PushClass(L, classDefinition.GetIndex());
    if (userData)
        PushInstanceTable(L);
    else
        lua_newtable(L);
    lua_insert(L, -2);
    lua_setmetatable(L, -2);
    if (userData)
    {
        *static_cast<void**>(lua_newuserdata(L, sizeof(void*))) = nullptr;
        lua_insert(L, -2);
        lua_setmetatable(L, -2);
    }
    Construct(L, a1.GetIndex());
    return LuaObject(L, -1);
}

LuaObject classCreateInstance(LuaState*, const LuaStackObject& classDefinition, const LuaStackObject& a1,
                              const LuaStackObject&, const LuaStackObject&, const LuaStackObject&,
                              const LuaStackObject&, const LuaStackObject&, const LuaStackObject& a7)
{
    return CreateInstance(classDefinition, a1, a7, false);
}

LuaObject classCreateInstanceUD(LuaState*, const LuaStackObject& classDefinition, const LuaStackObject& a1,
                                const LuaStackObject&, const LuaStackObject&, const LuaStackObject&,
                                const LuaStackObject&, const LuaStackObject&, const LuaStackObject& a7)
{
    return CreateInstance(classDefinition, a1, a7, true);
}

bool classAttach(LuaState*, const LuaStackObject& object, const LuaStackObject& classDefinition)
{
    lua_State* L = object.GetCState();
    SettleArguments(L, std::max(object.GetIndex(), classDefinition.GetIndex()));
    if (!classDefinition.IsTable())
        throw LuaPlus::ScriptArgumentError("classDefinition must be a Lua table");
    // Setting the metatable of a number or string would change it for every
    // value of that type.
    if (!object.IsTable() && !object.IsUserData())
        throw LuaPlus::ScriptArgumentError("object must be a Lua table or userdata");
    if (luaL_getmetafield(L, object.GetIndex(), "__metatable"))
        throw LuaPlus::ScriptArgumentError("object has a protected metatable");

    object.Push();
    if (object.IsUserData() && !lua_getmetatable(L, -1))
    {
        PushInstanceTable(L);
        lua_pushvalue(L, -1);
        lua_setmetatable(L, -3);
        lua_remove(L, -2); // from here on the class goes to P
    }
    else if (object.IsUserData())
    {
        lua_pop(L, 1);
    }
    classDefinition.Push();
    lua_setmetatable(L, -2);
    lua_pop(L, 1);
    return true;
}

} // namespace

void RegisterIMiscClassFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("classDefine", &classDefine);
    table.RegisterHelper("classCreateInstance", &classCreateInstance);
    table.RegisterHelper("classCreateInstanceUD", &classCreateInstanceUD);
    table.RegisterHelper("classAttach", &classAttach);
}
