// A script calling an engine function with three number arguments, through
// the signature dispatcher and through a bare lua_CFunction doing the same
// work, side by side.
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptMetaTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

int Sum(LuaPlus::LuaState*, int a, int b, int c) { return a + b + c; }

int BareSum(lua_State* L)
{
    const int a = static_cast<int>(lua_tointeger(L, 2));
    const int b = static_cast<int>(lua_tointeger(L, 3));
    const int c = static_cast<int>(lua_tointeger(L, 4));
    lua_pushnumber(L, a + b + c);
    return 1;
}

int g_object = 0;

void RunLoop(benchmark::State& run, const char* function)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    CScriptMetaTable table(state);
    table.RegisterHelper("sum", &Sum);
    table.RegisterHelper("bareSum", &BareSum);
    table.SetGlobalObject(&g_object, "T");
    table.Seal();

    char code[256];
    std::snprintf(code, sizeof code,
                  "local T = T return function(n) local s = 0 for i = 1, n do s = s + T:%s(i, 2.5, 3) end return s end",
                  function);
    lua_State* L = state->GetCState();
    if (state->LoadBuffer(code, std::strlen(code), "=bench") != 0 || state->PCall(0, 1) != 0)
        std::abort();
    const int loop = lua_gettop(L);

    constexpr int kCallsPerIteration = 1000;
    for (auto _ : run)
    {
        lua_pushvalue(L, loop);
        lua_pushinteger(L, kCallsPerIteration);
        if (state->PCall(1, 1) != 0)
            std::abort();
        benchmark::DoNotOptimize(lua_tonumber(L, -1));
        lua_pop(L, 1);
    }
    run.SetItemsProcessed(run.iterations() * kCallsPerIteration);
    LuaPlus::LuaState::Destroy(state);
}

void BM_Dispatcher(benchmark::State& run) { RunLoop(run, "sum"); }
void BM_BareCFunction(benchmark::State& run) { RunLoop(run, "bareSum"); }

BENCHMARK(BM_BareCFunction);
BENCHMARK(BM_Dispatcher);

} // namespace
