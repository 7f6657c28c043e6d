// Game logic on the engine's script layer (LuaJIT) beside Debian's stock
// Lua 5.1, in one run: the four kinds of plain Lua code of
// bench/lua/game_logic.lua (vector math on tables, a particle update,
// string building, a table-heavy AI loop) on the engine's main state and
// under the lua5.1 interpreter, and a frame of engine calls (the positions
// of 1,000 entities read and set through IWorld) on the engine and on the
// same engine built against stock Lua 5.1 (engine_loop_stocklua, not
// in the sanitizer build). Each iteration is one batch of steps timed by
// the script itself (os.clock around it, no start-up); the stock figures
// come from programs started per iteration. Compare with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N.
#include "bench/ChildProcess.h"
#include "bench/GameLogicWorld.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

const std::string kScript = HALVANE_SOURCE_DIR "/bench/lua/game_logic.lua";

// Each kind's steps per batch: about a fifth of a second on stock Lua.
struct SKind
{
    const char* name;
    int steps;
};
const SKind kKinds[] = {{"vectors", 100000}, {"particles", 1500}, {"strings", 15000}, {"ai", 130}};
const SKind kEngine = {"engine", 100};

// On a fresh engine, after one batch that is not timed (the VM compiles
// the hot loops in it).
void OnEngine(benchmark::State& state, const SKind& kind)
{
    CGameLogicWorld world(kScript);
    world.Measure(kind.name, kind.steps);
    for (auto _ : state)
        state.SetIterationTime(world.Measure(kind.name, kind.steps));
    state.SetItemsProcessed(state.iterations() * kind.steps);
}

// Runs the program per iteration; it prints the seconds of the batch.
void InProgram(benchmark::State& state, const SKind& kind, const std::vector<const char*>& program)
{
    const std::string steps = std::to_string(kind.steps);
    std::vector<const char*> arguments = program;
    arguments.push_back(kind.name);
    arguments.push_back(steps.c_str());
    for (auto _ : state)
    {
        std::string output;
        if (RunProgram(arguments, &output) != 0 || output.empty())
        {
            state.SkipWithError((std::string(program[0]) + " failed or could not start").c_str());
            return;
        }
        state.SetIterationTime(std::strtod(output.c_str(), nullptr));
    }
    state.SetItemsProcessed(state.iterations() * kind.steps);
}

const bool kRegistered = []
{
    for (const SKind& kind : kKinds)
    {
        benchmark::RegisterBenchmark((std::string("BM_") + kind.name + "/halvane").c_str(),
                                     [&kind](benchmark::State& state) { OnEngine(state, kind); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_") + kind.name + "/lua5.1").c_str(),
                                     [&kind](benchmark::State& state) {
                                         InProgram(state, kind, {"lua5.1", kScript.c_str()});
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_EngineLoop/halvane",
                                 [](benchmark::State& state) { OnEngine(state, kEngine); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
#ifdef STOCK_LUA_ENGINE_PROGRAM
    benchmark::RegisterBenchmark("BM_EngineLoop/stocklua",
                                 [](benchmark::State& state) {
                                     InProgram(state, kEngine, {STOCK_LUA_ENGINE_PROGRAM, kScript.c_str()});
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
#endif
    return true;
}();

} // namespace
