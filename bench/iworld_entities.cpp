// IWorld:getEntityPosition(id) and setEntityPosition(id, v) from a script
// over 10,000 units of the world, beside a bare lua_CFunction doing the same
// lookup of the id across the world's collections and the same accessors.
// Compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N.
#include "ScriptLoop.h"

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "world/World.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <memory>
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

struct SWorld
{
    SWorld()
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        lua_State* L = state->GetCState();
        CUnitMap& units = engine->GetPart<CWorld>()->GetData().GetUnits();
        lua_newtable(L);
        for (int index = 1; index <= kEntities; ++index)
        {
            Misc::World::IEntityInterface* unit = nullptr;
            units.CreateUnit(unit);
            lua_pushstring(L, unit->GetId());
            lua_rawseti(L, -2, index);
        }
        lua_setglobal(L, "ids");
        lua_register(L, "bareGetPosition", &BareGetPosition);
        lua_register(L, "bareSetPosition", &BareSetPosition);
    }
    ~SWorld()
    {
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
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

} // namespace
