// The cost of a vector result: IWorld:getEntityPosition(id) over the
// world's units, a million calls per iteration so that the collector's
// work for the results is in the figure (its steady state, not a young
// heap), beside
// - a bare lua_CFunction that returns a number (the floor of any call),
// - a bare lua_CFunction doing the same lookup of the id and returning the
//   position as three numbers (the call without an object result),
// each with the script's own heap small (Arg 0) or holding about 20 MB of
// live tables (Arg 1), which a collector that pays per live byte feels.
// Compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N.
#include "EngineUnits.h"
#include "ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdlib>
#include <string>

namespace
{

constexpr int kEntities = 1000;
constexpr int kCalls = 1000000;

int BareNumber(lua_State* L)
{
    lua_pushnumber(L, 1.0);
    return 1;
}

int BareComponents(lua_State* L)
{
    size_t size = 0;
    const char* id = lua_tolstring(L, 2, &size);
    Misc::World::IEntityInterface* entity =
        id != nullptr ? ScriptWorld::FindAnyUnit(std::string_view(id, size)) : nullptr;
    if (entity == nullptr)
        return luaL_error(L, "no entity");
    const CVector position = entity->GetPosition();
    lua_pushnumber(L, position.x);
    lua_pushnumber(L, position.y);
    lua_pushnumber(L, position.z);
    return 3;
}

// A vector object as the value classes make it, without a lookup.
int BareVector(lua_State* L)
{
    CVectorScript::Push(L, CVector(1, 2, 3));
    return 1;
}

struct SWorld : SEngineUnits
{
    explicit SWorld(bool bigHeap) : SEngineUnits(kEntities)
    {
        lua_State* L = state->GetCState();
        lua_register(L, "bareNumber", &BareNumber);
        lua_register(L, "bareComponents", &BareComponents);
        lua_register(L, "bareVector", &BareVector);
        if (bigHeap &&
            luaL_dostring(
                L, "live = {} for i = 1, 200000 do live[i] = { x = i, y = i, name = 'n' .. i } end") != 0)
            std::abort();
        lua_gc(L, LUA_GCCOLLECT, 0);
    }
};

const std::string kPrelude =
    "local ids, count, W = ids, #ids, IWorld local bareNumber, bareComponents, bareVector = "
    "bareNumber, bareComponents, bareVector";

void Run(benchmark::State& run, const char* body)
{
    SWorld world(run.range(0) != 0);
    RunScriptLoop(run, world.state, kPrelude, body, kCalls);
}

void BM_BareNumber(benchmark::State& run)
{
    Run(run, "local id = ids[i % count + 1] s = s + bareNumber(W, id)");
}
BENCHMARK(BM_BareNumber)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BareComponents(benchmark::State& run)
{
    Run(run, "local id = ids[i % count + 1] local x = bareComponents(W, id) s = s + x");
}
BENCHMARK(BM_BareComponents)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BareVector(benchmark::State& run)
{
    Run(run, "local id = ids[i % count + 1] local p = bareVector(W, id) s = s + 1");
}
BENCHMARK(BM_BareVector)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GetEntityPosition(benchmark::State& run)
{
    Run(run, "local id = ids[i % count + 1] local p = W:getEntityPosition(id) s = s + 1");
}
BENCHMARK(BM_GetEntityPosition)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
