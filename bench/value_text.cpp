// Script functions that take a rectangle or a vector, given it as text (in
// the system's own text form, and written short by hand) and given the
// value object, in one run: the text is read on every call.
#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "script_api/core/IMisc.h"

#include <benchmark/benchmark.h>

namespace
{

const char* const kPrelude = R"lua(
    local M = IMisc
    local r = M:rectCreate(0.1, 0.2, 0.3, 0.4)
    local v = M:vectorCreate(1, 2, 3)
)lua";

void RunLoop(benchmark::State& run, const char* body)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    RegisterIMisc(state);
    RunScriptLoop(run, state, kPrelude, body);
    LuaPlus::LuaState::Destroy(state);
}

void BM_RectWidth_ValueObject(benchmark::State& run)
{
    RunLoop(run, "s = s + M:rectGetWidth(r)");
}
void BM_RectWidth_Text(benchmark::State& run)
{
    RunLoop(run, "s = s + M:rectGetWidth('0.100000 0.200000 0.300000 0.400000')");
}
void BM_RectWidth_ShortText(benchmark::State& run)
{
    RunLoop(run, "s = s + M:rectGetWidth('0.1 0.2 0.3 0.4')");
}
void BM_VectorX_ValueObject(benchmark::State& run)
{
    RunLoop(run, "s = s + M:vectorGetX(v)");
}
void BM_VectorX_Text(benchmark::State& run)
{
    RunLoop(run, "s = s + M:vectorGetX('1.000000 2.000000 3.000000')");
}

} // namespace

BENCHMARK(BM_RectWidth_ValueObject);
BENCHMARK(BM_RectWidth_Text);
BENCHMARK(BM_RectWidth_ShortText);
BENCHMARK(BM_VectorX_ValueObject);
BENCHMARK(BM_VectorX_Text);
