// The world at scale, through IWorld from a script, with the NULL graphics
// device running (and physics where joints need bodies), each figure beside
// the one it is compared with in the same run:
// - creation: N createUnit calls (10,000 and 100,000);
// - unload: a world of N units built by the script, the same world loaded
//   from its file, and the script-built one deleted entity by entity in id
//   order, and a world of N boxes with bodies (their contacts watched)
//   deleted the same way;
// - a chain: N units each hung under the one before, built and unloaded,
//   beside a flat world of N units built and unloaded;
// - loading: a world file of N units with the graphics device running,
//   beside the same file with no engine running;
// - joints: worlds of boxes with a ball joint between neighbours, loaded
//   with graphics and physics running, beside the same boxes without joints.
// Work that sets up a measurement (building the world to unload, unloading
// what was loaded) runs with the timer paused. Entities per second are
// items_per_second. The machine is shared: compare with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N.
#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

namespace
{

// The sanitized test build only checks that the benchmarks run: there the
// worlds are small.
#ifdef __SANITIZE_ADDRESS__
constexpr int kScale = 100;
#else
constexpr int kScale = 1;
#endif

// The run's own temporary folder, removed at exit. The text is never
// freed, so the exit handler can still read it.
const std::string& Folder()
{
    static const std::string* const folder = []
    {
        auto* path = new std::string(
            (std::filesystem::temp_directory_path() / ("halvane-bench-scale-" + std::to_string(getpid())))
                .string());
        std::filesystem::create_directories(*path);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return *folder;
}

// Helpers the benchmarks' scripts share. Units are spread on a grid, so
// that bodies do not start inside each other.
const char* const kPrelude = R"(
function V(x, y, z) return IMisc:vectorCreate(x, y, z) end
function startGraphics() IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false) end
function startPhysics() IPhysics:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false) end
function createUnits(n) for i = 1, n do IWorld:createUnit() end end
function buildUnits(n, chain, model)
    local previous = ""
    for i = 1, n do
        local id = IWorld:createUnit()
        if model then
            IWorld:setEntityModelName(id, model)
            IWorld:setEntityPosition(id, V((i % 100) * 2, math.floor(i / 100) * 2, 0))
        end
        IWorld:addUnit(id, chain and previous or "", "")
        if model then
            IPhysics:setEntityMass(id, 1)
            IPhysics:refreshEntity(id)
        end
        previous = id
    end
