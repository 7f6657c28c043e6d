// Start-up: halvane running an empty script, beside a bare Irrlicht NULL
// device program and the stock Lua interpreter on an empty chunk. Each
// iteration starts the program and waits for it to end (wall time; the
// CPU time of the children is reported as a counter). Compare with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N.
#include "bench/ChildProcess.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <vector>

namespace
{

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void RunStartups(benchmark::State& state, const std::vector<const char*>& arguments)
{
    const double cpuBefore = ChildrenCpuSeconds();
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        if (RunProgram(arguments) != 0)
        {
            state.SkipWithError("the program failed or could not start");
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["cpu_ms"] =
        benchmark::Counter((ChildrenCpuSeconds() - cpuBefore) * 1000.0, benchmark::Counter::kAvgIterations);
}

void BM_Startup_Halvane(benchmark::State& state)
{
    RunStartups(state, {HALVANE_PROGRAM, HALVANE_SOURCE_DIR "/bench/lua/empty.lua"});
}
BENCHMARK(BM_Startup_Halvane)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Startup_IrrlichtNull(benchmark::State& state)
{
    RunStartups(state, {IRRLICHT_NULL_PROGRAM});
}
BENCHMARK(BM_Startup_IrrlichtNull)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Startup_Lua51(benchmark::State& state)
{
    RunStartups(state, {"lua5.1", "-e", ""});
}
BENCHMARK(BM_Startup_Lua51)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
