#pragma once

#include "core/script/lua/LuaException.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/WideString.h"

#include <lua.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace LuaPlus
{

class LuaObject;

// Pushing C++ values: one set of rules for results of bound functions,
// arguments of script calls and table fields. Wide text goes in as UTF-8.
inline void PushValue(lua_State* L, std::nullptr_t)
{
    lua_pushnil(L);
}
inline void PushValue(lua_State* L, bool value)
{
    lua_pushboolean(L, value ? 1 : 0);
}
template <typename T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool>, int> = 0>
inline void PushValue(lua_State* L, T value)
{
    lua_pushnumber(L, static_cast<lua_Number>(value));
}
inline void PushValue(lua_State* L, const char* text)
{
    if (text)
        lua_pushstring(L, text);
    else
        lua_pushnil(L);
}
inline void PushValue(lua_State* L, std::string_view text)
{
    lua_pushlstring(L, text.data(), text.size());
}
inline void PushValue(lua_State* L, const wchar_t* text)
{
    lua_pushwstring(L, text);
}
inline void PushValue(lua_State* L, std::wstring_view text)
{
    lua_pushwstring(L, text);
}
inline void PushValue(lua_State* L, lua_CFunction function)
{
    lua_pushcfunction(L, function);
}
void PushValue(lua_State* L, const LuaObject& object);
// A value of another stack (another thread of the same state) is moved over.
void PushValue(lua_State* L, const class LuaStackObject& object);

// Puts the stack top back where it was when the scope ends, whatever way
// it ends; `pushed` values already pushed are taken off as well.
class LuaStackRestore
{
public:
    explicit LuaStackRestore(lua_State* L, int pushed = 0) : m_state(L), m_top(lua_gettop(L) - pushed) {}
    ~LuaStackRestore() { lua_settop(m_state, m_top); }
    LuaStackRestore(const LuaStackRestore&) = delete;
    LuaStackRestore& operator=(const LuaStackRestore&) = delete;

private:
    lua_State* m_state;
    int m_top;
};

// Type tests and reads shared by LuaObject and LuaStackObject. Reads work on
// a copy of the value, so a number read as text stays a number. A value
// that is absent reads as nil.
template <typename Derived> class LuaValueReads
{
public:
    const char* TypeName() const { return lua_typename(nullptr, Self().Type()); }
    bool IsNone() const { return Self().Type() == LUA_TNONE; }
    bool IsNil() const
    {
        const int type = Self().Type();
        return type == LUA_TNIL || type == LUA_TNONE;
    }
    bool IsBoolean() const { return Self().Type() == LUA_TBOOLEAN; }
    bool IsNumber() const { return Self().Type() == LUA_TNUMBER; }
    bool IsString() const { return Self().Type() == LUA_TSTRING; }
    bool IsTable() const { return Self().Type() == LUA_TTABLE; }
    bool IsFunction() const { return Self().Type() == LUA_TFUNCTION; }
    bool IsUserData() const { return Self().Type() == LUA_TUSERDATA; }

    // nil and false are false, every other value true.
    bool GetBoolean() const
    {
        return Read([](lua_State* L) { return lua_toboolean(L, -1) != 0; }, false);
    }
    // A number, or a string holding one; anything else 0.
    double GetNumber() const
    {
        return Read([](lua_State* L) { return static_cast<double>(lua_tonumber(L, -1)); }, 0.0);
    }
    // A string, or a number as its text; anything else "".
    std::string GetString() const
    {
        return Read(
            [](lua_State* L)
            {
                size_t size = 0;
                const char* text = lua_isstring(L, -1) ? lua_tolstring(L, -1, &size) : nullptr;
                return text ? std::string(text, size) : std::string();
            },
            std::string());
    }
    std::wstring GetWString() const
    {
        return Read([](lua_State* L) { return lua_towstring(L, -1); }, std::wstring());
    }
    // The block of a full userdata or the pointer of a light one; else null.
    void* GetUserData() const
    {
        return Read([](lua_State* L) { return lua_touserdata(L, -1); }, static_cast<void*>(nullptr));
    }

private:
    const Derived& Self() const { return static_cast<const Derived&>(*this); }

    template <typename Reader, typename T> T Read(Reader reader, T fallback) const
    {
        if (IsNone())
            return fallback;
        lua_State* L = Self().PushCopy();
        LuaStackRestore restore(L, 1);
        return reader(L);
    }
};

// A value kept alive in the registry of its state. An object made with no
// value is "none". Once its state is destroyed, every use but destruction
// and assignment throws LuaException. Objects work on the state's main
// thread; Push(L) puts the value on any thread of the same state.
class LuaObject : public LuaValueReads<LuaObject>
{
public:
    LuaObject() = default;
    // The value at the index of the state's main stack.
    LuaObject(LuaState* state, int stackIndex);
    // The value at the index of a thread of an engine state.
    LuaObject(lua_State* L, int stackIndex);
    explicit LuaObject(const class LuaStackObject& object);
    LuaObject(const LuaObject& other);
    LuaObject(LuaObject&& other) noexcept;
    LuaObject& operator=(const LuaObject& other);
    LuaObject& operator=(LuaObject&& other) noexcept;
    ~LuaObject() { Release(); }

    // Null for none.
    LuaState* GetState() const;
    // The main thread of the object's state; throws for none and for a
    // closed state.
    lua_State* GetMainThread() const { return Acquire(); }
    // LUA_TNONE for none.
    int Type() const;

    void Push() const;
    // On a thread of the object's state; none pushes nil.
    void Push(lua_State* L) const
    {
        if (!m_token)
        {
            lua_pushnil(L);
            return;
        }
        // The state's main thread is the common case and needs no lookup.
        if (L != Acquire() && LuaState::CastState(L) != m_token->state)
            ThrowForeignState();
        lua_rawgeti(L, LUA_REGISTRYINDEX, m_ref);
    }

    // Any value PushValue takes: nil, a boolean, a number, narrow or wide
    // text, a C function, another object of the state.
    template <typename Value> void Assign(LuaState* state, const Value& value)
    {
        lua_State* L = CheckedState(state);
        PushValue(L, value);
        Bind(state, L);
    }
    void AssignNewTable(LuaState* state, int arraySize = 0, int fieldCount = 0);
    // Back to none.
    void Reset() { Release(); }

    // Raw table access (no metamethods). The object must be a table; a nil
    // or NaN key cannot be set.
    template <typename Key> LuaObject Get(const Key& key) const
    {
        lua_State* L = PushTable("Get");
        LuaStackRestore restore(L, 1);
        PushValue(L, key);
        lua_rawget(L, -2);
        LuaObject value;
        value.Bind(m_token->state, L);
        return value;
    }
    LuaObject operator[](const char* key) const { return Get(key); }
    LuaObject operator[](int index) const { return Get(index); }
    template <typename Key, typename Value> void Set(const Key& key, const Value& value)
    {
        lua_State* L = PushTable("Set");
        LuaStackRestore restore(L, 1);
        PushValue(L, key);
        CheckKey(L);
        PushValue(L, value);
        lua_rawset(L, -3);
    }
    template <typename Key> void SetNil(const Key& key) { Set(key, nullptr); }
    void Register(const char* name, lua_CFunction function) { Set(name, function); }
    // A C closure whose upvalue 1 is a full userdata holding a copy of the
    // given bytes.
    void Register(const char* name, lua_CFunction function, const void* upvalue, size_t size);

    // The length operator without metamethods (lua_objlen).
    size_t GetCount() const;
    // Nil when the value has no metatable.
    LuaObject GetMetaTable() const;
    // Tables and full userdata only; the metatable is a table or nil.
    void SetMetaTable(const LuaObject& metaTable);

private:
    friend class LuaValueReads<LuaObject>;

    lua_State* PushCopy() const;
    // The state's main thread; throws for none and for a closed state.
    lua_State* Acquire() const
    {
        if (!m_token || !m_token->state)
            ThrowUnusable();
        return m_token->state->GetCState();
    }
    [[noreturn]] void ThrowUnusable() const;
    [[noreturn]] static void ThrowForeignState();
    static lua_State* CheckedState(LuaState* state);
    lua_State* PushTable(const char* operation) const;
    static void CheckKey(lua_State* L);
    // References the value on top of L and pops it.
    void Bind(LuaState* state, lua_State* L);
    void Release() noexcept;

    std::shared_ptr<LuaState::Token> m_token;
    int m_ref = LUA_NOREF;
};

// A value on a Lua stack, by index; valid while that stack slot is. An index
// beyond the top reads as none, until something is pushed there: the engine
// functions that take one as an argument get their missing arguments as nil
// in slots of their own.
class LuaStackObject : public LuaValueReads<LuaStackObject>
{
public:
    LuaStackObject(lua_State* L, int index);
    LuaStackObject(LuaState* state, int index);

    LuaState* GetState() const { return LuaState::CastState(m_state); }
    lua_State* GetCState() const { return m_state; }
    int GetIndex() const { return m_index; }
    int Type() const { return lua_type(m_state, m_index); }
    void Push() const { lua_pushvalue(m_state, m_index); }
    LuaObject GetMetaTable() const;

private:
    friend class LuaValueReads<LuaStackObject>;
    static lua_State* StackOf(LuaState* state);
    lua_State* PushCopy() const
    {
        Push();
        return m_state;
    }

    lua_State* m_state;
    int m_index;
};

} // namespace LuaPlus