end
function unitIds()
    local ids = {}
    IWorld:forEachUnit(function(id) ids[#ids + 1] = id end)
    return ids
end
function deleteEach(ids) for _, id in ipairs(ids) do IWorld:deleteEntity(id) end end
function watchContacts(ids) for _, id in ipairs(ids) do IPhysics:monitorEntityCollisions(id, 1) end end
-- A ray out where nothing is puts the new bodies into the broadphase.
function rayOut() IPhysics:rayCast(V(0, -90, 0), V(0, -91, 0)) end
function jointNeighbours(ids, n)
    for k = 1, math.min(n, #ids - 1) do
        assert(IPhysics:createJointBallAndSocket("joint" .. k, ids[k + 1], ids[k], V(0, 0, 0)))
    end
end
function save(folder) assert(IWorld:save(folder, "world.kvoworld", "BINARY", false)) end
function load(folder) assert(IWorld:load(folder, "world.kvoworld", nil, false, true)) end
)";

// One engine object with its script state, made for one benchmark.
struct SEngine
{
    explicit SEngine(const char* start = "startGraphics()")
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        Run(kPrelude);
        Run(start);
    }
    ~SEngine()
    {
        Run("IWorld:unload()");
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }
    SEngine(const SEngine&) = delete;
    SEngine& operator=(const SEngine&) = delete;

    void Run(const std::string& code)
    {
        lua_State* L = state->GetCState();
        if (state->LoadBuffer(code.data(), code.size(), "=bench") != 0 || state->PCall(0, 0) != 0)
        {
            std::fprintf(stderr, "%s\n", lua_tostring(L, -1));
            std::abort();
        }
    }

    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
};

std::string Count(const benchmark::State& state, int index = 0)
{
    return std::to_string(state.range(index) / kScale);
}

void BM_CreateUnits(benchmark::State& state)
{
    SEngine engine("");
    const std::string n = Count(state);
    // A first world takes its memory from the system; the figures are of
    // worlds made again in memory a world before them gave back.
    engine.Run("createUnits(" + n + ") IWorld:clearUnits()");
    for (auto _ : state)
    {
        engine.Run("createUnits(" + n + ")");
        state.PauseTiming();
        engine.Run("IWorld:clearUnits() collectgarbage()");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

void BM_UnloadScriptBuilt(benchmark::State& state)
{
    SEngine engine;
    const std::string n = Count(state);
    for (auto _ : state)
    {
        state.PauseTiming();
        engine.Run("buildUnits(" + n + ", false)");
        state.ResumeTiming();
        engine.Run("IWorld:unload()");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

void BM_UnloadFileLoaded(benchmark::State& state)
{
    SEngine engine;
    const std::string n = Count(state);
    const std::string folder = Folder() + "/flat-" + n;
    engine.Run("buildUnits(" + n + ", false) save('" + folder + "') IWorld:unload()");
    for (auto _ : state)
    {
        state.PauseTiming();
        engine.Run("load('" + folder + "')");
        state.ResumeTiming();
        engine.Run("IWorld:unload()");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

// Times deleting the built entities one by one; building and unloading
// the rest are not timed.
void DeleteEachOf(benchmark::State& state, SEngine& engine, const std::string& build)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        engine.Run(build);
        state.ResumeTiming();
        engine.Run("deleteEach(ids)");
        state.PauseTiming();
        engine.Run("ids = nil IWorld:unload()");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

void BM_DeleteEach(benchmark::State& state)
{
    SEngine engine;
    DeleteEachOf(state, engine, "buildUnits(" + Count(state) + ", false) ids = unitIds()");
}

// A box of 0.8 units, written once into the run's folder.
const std::string& BoxModel()
{
    static const std::string path = []
    {
        const std::string model = Folder() + "/box.obj";
        std::ofstream box(model);
        for (int i = 0; i < 8; ++i)
            box << "v " << (i % 2 ? 0.4 : -0.4) << ' ' << (i / 2 % 2 ? 0.4 : -0.4) << ' '
                << (i >= 4 ? 0.4 : -0.4) << '\n';
        box << "f 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n";
        return model;
    }();
    return path;
}

void BM_DeleteEachWithBodies(benchmark::State& state)
{
    SEngine engine("startGraphics() startPhysics()");
    DeleteEachOf(state, engine,
                 "buildUnits(" + Count(state) + ", false, '" + BoxModel() +
                     "') ids = unitIds() watchContacts(ids) rayOut()");
}

void BuildAndUnload(benchmark::State& state, bool chain)
{
    SEngine engine;
    const std::string build = "buildUnits(" + Count(state) + (chain ? ", true)" : ", false)");
    engine.Run(build + " IWorld:unload()");
    for (auto _ : state)
        engine.Run(build + " IWorld:unload()");
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

void BM_BuildUnloadChain(benchmark::State& state)
{
    BuildAndUnload(state, true);
}

void BM_BuildUnloadFlat(benchmark::State& state)
{
    BuildAndUnload(state, false);
}

// The file, written once per size by an engine of its own.
const std::string& FlatWorld(const std::string& n)
{
    static std::set<std::string> written;
    static std::string path;
    path = Folder() + "/load-" + n;
    if (written.insert(n).second)
    {
        SEngine writer;
        writer.Run("buildUnits(" + n + ", false) save('" + path + "')");
    }
    return path;
}

void Load(benchmark::State& state, const char* start)
{
    const std::string n = Count(state);
    const std::string folder = FlatWorld(n);
    SEngine engine(start);
    engine.Run("load('" + folder + "') IWorld:unload()");
    for (auto _ : state)
    {
        engine.Run("load('" + folder + "')");
        state.PauseTiming();
        engine.Run("IWorld:unload()");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

void BM_LoadWithGraphics(benchmark::State& state)
{
    Load(state, "startGraphics()");
}

void BM_LoadWorldOnly(benchmark::State& state)
{
    Load(state, "");
}

// Boxes on a grid with a ball joint between each and the next, for the
// first `joints` of them.
void BM_LoadJoints(benchmark::State& state)
{
    const std::string n = Count(state, 0);
    const std::string joints = Count(state, 1);
    const std::string folder = Folder() + "/joints-" + n + "-" + joints;
    const std::string& model = BoxModel();
    const char* start = "startGraphics() startPhysics()";
    {
        SEngine writer(start);
        writer.Run("buildUnits(" + n + ", false, '" + model + "') jointNeighbours(unitIds(), " + joints +
                   ") save('" + folder + "')");
    }
    SEngine engine(start);
    engine.Run("load('" + folder + "') IWorld:unload()");
    for (auto _ : state)
    {
        engine.Run("load('" + folder + "')");
        state.PauseTiming();
        engine.Run("IWorld:unload()");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) / kScale);
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_CreateUnits)->Apply(Sizes);
BENCHMARK(BM_UnloadScriptBuilt)->Apply(Sizes);
BENCHMARK(BM_UnloadFileLoaded)->Apply(Sizes);
BENCHMARK(BM_DeleteEach)->Apply(Sizes);
// Smaller worlds: the bodies make them slow to build.
BENCHMARK(BM_DeleteEachWithBodies)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildUnloadChain)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildUnloadFlat)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWithGraphics)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWorldOnly)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadJoints)
    ->Args({10000, 10000})
    ->Args({20000, 0})
    ->Args({20000, 20000})
    ->Unit(benchmark::kMillisecond);
