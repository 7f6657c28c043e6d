// One tick of the main loop in which no sub-engine is due, with throttling
// off (no idle sleep): the tick event on an empty channel, three sub-engine
// updates and the clock reads.
#include "app/EngineComposition.h"
#include "core/app/SimulationManager.h"
#include "core/app/SubEngine.h"

#include <benchmark/benchmark.h>

namespace
{

// A running sub-engine with a period of a second: between its steps every
// tick finds it not due.
class CIdleEngine : public Simulation::CSubEngine
{
public:
    explicit CIdleEngine(Simulation::CSimulationManager* owner) : Simulation::CSubEngine(owner)
    {
        SetDesiredFrameRate(1);
    }
    bool OnStart() override { return true; }
    bool OnStop() override { return true; }
    bool Step() override { return true; }
    bool IsRunning() override { return true; }
};

class CIdleManager : public Simulation::CSimulationManager
{
public:
    CIdleManager() : m_graphics(this), m_physics(this), m_sound(this)
    {
        GetSubEngineMap()["graphics"] = &m_graphics;
        GetSubEngineMap()["physics"] = &m_physics;
        GetSubEngineMap()["sound"] = &m_sound;
        EnableThrottling(false);
    }

private:
    CIdleEngine m_graphics;
    CIdleEngine m_physics;
    CIdleEngine m_sound;
};

void BM_IdleTick(benchmark::State& state)
{
    CIdleManager manager;
    manager.Tick(); // the first tick steps each engine once
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.Tick());
}

// The same with the engine's own sub-engines, which have no device yet.
void BM_IdleTickStubEngines(benchmark::State& state)
{
    Simulation::CSimulationManager manager(Halvane::AddEngineParts);
    manager.EnableThrottling(false);
    for (auto& entry : manager.GetSubEngines())
        entry.second->SetDesiredFrameRate(60);
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.Tick());
}

} // namespace

BENCHMARK(BM_IdleTick);
BENCHMARK(BM_IdleTickStubEngines);
