// Script points and vectors through their value classes, side by side with
// their floors:
// - plain Lua tables doing the same arithmetic (creating a vector, adding
//   two, reading a component, and the three in one step);
// - bare C methods doing the same work on the same kind of userdata, with a
//   metatable of their own and no checks: reading one component or all of
//   them, creating a value (a copy, or through an interface function),
//   adding two values, and a mix of the three.
#include "bench/ScriptLoop.h"

#include "core/foundation/Point.h"
#include "core/foundation/Vector.h"
#include "core/script/lua/LuaState.h"
#include "script_api/core/IMisc.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <iterator>
#include <string>

namespace
{

// Each body runs once per loop step with i the step number and a, b two
// vectors made before the loop; it adds a number to s.
const char* const kPrelude = R"lua(
    local M = IMisc
    local function new(x, y, z) return { x = x, y = y, z = z } end
    local function add(a, b) return { x = a.x + b.x, y = a.y + b.y, z = a.z + b.z } end
    local ta, tb = new(1, 2, 3), new(4, 5, 6)
    local va, vb = M:vectorCreate(1, 2, 3), M:vectorCreate(4, 5, 6)
)lua";

void RunLoop(benchmark::State& run, const char* body)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    RegisterIMisc(state);
    RunScriptLoop(run, state, kPrelude, body);
    LuaPlus::LuaState::Destroy(state);
}

void BM_Create_Table(benchmark::State& run)
{
    RunLoop(run, "local v = new(i, 2, 3) s = s + 1");
}
void BM_Create_ValueClass(benchmark::State& run)
{
    RunLoop(run, "local v = M:vectorCreate(i, 2, 3) s = s + 1");
}
void BM_Add_Table(benchmark::State& run)
{
    RunLoop(run, "local v = add(ta, tb) s = s + 1");
}
void BM_Add_ValueClass(benchmark::State& run)
{
    RunLoop(run, "local v = va + vb s = s + 1");
}
void BM_GetComponent_Table(benchmark::State& run)
{
    RunLoop(run, "s = s + ta.x");
}
void BM_GetComponent_ValueClass(benchmark::State& run)
{
    RunLoop(run, "s = s + va:getX()");
}
void BM_CreateAddGet_Table(benchmark::State& run)
{
    RunLoop(run, "local v = add(new(i, 2, 3), tb) s = s + v.x");
}
void BM_CreateAddGet_ValueClass(benchmark::State& run)
{
    RunLoop(run, "local v = M:vectorCreate(i, 2, 3) + vb s = s + v:getX()");
}

BENCHMARK(BM_Create_Table);
BENCHMARK(BM_Create_ValueClass);
BENCHMARK(BM_Add_Table);
BENCHMARK(BM_Add_ValueClass);
BENCHMARK(BM_GetComponent_Table);
BENCHMARK(BM_GetComponent_ValueClass);
BENCHMARK(BM_CreateAddGet_Table);
BENCHMARK(BM_CreateAddGet_ValueClass);

// The bare floor: a value of T in a userdata whose metatable (upvalue 1 of
// every function) holds bare methods that trust their operands.
template <typename T> constexpr int kComponents = sizeof(T) / sizeof(float);

template <typename T> float* Components(lua_State* L, int index)
{
    return static_cast<float*>(lua_touserdata(L, index));
}

template <typename T> float* NewBare(lua_State* L)
{
    auto* value = static_cast<float*>(lua_newuserdata(L, sizeof(T)));
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_setmetatable(L, -2);
    return value;
}

template <typename T, int I> int BareGet(lua_State* L)
{
    lua_pushnumber(L, Components<T>(L, 1)[I]);
    return 1;
}

template <typename T> int BareCopy(lua_State* L)
{
    const float* self = Components<T>(L, 1);
    float* copy = NewBare<T>(L);
    for (int i = 0; i < kComponents<T>; ++i)
        copy[i] = self[i];
    return 1;
}

template <typename T> int BareAdd(lua_State* L)
{
    const float* left = Components<T>(L, 1);
    const float* right = Components<T>(L, 2);
    float* sum = NewBare<T>(L);
    for (int i = 0; i < kComponents<T>; ++i)
        sum[i] = left[i] + right[i];
    return 1;
}

