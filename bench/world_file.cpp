// Saving and loading a generated world of units and lights (10,000 and
// 40,000 entities) in each mode, through the world object, beside the bare
// pass the world adds its work to: the same entity records written to and
// read from an archive of the same mode, each read record stored by value
// in a plain map. The engines do not run, so the figures are the world
// file's own. Entities per second are reported as items_per_second. The
// machine is shared: compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N, pinned.
#include "app/EngineComposition.h"
#include "core/app/SimulationManager.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "core/io/SaveFile.h"
#include "core/io/FileStd.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

const char* const kModes[] = {"UTF8", "BINARY", "COMPRESSED"};

using CUnit = CUnitMap::ManagedEntity;
using CLight = CLightMap::ManagedEntity;

std::string Id(unsigned number)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08x-0000-4000-8000-%012x", number * 2654435761u, number);
    return text;
}

// The run's own temporary folder, removed at exit. The text is never
// freed, so the exit handler can still read it.
const std::string& Folder()
{
    static const std::string* const folder = []
    {
        auto* path = new std::string(
            (std::filesystem::temp_directory_path() / ("halvane-bench-world-" + std::to_string(getpid())))
                .string());
        std::filesystem::create_directories(*path);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return *folder;
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// One engine object with its world, filled with `count` entities (nine
// units to one light) and saved in each mode, once per size.
struct SWorldBench
{
    explicit SWorldBench(unsigned entities) : count(entities)
    {
        Fill();
        for (const char* mode : kModes)
        {
            world->Save(Wide(WorldFolder(mode)), L"world.kvoworld", mode, false);
            WriteBare(mode);
        }
    }

    void Fill()
    {
        CWorldData& data = world->GetData();
        for (unsigned i = 0; i < count; ++i)
        {
            if (i % 10 == 9)
            {
                CLight light;
                light.SetId(Id(i).c_str());
                light.SetName(L"light");
                data.GetLights().AddUnit(light);
            }
            else
            {
                CUnit unit;
                unit.SetId(Id(i).c_str());
                unit.SetName(L"unit");
                unit.SetPosition(CVector(float(i), 1.0f, 2.0f));
                data.GetUnits().AddUnit(unit);
            }
        }
    }

    std::string WorldFolder(const char* mode) const
    {
        return Folder() + "/" + mode + "-" + std::to_string(count);
    }
    std::string BarePath(const char* mode) const { return WorldFolder(mode) + "/bare"; }

    // The entity records alone, in an archive of the mode.
    bool WriteBare(const char* mode)
    {
        const std::string path = BarePath(mode);
        CSaveFile file(Wide(path));
        bool written = true;
        auto writeAll = [&](Misc::Serialization::IArchive& archive)
        {
            CWorldData& data = world->GetData();
            for (auto& entry : data.GetUnits().GetTable())
                written = entry.second.Write(archive) && written;
            for (auto& entry : data.GetLights().GetTable())
                written = entry.second.Write(archive) && written;
        };
        const std::string m = mode;
        if (m == "UTF8")
        {
            Misc::Serialization::CArchiveText archive(&file, true, "KVOWORLDDATA", 1030, nullptr, mode);
            writeAll(archive);
            written = archive.Close() && written;
        }
        else
        {
            Misc::Serialization::CArchiveBin archive(&file, true, "KVOWORLDDATA", 1030, nullptr,
                                                     m == "COMPRESSED");
            writeAll(archive);
            written = archive.Close() && written;
        }
        return written && file.Commit();
    }

    // Reads the bare records back into plain maps.
    size_t ReadBare(const char* mode)
    {
        CFileStd file(Wide(BarePath(mode)), L"rb");
        Misc::Serialization::CArchiveHandle archive(&file, false, "KVOWORLDDATA", 1);
        std::map<std::string, CUnit, std::less<>> units;
        std::map<std::string, CLight, std::less<>> lights;
        const unsigned lightCount = count / 10;
        for (unsigned i = 0; i < count - lightCount; ++i)
        {
            CUnit unit;
            unit.Read(archive);
            units.emplace(unit.GetId(), unit);
        }
        for (unsigned i = 0; i < lightCount; ++i)
        {
            CLight light;
            light.Read(archive);
            lights.emplace(light.GetId(), light);
        }
        return units.size() + lights.size();
    }

    unsigned count;
    Simulation::CSimulationManager manager{Halvane::AddEngineParts};
    CWorld* world = manager.GetPart<CWorld>();
};

SWorldBench& Bench(unsigned count)
{
    static std::map<unsigned, std::unique_ptr<SWorldBench>> benches;
    auto& bench = benches[count];
    if (!bench)
        bench = std::make_unique<SWorldBench>(count);
    return *bench;
}

void BM_WorldSave(benchmark::State& state)
{
    SWorldBench& bench = Bench(static_cast<unsigned>(state.range(1)));
    const char* mode = kModes[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(
            bench.world->Save(Wide(bench.WorldFolder(mode)), L"world.kvoworld", mode, false));
    state.SetItemsProcessed(state.iterations() * state.range(1));
    state.SetLabel(mode);
}

void BM_BareSave(benchmark::State& state)
{
    SWorldBench& bench = Bench(static_cast<unsigned>(state.range(1)));
    const char* mode = kModes[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.WriteBare(mode));
    state.SetItemsProcessed(state.iterations() * state.range(1));
    state.SetLabel(mode);
}

void BM_WorldLoad(benchmark::State& state)
{
    SWorldBench& bench = Bench(static_cast<unsigned>(state.range(1)));
    const char* mode = kModes[state.range(0)];
    CWorldData& data = bench.world->GetData();
    for (auto _ : state)
    {
        state.PauseTiming();
        data.Clear();
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            bench.world->Load(Wide(bench.WorldFolder(mode)), L"world.kvoworld", L"", false, true));
    }
    state.SetItemsProcessed(state.iterations() * state.range(1));
    state.SetLabel(mode);
}

void BM_BareLoad(benchmark::State& state)
{
    SWorldBench& bench = Bench(static_cast<unsigned>(state.range(1)));
    const char* mode = kModes[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.ReadBare(mode));
    state.SetItemsProcessed(state.iterations() * state.range(1));
    state.SetLabel(mode);
}

// The sanitized test build only checks that the benchmark runs: there the
// worlds are small.
#ifdef __SANITIZE_ADDRESS__
constexpr int kScale = 40;
#else
constexpr int kScale = 1;
#endif

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (int mode = 0; mode < 3; ++mode)
        for (int count : {10000 / kScale, 40000 / kScale})
            benchmark->Args({mode, count});
    benchmark->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_WorldSave)->Apply(Sizes);
BENCHMARK(BM_BareSave)->Apply(Sizes);
BENCHMARK(BM_WorldLoad)->Apply(Sizes);
BENCHMARK(BM_BareLoad)->Apply(Sizes);
