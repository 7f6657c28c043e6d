#include "script_api/core/ValueScript.h"

namespace ValueScript
{

namespace
{

const char* const kClassNames[kValueClassCount] = {"CPointScript", "CVectorScript", "CRectScript",
                                                   "CColorScript"};

// Registry keys of the class tables: the addresses of these bytes.
char g_classKeys[kValueClassCount];

// Pushes the class table registered on L's state (nil when there is none).
void PushClassTable(lua_State* L, EValueClass valueClass)
{
    lua_pushlightuserdata(L, &g_classKeys[valueClass]);
    lua_rawget(L, LUA_REGISTRYINDEX);
}

// Whether the value at the index (a userdata) has the class table as its
// metatable.
bool HasClassTable(lua_State* L, int index, EValueClass valueClass)
{
    if (!lua_getmetatable(L, index))
        return false;
    PushClassTable(L, valueClass);
    const bool same = lua_rawequal(L, -1, -2) != 0;
    lua_pop(L, 2);
    return same;
}

} // namespace

const char* GetClassName(EValueClass valueClass)
{
    return kClassNames[valueClass];
}

void* NewObject(lua_State* L, EValueClass valueClass, size_t size)
{
    PushClassTable(L, valueClass);
    if (!lua_istable(L, -1))
    {
        lua_pop(L, 1);
        throw Misc::Error::CKVOError::Format(L"[%S] The class is not registered on this script state",
                                             kClassNames[valueClass]);
    }
    void* block = lua_newuserdata(L, size);
    lua_insert(L, -2);
    lua_setmetatable(L, -2);
    return block;
}

void* ToObject(lua_State* L, int index, EValueClass valueClass, size_t size)
{
    if (lua_type(L, index) != LUA_TUSERDATA || lua_objlen(L, index) != size)
        return nullptr;
    if (index < 0 && index > LUA_REGISTRYINDEX)
        index = lua_gettop(L) + index + 1;
    return HasClassTable(L, index, valueClass) ? lua_touserdata(L, index) : nullptr;
}

void ThrowForeignUserData(lua_State* L, int index, EValueClass valueClass)
{
    if (index < 0 && index > LUA_REGISTRYINDEX)
        index = lua_gettop(L) + index + 1;
    for (int other = 0; other < kValueClassCount; ++other)
    {
        if (other != valueClass && HasClassTable(L, index, static_cast<EValueClass>(other)))
        {
            throw Misc::Error::CKVOError::Format(L"[%S] A %S value was given where a %S value is expected",
                                                 kClassNames[valueClass], kClassNames[other],
                                                 kClassNames[valueClass]);
        }
    }
    throw Misc::Error::CKVOError::Format(L"[%S] A userdata was given where a %S value is expected",
                                         kClassNames[valueClass], kClassNames[valueClass]);
}

bool GetText(lua_State* L, int index, std::string& text)
{
    const int type = lua_type(L, index);
    if (type != LUA_TSTRING && type != LUA_TNUMBER)
        return false;
    // Convert a copy: lua_tolstring would turn a number argument into a
    // string in its stack slot.
    lua_pushvalue(L, index);
    size_t size = 0;
    const char* data = lua_tolstring(L, -1, &size);
    text.assign(data, size);
    lua_pop(L, 1);
    return true;
}

void FinishClassTable(CScriptMetaTable& table, EValueClass valueClass)
{
    table.Seal();
    lua_State* L = table.GetState()->GetCState();
    LuaPlus::LuaStackRestore restore(L);
    lua_pushlightuserdata(L, &g_classKeys[valueClass]);
    table.GetTable().Push(L);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

void* GetSelf(lua_State* L, EValueClass valueClass, size_t size)
{
    switch (lua_type(L, 1))
    {
    case LUA_TUSERDATA:
        if (void* block = ToObject(L, 1, valueClass, size))
            return block;
        ThrowForeignUserData(L, 1, valueClass);
    case LUA_TTABLE:
    {
        lua_pushstring(L, "__object");
        lua_rawget(L, 1);
        if (lua_type(L, -1) != LUA_TUSERDATA)
        {
            luaL_error(L, "The table does not have a userdata member called __object.");
            return nullptr;
        }
        // The table keeps the object alive while the method runs.
        void* block = ToObject(L, -1, valueClass, size);
        if (!block)
            ThrowForeignUserData(L, -1, valueClass);
        lua_pop(L, 1);
        return block;
    }
    default:
        luaL_argerror(L, 1, "must be userdata or a table with a userdata member called __object");
        return nullptr;
    }
}

int Concat(lua_State* L, bool (*text)(lua_State* L, int index, std::string& out))
{
    std::string left;
    std::string right;
    if (text(L, 1, left))
    {
        if (!GetText(L, 2, right) && !text(L, 2, right))
        {
            lua_pushnil(L);
            return 1;
        }
    }
    else if (!text(L, 2, right) || !GetText(L, 1, left))
    {
        lua_pushnil(L);
        return 1;
    }
    left += right;
    lua_pushlstring(L, left.data(), left.size());
    return 1;
}

} // namespace ValueScript
