// IWorld:getEntityPosition(id) and setEntityPosition(id, v) from a script
// over 10,000 units of the world, beside a bare lua_CFunction doing the same
// lookup of the id across the world's collections and the same accessors,
// and beside bare lua_CFunctions that take the same arguments and give the
// same results without looking anything up.
// Compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N.
#include "EngineUnits.h"
#include "ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <string>

namespace
{

constexpr int kEntities = 10000;

Misc::World::IEntityInterface* BareLookup(lua_State* L)
{
    size_t size = 0;
    const char* id = lua_tolstring(L, 1, &size);
    Misc::World::IEntityInterface* entity =
        id != nullptr ? ScriptWorld::FindAnyUnit(std::string_view(id, size)) : nullptr;
    if (entity == nullptr)
        luaL_error(L, "no entity");
    return entity;
}

int BareGetPosition(lua_State* L)
{
    CVectorScript::Push(L, BareLookup(L)->GetPosition());
    return 1;
}

int BareSetPosition(lua_State* L)
{
    BareLookup(L)->SetPosition(CVectorScript::Read(L, 2));
    return 0;
}

// The same arguments read and the same kind of result made, about nobody.
int NoLookupGetPosition(lua_State* L)
{
    size_t size = 0;
    if (lua_tolstring(L, 1, &size) == nullptr)
        luaL_error(L, "no id");
    CVectorScript::Push(L, CVector(1, 2, 3));
    return 1;
}

int NoLookupSetPosition(lua_State* L)
{
    size_t size = 0;
    if (lua_tolstring(L, 1, &size) == nullptr)
        luaL_error(L, "no id");
    benchmark::DoNotOptimize(CVectorScript::Read(L, 2));
    return 0;
}

struct SWorld : SEngineUnits
{
    SWorld() : SEngineUnits(kEntities)
    {
        lua_State* L = state->GetCState();
        lua_register(L, "bareGetPosition", &BareGetPosition);
        lua_register(L, "bareSetPosition", &BareSetPosition);
        lua_register(L, "noLookupGetPosition", &NoLookupGetPosition);
        lua_register(L, "noLookupSetPosition", &NoLookupSetPosition);
    }
};

const std::string kPrelude = "local ids, n = ids, #ids";

void BM_IWorldPosition(benchmark::State& run)
{
    SWorld world;
    RunScriptLoop(run, world.state, kPrelude + "\nlocal IWorld = IWorld",
                  "local id = ids[i % n + 1] local p = IWorld:getEntityPosition(id) "
                  "IWorld:setEntityPosition(id, p) s = s + 1");
}
BENCHMARK(BM_IWorldPosition);

void BM_BarePosition(benchmark::State& run)
{
    SWorld world;
    RunScriptLoop(run, world.state, kPrelude + "\nlocal get, set = bareGetPosition, bareSetPosition",
                  "local id = ids[i % n + 1] local p = get(id) set(id, p) s = s + 1");
}
BENCHMARK(BM_BarePosition);

void BM_NoLookupPosition(benchmark::State& run)
{
    SWorld world;
    RunScriptLoop(run, world.state, kPrelude + "\nlocal get, set = noLookupGetPosition, noLookupSetPosition",
                  "local id = ids[i % n + 1] local p = get(id) set(id, p) s = s + 1");
}
BENCHMARK(BM_NoLookupPosition);

} // namespace
