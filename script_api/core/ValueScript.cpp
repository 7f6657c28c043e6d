#include "script_api/core/ValueScript.h"

#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Rect.h"
#include "core/foundation/Vector.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <random>

namespace ValueScript
{

namespace
{

const char* const kClassNames[kValueClassCount] = {"CPointScript", "CVectorScript", "CRectScript",
                                                   "CColorScript"};

const size_t kObjectSizes[kValueClassCount] = {sizeof(SValueObject<CPoint>), sizeof(SValueObject<CVector>),
                                               sizeof(SValueObject<CRect>), sizeof(SValueObject<CColor>)};

// A method reads its arguments from stack indices 2 to this one (the four
// components of set); an object kept for the method goes above them.
constexpr int kLastMethodArgument = 5;

// A number no script can know: from the system's random source, mixed with
// the clock and an address so that it differs between processes even
// without one.
uint64_t DrawSecret()
{
    uint64_t secret = 0;
    try
    {
        std::random_device device;
        secret = (static_cast<uint64_t>(device()) << 32) ^ device();
    }
    catch (const std::exception&)
    {
    }
    secret ^= static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) *
              0x9E3779B97F4A7C15u;
    secret ^= reinterpret_cast<uintptr_t>(&secret);
    return secret;
}

const uint64_t kSecret = DrawSecret();

// Distinct for every class.
constexpr uint64_t Tag(uint64_t secret, EValueClass valueClass)
{
    return secret ^ (static_cast<uint64_t>(valueClass + 1) * 0xD6E8FEB86659FD93u);
}

// The class of the object at the index (by its size and tag), or
// kValueClassCount for any other value.
EValueClass ClassOfObject(lua_State* L, int index)
{
    const void* block = lua_touserdata(L, index);
    if (block == nullptr)
        return kValueClassCount;
    const size_t size = lua_objlen(L, index);
    for (int valueClass = 0; valueClass < kValueClassCount; ++valueClass)
    {
        if (size == kObjectSizes[valueClass] &&
            *static_cast<const uint64_t*>(block) == g_classTags[valueClass])
            return static_cast<EValueClass>(valueClass);
    }
    return kValueClassCount;
}

// table[name] = the value on top (popped), without metamethods: a script
// may have given the table or the globals a metatable of its own.
void RawSetField(lua_State* L, int table, const char* name)
{
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_rawset(L, table);
}

} // namespace

const uint64_t g_classTags[kValueClassCount] = {Tag(kSecret, kPointClass), Tag(kSecret, kVectorClass),
                                                Tag(kSecret, kRectClass), Tag(kSecret, kColorClass)};

const char* GetClassName(EValueClass valueClass)
{
    return kClassNames[valueClass];
}

char g_classKeys[kValueClassCount];

void ThrowUnregistered(EValueClass valueClass)
{
    throw Misc::Error::CKVOError::Format(L"[%S] The class is not registered on this script state"_fmt,
                                         kClassNames[valueClass]);
}

void ThrowForeignUserData(lua_State* L, int index, EValueClass valueClass)
{
    const EValueClass other = ClassOfObject(L, index);
    if (other != kValueClassCount && other != valueClass)
    {
        throw Misc::Error::CKVOError::Format(L"[%S] A %S value was given where a %S value is expected"_fmt,
                                             kClassNames[valueClass], kClassNames[other],
                                             kClassNames[valueClass]);
    }
    throw Misc::Error::CKVOError::Format(L"[%S] A userdata was given where a %S value is expected"_fmt,
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

void PushObjectField(lua_State* L)
{
    // Reading the next argument can run the collector: the object must not
    // depend on the table to stay alive.
    if (lua_gettop(L) < kLastMethodArgument)
        lua_settop(L, kLastMethodArgument);
    lua_pushstring(L, "__object");
    lua_rawget(L, 1);
    if (lua_type(L, -1) != LUA_TUSERDATA)
        luaL_error(L, "The table does not have a userdata member called __object.");
}

void RaiseNotAnObject(lua_State* L)
{
    luaL_argerror(L, 1, "must be userdata or a table with a userdata member called __object");
    std::abort(); // luaL_argerror raises the error and never returns
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

void PushClassTables(lua_State* L)
{
    // The state's own tables, made on first use; whatever the globals of
    // the class names hold does not matter.
    for (int valueClass = 0; valueClass < kValueClassCount; ++valueClass)
    {
        Anywhere::PushRegisteredTable(L, static_cast<EValueClass>(valueClass));
        if (lua_istable(L, -1))
            continue;
        lua_pop(L, 1);
        lua_newtable(L);
        lua_pushlightuserdata(L, &g_classKeys[valueClass]);
        lua_pushvalue(L, -2);
        lua_rawset(L, LUA_REGISTRYINDEX);
    }
}

void RegisterCreator(CScriptMetaTable& table, const char* name, lua_CFunction creator)
{
    lua_State* L = table.GetTable().GetMainThread();
    LuaPlus::LuaStackRestore restore(L);
    table.GetTable().Push(L);
    const int functions = lua_gettop(L);
    PushClassTables(L);
    lua_pushcclosure(L, creator, kValueClassCount);
    RawSetField(L, functions, name);
}

CClassTable::CClassTable(LuaPlus::LuaState* state, EValueClass valueClass)
    : m_L(state->GetCState()), m_class(valueClass), m_base(lua_gettop(m_L) + 1)
{
    PushClassTables(m_L);
}

CClassTable::~CClassTable()
{
    lua_settop(m_L, m_base - 1);
}

void CClassTable::RegisterHelper(const char* name, lua_CFunction method)
{
    for (int other = 0; other < kValueClassCount; ++other)
        lua_pushvalue(m_L, m_base + other);
    lua_pushcclosure(m_L, method, kValueClassCount);
    RawSetField(m_L, m_base + m_class, name);
}

void CClassTable::Finish()
{
    const int table = m_base + m_class;
    lua_pushvalue(m_L, table);
    RawSetField(m_L, table, "__index");
    lua_pushstring(m_L, "Metatable is readonly");
    RawSetField(m_L, table, "__metatable");
    lua_pushvalue(m_L, table);
    RawSetField(m_L, LUA_GLOBALSINDEX, kClassNames[m_class]);
}

} // namespace ValueScript