// create(x, y[, z]) called on an interface object, as M:vectorCreate is.
template <typename T> int BareCreate(lua_State* L)
{
    float components[kComponents<T>];
    for (int i = 0; i < kComponents<T>; ++i)
        components[i] = static_cast<float>(lua_tonumber(L, i + 2));
    float* value = NewBare<T>(L);
    for (int i = 0; i < kComponents<T>; ++i)
        value[i] = components[i];
    return 1;
}

void SetClosure(lua_State* L, int table, const char* name, lua_CFunction function, int metatable)
{
    lua_pushvalue(L, metatable);
    lua_pushcclosure(L, function, 1);
    lua_setfield(L, table, name);
}

// Publishes the bare class of T as the global BareClass (its metatable)
// and the global B, an interface object whose create makes such values.
template <typename T> void RegisterBare(lua_State* L)
{
    lua_newtable(L);
    const int metatable = lua_gettop(L);
    lua_pushvalue(L, metatable);
    lua_setfield(L, metatable, "__index");
    SetClosure(L, metatable, "getX", &BareGet<T, 0>, metatable);
    SetClosure(L, metatable, "getY", &BareGet<T, 1>, metatable);
    if constexpr (kComponents < T >> 2)
        SetClosure(L, metatable, "getZ", &BareGet<T, 2>, metatable);
    SetClosure(L, metatable, "copy", &BareCopy<T>, metatable);
    SetClosure(L, metatable, "__add", &BareAdd<T>, metatable);
    lua_setglobal(L, "BareClass");

    lua_newuserdata(L, 1);
    lua_newtable(L);
    lua_newtable(L);
    lua_getglobal(L, "BareClass");
    SetClosure(L, lua_gettop(L) - 1, "create", &BareCreate<T>, lua_gettop(L));
    lua_pop(L, 1);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, -2);
    lua_setglobal(L, "B");
}

// Each mix is one loop body written once: C is the creating object (IMisc
// or B), create its creating function, a and b two values made by it.
struct SMix
{
    const char* name;
    const char* body;
};

const SMix kVectorMixes[] = {
    {"ReadOne", "s = s + a:getX()"},
    {"ReadAll", "s = s + a:getX() + a:getY() + a:getZ()"},
    {"Copy", "local v = a:copy() s = s + 1"},
    {"Create", "local v = create(C, i, 2, 3) s = s + 1"},
    {"Add", "local v = a + b s = s + 1"},
    {"CreateAddRead", "local v = create(C, i, 2, 3) + b s = s + v:getX()"},
};

const SMix kPointMixes[] = {
    {"ReadOne", "s = s + a:getX()"},
    {"ReadAll", "s = s + a:getX() + a:getY()"},
    {"Copy", "local v = a:copy() s = s + 1"},
    {"Create", "local v = create(C, i, 2) s = s + 1"},
    {"Add", "local v = a + b s = s + 1"},
    {"CreateAddRead", "local v = create(C, i, 2) + b s = s + v:getX()"},
};

// bare: the floor; otherwise the value class through IMisc.
template <typename T> void RunMix(benchmark::State& run, const char* body, bool bare)
{
    const bool vector = kComponents<T> == 3;
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    RegisterIMisc(state);
    RegisterBare<T>(state->GetCState());
    std::string prelude;
    if (bare)
        prelude = "local C = B local create = B.create";
    else
        prelude =
            std::string("local C = IMisc local create = IMisc.") + (vector ? "vectorCreate" : "pointCreate");
    prelude += vector ? " local a, b = create(C, 1, 2, 3), create(C, 4, 5, 6)"
                      : " local a, b = create(C, 1, 2), create(C, 4, 5)";
    RunScriptLoop(run, state, prelude, body);
    LuaPlus::LuaState::Destroy(state);
}

template <typename T> void RegisterMixes(const char* type, const SMix* mixes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        const char* body = mixes[i].body;
        const std::string name = std::string("BM_") + type + "_" + mixes[i].name;
        benchmark::RegisterBenchmark((name + "/Bare").c_str(),
                                     [body](benchmark::State& run) { RunMix<T>(run, body, true); });
        benchmark::RegisterBenchmark((name + "/ValueClass").c_str(),
                                     [body](benchmark::State& run) { RunMix<T>(run, body, false); });
    }
}

const bool g_mixesRegistered = []
{
    RegisterMixes<CVector>("Vector", kVectorMixes, std::size(kVectorMixes));
    RegisterMixes<CPoint>("Point", kPointMixes, std::size(kPointMixes));
    return true;
}();

} // namespace
