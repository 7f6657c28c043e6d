#include "core/script/lua/LuaObject.h"

#include <cmath>
#include <cstring>

namespace LuaPlus
{

void PushValue(lua_State* L, const LuaObject& object)
{
    object.Push(L);
}

void PushValue(lua_State* L, const LuaStackObject& object)
{
    lua_State* from = object.GetCState();
    if (from == L)
    {
        lua_pushvalue(L, object.GetIndex());
        return;
    }
    const LuaState* state = LuaState::CastState(L);
    if (state == nullptr || state != LuaState::CastState(from))
        throw LuaException("[LuaStackObject::Push] The value belongs to another script state");
    lua_pushvalue(from, object.GetIndex());
    lua_xmove(from, L, 1);
}

LuaObject::LuaObject(LuaState* state, int stackIndex) : LuaObject(CheckedState(state), stackIndex) {}

LuaObject::LuaObject(lua_State* L, int stackIndex)
{
    LuaState* state = LuaState::CastState(L);
    if (!state)
        throw LuaException("[LuaObject] The Lua state was not created by the engine");
    lua_pushvalue(L, stackIndex);
    Bind(state, L);
}

LuaObject::LuaObject(const LuaStackObject& object) : LuaObject(object.GetCState(), object.GetIndex()) {}

LuaObject::LuaObject(const LuaObject& other)
{
    if (other.m_token && other.m_token->state)
    {
        lua_State* L = other.m_token->state->GetCState();
        other.Push(L);
        Bind(other.m_token->state, L);
    }
    else
    {
        // None stays none; an object of a closed state stays dead.
        m_token = other.m_token;
        m_ref = other.m_ref;
    }
}

LuaObject::LuaObject(LuaObject&& other) noexcept : m_token(std::move(other.m_token)), m_ref(other.m_ref)
{
    other.m_ref = LUA_NOREF;
}

LuaObject& LuaObject::operator=(const LuaObject& other)
{
    if (this != &other)
        *this = LuaObject(other);
    return *this;
}

LuaObject& LuaObject::operator=(LuaObject&& other) noexcept
{
    if (this != &other)
    {
        Release();
        m_token = std::move(other.m_token);
        m_ref = other.m_ref;
        other.m_ref = LUA_NOREF;
    }
    return *this;
}

LuaState* LuaObject::GetState() const
{
    if (!m_token)
        return nullptr;
    Acquire();
    return m_token->state;
}

int LuaObject::Type() const
{
    if (!m_token)
        return LUA_TNONE;
    lua_State* L = Acquire();
    lua_rawgeti(L, LUA_REGISTRYINDEX, m_ref);
    const int type = lua_type(L, -1);
    lua_pop(L, 1);
    return type;
}

void LuaObject::Push() const
{
    if (!m_token)
        throw LuaException("[LuaObject::Push] The object holds no value");
    Push(Acquire());
}

void LuaObject::ThrowForeignState()
{
    throw LuaException("[LuaObject::Push] The object belongs to another script state");
}

void LuaObject::AssignNewTable(LuaState* state, int arraySize, int fieldCount)
{
    lua_State* L = CheckedState(state);
    lua_createtable(L, arraySize > 0 ? arraySize : 0, fieldCount > 0 ? fieldCount : 0);
    Bind(state, L);
}

void LuaObject::Register(const char* name, lua_CFunction function, const void* upvalue, size_t size)
{
    lua_State* L = PushTable("Register");
    LuaStackRestore restore(L, 1);
    lua_pushstring(L, name);
    CheckKey(L);
    void* block = lua_newuserdata(L, size);
    std::memcpy(block, upvalue, size);
    lua_pushcclosure(L, function, 1);
    lua_rawset(L, -3);
}

size_t LuaObject::GetCount() const
{
    if (!m_token)
        return 0;
    lua_State* L = PushCopy();
    LuaStackRestore restore(L, 1);
    return lua_objlen(L, -1);
}

LuaObject LuaObject::GetMetaTable() const
{
    if (!m_token)
        return LuaObject();
    lua_State* L = PushCopy();
    LuaStackRestore restore(L, 1);
    if (!lua_getmetatable(L, -1))
        lua_pushnil(L);
    LuaObject metaTable;
    metaTable.Bind(m_token->state, L);
    return metaTable;
}

void LuaObject::SetMetaTable(const LuaObject& metaTable)
{
    const int type = Type();
    if (type != LUA_TTABLE && type != LUA_TUSERDATA)
        throw LuaException("[LuaObject::SetMetaTable] Only tables and userdata take a metatable");
    lua_State* L = PushCopy();
    LuaStackRestore restore(L, 1);
    metaTable.Push(L);
    if (!lua_istable(L, -1) && !lua_isnil(L, -1))
        throw LuaException("[LuaObject::SetMetaTable] The metatable must be a table or nil");
    lua_setmetatable(L, -2);
}

lua_State* LuaObject::PushCopy() const
{
    lua_State* L = Acquire();
    lua_rawgeti(L, LUA_REGISTRYINDEX, m_ref);
    return L;
}

void LuaObject::ThrowUnusable() const
{
    if (!m_token)
        throw LuaException("[LuaObject] The object holds no value");
    throw LuaException("[LuaObject] The script state of the object has been closed");
}

lua_State* LuaObject::CheckedState(LuaState* state)
{
    if (!state)
        throw LuaException("[LuaObject] No script state given");
    return state->GetCState();
}

lua_State* LuaObject::PushTable(const char* operation) const
{
    if (m_token)
    {
        lua_State* L = PushCopy();
        if (lua_istable(L, -1))
            return L;
        lua_pop(L, 1);
    }
    throw LuaException(std::string("[LuaObject::") + operation + "] The object is not a table");
}

void LuaObject::CheckKey(lua_State* L)
{
    if (lua_isnil(L, -1) || (lua_type(L, -1) == LUA_TNUMBER && std::isnan(lua_tonumber(L, -1))))
        throw LuaException("[LuaObject::Set] A table key cannot be nil or NaN");
}

void LuaObject::Bind(LuaState* state, lua_State* L)
{
    Release();
    m_token = state->GetToken();
    m_ref = luaL_ref(L, LUA_REGISTRYINDEX);
}

void LuaObject::Release() noexcept
{
    if (m_token && m_token->state && m_ref >= 0)
        luaL_unref(m_token->state->GetCState(), LUA_REGISTRYINDEX, m_ref);
    m_token.reset();
    m_ref = LUA_NOREF;
}

LuaStackObject::LuaStackObject(lua_State* L, int index) : m_state(L), m_index(index)
{
    // Relative indices become absolute so the object survives later pushes.
    if (index < 0 && index > LUA_REGISTRYINDEX)
        m_index = lua_gettop(L) + index + 1;
}

LuaStackObject::LuaStackObject(LuaState* state, int index) : LuaStackObject(StackOf(state), index) {}

lua_State* LuaStackObject::StackOf(LuaState* state)
{
    if (!state)
        throw LuaException("[LuaStackObject] No script state given");
    return state->GetCState();
}

LuaObject LuaStackObject::GetMetaTable() const
{
    LuaStackRestore restore(m_state);
    if (!lua_getmetatable(m_state, m_index))
        lua_pushnil(m_state);
    return LuaObject(m_state, -1);
}

} // namespace LuaPlus
