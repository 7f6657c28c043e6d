#include "script_api/core/ScriptInterface.h"

#include "script_api/core/EngineAccess.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace
{

// The object behind an interface's global: one per interface and process,
// shared by every state. The functions read nothing from it.
void* InterfaceObject(const char* name)
{
    static std::mutex mutex;
    static auto* objects = new std::map<std::string, char>;
    std::lock_guard<std::mutex> lock(mutex);
    return &(*objects)[name];
}

// Calls find the functions through "__index": a copy of the table without
// that field, so that the table of functions itself (the metatable) is not
// reachable as IGraphics.__index, where a script could replace functions
// for every caller.
void HideFunctionTable(CScriptMetaTable& table)
{
    lua_State* L = table.GetState()->GetCState();
    LuaPlus::LuaStackRestore restore(L);
    LuaPlus::PushValue(L, table.GetTable());
    lua_newtable(L);
    lua_pushnil(L);
    while (lua_next(L, -3) != 0)
    {
        if (lua_type(L, -2) == LUA_TSTRING && std::strcmp(lua_tostring(L, -2), "__index") == 0)
        {
            lua_pop(L, 1);
            continue;
        }
        lua_pushvalue(L, -2);
        lua_insert(L, -2);
        lua_rawset(L, -4);
    }
    lua_setfield(L, -2, "__index");
}

} // namespace

void PublishScriptInterface(LuaPlus::LuaState* state, const char* name,
                            std::initializer_list<ScriptFunctionGroup> groups, unsigned interfaceFlags)
{
    CScriptMetaTable table(state);
    table.SetScriptName(name);
    table.SetMainStateTest(&IsMainScriptThread);
    table.SetDefaultFlags(interfaceFlags);
    for (ScriptFunctionGroup group : groups)
        group(table);
    HideFunctionTable(table);
    table.SetGlobalObject(InterfaceObject(name), name);
    table.Seal();
}
