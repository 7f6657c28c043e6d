// 10,000 units in the world's collections: a lookup by id through one
// collection and through the group over all eleven (the units are the
// second collection searched; the worst case, a terrain, is the last),
// beside the bare std::map and std::unordered_map lookup of the same keys
// in the same run; and a full walk through an iterator beside a bare loop
// over the same container. The machine is shared: compare with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N.
#include "tests/world/WorldMapTestKinds.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{

constexpr unsigned kEntities = 10000;

std::string Id(unsigned number)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08x-0000-4000-8000-%012x", number * 2654435761u, number);
    return text;
}

// The world's collections and their group, the units filled, and the same
// ids in a bare map and a bare hash map.
struct SWorld : SWorldMaps
{
    std::map<std::string, CManagedEntity<Graphics::Scene::CGraphicalUnit>, std::less<>> bareMap;
    std::unordered_map<std::string, Misc::World::IEntityInterface*> bareHash;
    std::vector<std::string> keys;
    std::string terrainId = Id(kEntities + 1);

    SWorld()
    {
        for (unsigned number = 0; number < kEntities; ++number)
        {
            CManagedEntity<Graphics::Scene::CGraphicalUnit> unit;
            unit.SetId(Id(number).c_str());
            bareHash[unit.GetId()] = units.AddUnit(unit);
            bareMap.try_emplace(unit.GetId()).first->second = unit;
            keys.push_back(unit.GetId());
        }
        CManagedEntity<Graphics::Scene::CGraphicalTerrain> terrain;
        terrain.SetId(terrainId.c_str());
        terrains.AddUnit(terrain);
        std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    }
};

SWorld& World()
{
    static SWorld world;
    return world;
}

// Each lookup waits for the one before (the next key depends on its
// result), as a script's calls do: the figures are latencies, not how many
// independent lookups the processor overlaps.
template <class Lookup> void RunLookups(benchmark::State& state, Lookup&& lookup)
{
    SWorld& world = World();
    size_t at = 0;
    for (auto _ : state)
    {
        const void* found = lookup(world.keys[at]);
        benchmark::DoNotOptimize(found);
        // Entities are aligned: the low bit is zero, but only at run time.
        at += 1 + (reinterpret_cast<uintptr_t>(found) & 1);
        if (at >= world.keys.size())
            at = 0;
    }
}

void BM_Lookup_BareMap(benchmark::State& state)
{
    RunLookups(state, [](const std::string& key) { return &World().bareMap.find(key)->second; });
}

void BM_Lookup_BareUnorderedMap(benchmark::State& state)
{
    RunLookups(state, [](const std::string& key) { return World().bareHash.find(key)->second; });
}

void BM_Lookup_Collection(benchmark::State& state)
{
    RunLookups(state, [](const std::string& key) { return World().units.GetUnit(key); });
}

void BM_Lookup_Group(benchmark::State& state)
{
    RunLookups(state, [](const std::string& key) { return World().group.GetUnit(key); });
}

// The one terrain, behind ten collections, against the bare map's lookup of
// one key.
void BM_Lookup_GroupLastCollection(benchmark::State& state)
{
    RunLookups(state, [](const std::string&) { return World().group.GetUnit(World().terrainId); });
}

void BM_Lookup_BareMapOneKey(benchmark::State& state)
{
    RunLookups(state, [](const std::string&) { return &World().bareMap.find(World().keys[0])->second; });
}

void BM_Walk_BareLoop(benchmark::State& state)
{
    SWorld& world = World();
    for (auto _ : state)
    {
        uint32_t flags = 0;
        for (auto& entry : world.bareMap)
            flags += entry.second.GetFlags();
        benchmark::DoNotOptimize(flags);
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
}

// Sums the flags of every entity that the iterator of `source` walks.
void RunWalk(benchmark::State& state, IWorldMapOperations& source, uint32_t count)
{
    CWorldMapEntityIterator* made = nullptr;
    source.CreateIterator(made);
    std::unique_ptr<CWorldMapEntityIterator> iterator(made);
    for (auto _ : state)
    {
        uint32_t flags = 0;
        for (iterator->First(); !iterator->IsDone(); iterator->Next())
            flags += iterator->CurrentItem()->GetFlags();
        benchmark::DoNotOptimize(flags);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_Walk_CollectionIterator(benchmark::State& state)
{
    RunWalk(state, World().units, kEntities);
}

void BM_Walk_GroupIterator(benchmark::State& state)
{
    RunWalk(state, World().group, kEntities + 1);
}

} // namespace

BENCHMARK(BM_Lookup_BareMap);
BENCHMARK(BM_Lookup_BareUnorderedMap);
BENCHMARK(BM_Lookup_Collection);
BENCHMARK(BM_Lookup_Group);
BENCHMARK(BM_Lookup_BareMapOneKey);
BENCHMARK(BM_Lookup_GroupLastCollection);
BENCHMARK(BM_Walk_BareLoop);
BENCHMARK(BM_Walk_CollectionIterator);
BENCHMARK(BM_Walk_GroupIterator);
