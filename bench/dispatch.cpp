// A script calling an engine function through the signature dispatcher and
// through a bare lua_CFunction doing the same work, side by side: three
// number arguments, and one table argument whose fields x and y are read.
#include "app/EngineComposition.h"
#include "bench/ScriptLoop.h"

#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaStackTable.h"
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

// The table argument as engine functions take it: borrowed from the stack.
double ReadXY(LuaPlus::LuaState*, const LuaPlus::LuaStackTable& table)
{
    return table.Get<double>("x") + table.Get<double>("y");
}

int BareReadXY(lua_State* L)
{
    lua_pushliteral(L, "x");
    lua_rawget(L, 2);
    lua_pushliteral(L, "y");
    lua_rawget(L, 2);
    lua_pushnumber(L, lua_tonumber(L, -2) + lua_tonumber(L, -1));
    return 1;
}

int g_object = 0;

// call: the method call on T, with its arguments.
void RunLoop(benchmark::State& run, const char* call)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    CScriptMetaTable table(state);
    table.RegisterHelper("sum", &Sum);
    table.RegisterHelper("bareSum", &BareSum);
    table.RegisterHelper("readXY", &ReadXY);
    table.RegisterHelper("bareReadXY", &BareReadXY);
    table.SetGlobalObject(&g_object, "T");
    table.Seal();
    RunScriptLoop(run, state, "local T = T local t = { x = 1, y = 2 }", std::string("s = s + T:") + call);
    LuaPlus::LuaState::Destroy(state);
}

void BM_Dispatcher(benchmark::State& run)
{
    RunLoop(run, "sum(i, 2.5, 3)");
}
void BM_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "bareSum(i, 2.5, 3)");
}

void BM_TableArgument_Dispatcher(benchmark::State& run)
{
    RunLoop(run, "readXY(t)");
}
void BM_TableArgument_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "bareReadXY(t)");
}

// The measured case of a real interface: IEvents:setUserData with handle 0
// takes the table and keeps nothing.
void BM_SetUserDataHandleZero(benchmark::State& run)
{
    CScriptManager engine(Halvane::EngineComposition());
    CScriptManager::SetInstance(&engine);
    RunScriptLoop(run, engine.GetMainState(), "local E = IEvents local t = { x = 1, y = 2 }",
                  "E:setUserData(0, t) s = s + 1");
    CScriptManager::SetInstance(nullptr);
}

BENCHMARK(BM_BareCFunction);
BENCHMARK(BM_Dispatcher);
BENCHMARK(BM_TableArgument_BareCFunction);
BENCHMARK(BM_TableArgument_Dispatcher);
BENCHMARK(BM_SetUserDataHandleZero);

} // namespace
