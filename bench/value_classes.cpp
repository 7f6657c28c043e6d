// Script vector arithmetic through the value class CVectorScript against the
// same arithmetic on plain Lua tables, side by side: creating a vector,
// adding two vectors, reading a component, and the three in one step.
#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "script_api/core/IMisc.h"

#include <benchmark/benchmark.h>

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

} // namespace
