// A script calling an engine function with three number arguments, through
// the signature dispatcher and through a bare lua_CFunction doing the same
// work, side by side.
#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptMetaTable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

int Sum(LuaPlus::LuaState*, int a, int b, int c)
{
    return a + b + c;
}

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
    RunScriptLoop(run, state, "local T = T", std::string("s = s + T:") + function + "(i, 2.5, 3)");
    LuaPlus::LuaState::Destroy(state);
}

void BM_Dispatcher(benchmark::State& run)
{
    RunLoop(run, "sum");
}
void BM_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "bareSum");
}

BENCHMARK(BM_BareCFunction);
BENCHMARK(BM_Dispatcher);

} // namespace
