#pragma once

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/ScriptArg.h"

#include <lua.hpp>

#include <cstddef>
#include <exception>
#include <type_traits>

namespace LuaPlus
{

// A table argument borrowed from the stack for the duration of a call: its
// fields are read in place and no registry reference is taken. Read a field
// as LuaObject only where the engine keeps the value. A value that is not a
// table reads as an empty one.
//
//     double Area(LuaPlus::LuaState*, const LuaPlus::LuaStackTable& size)
//     {
//         return size.Get<double>("width") * size.Get<double>("height");
//     }
class LuaStackTable : public LuaStackObject
{
public:
    LuaStackTable(lua_State* L, int index) : LuaStackObject(L, index), m_isTable(lua_istable(L, GetIndex()))
    {
    }

    // The raw field (no metamethods) converted as an argument of type T
    // would be: a missing field gives 0, "", false or nil.
    template <typename T, typename Key> T Get(const Key& key) const
    {
        static_assert(!std::is_pointer_v<T> && !std::is_base_of_v<LuaStackObject, T>,
                      "the value would outlive the field's stack slot");
        lua_State* L = PushField(key);
        try
        {
            typename ScriptArg<T>::Held held = ScriptArg<T>::Get(L, -1);
            lua_pop(L, 1);
            return ScriptArg<T>::Pass(held);
        }
        catch (const std::exception&)
        {
            lua_pop(L, 1);
            throw;
        }
    }

    // The Lua type of the raw field (LUA_TNIL when missing).
    template <typename Key> int FieldType(const Key& key) const
    {
        lua_State* L = PushField(key);
        const int type = lua_type(L, -1);
        lua_pop(L, 1);
        return type;
    }

    // The length operator without metamethods; 0 for a value that is not a
    // table.
    size_t GetCount() const { return m_isTable ? lua_objlen(GetCState(), GetIndex()) : 0; }

private:
    template <typename Key> lua_State* PushField(const Key& key) const
    {
        lua_State* L = GetCState();
        if (m_isTable)
        {
            PushValue(L, key);
            lua_rawget(L, GetIndex());
        }
        else
        {
            lua_pushnil(L);
        }
        return L;
    }

    bool m_isTable;
};

template <> struct ScriptArg<LuaStackTable> : ScriptArgHeld<LuaStackTable>
{
    static LuaStackTable Get(lua_State* L, int index) { return LuaStackTable(L, index); }
};

} // namespace LuaPlus
