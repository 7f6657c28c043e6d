// An entity function of the kind the world interfaces are made of, called
// from a script: an entity id resolved to the entity's graphical part,
// then a setter (and a getter) of the part. Through the binding layer's
// argument types and a method row, beside a bare lua_CFunction doing the
// same map lookup and call by hand.

#include "bench/BenchEntityWorld.h"
#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/scene/GraphicalTrigger.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

using Graphics::Scene::CGraphicalEntity;

constexpr int kEntities = 1000;

using CWorld = CBenchWorld<Graphics::Scene::CGraphicalTrigger>;

CWorld* g_world = nullptr;

int BareSetVisible(lua_State* L)
{
    g_world->BarePart(L)->SetVisible(lua_toboolean(L, 3) != 0);
    return 0;
}

int BareIsVisible(lua_State* L)
{
    lua_pushboolean(L, g_world->BarePart(L)->IsVisible() ? 1 : 0);
    return 1;
}

void RunLoop(benchmark::State& run, const char* call)
{
    CWorld world(kEntities);
    g_world = &world;
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    CScriptMetaTable table(state);
    table.SetScriptName("T");
    table.RegisterMethod<ScriptWorld::GraphicalPart>("setEntityVisible", &CGraphicalEntity::SetVisible);
    table.RegisterMethod<ScriptWorld::GraphicalPart>("isEntityVisible", &CGraphicalEntity::IsVisible);
    table.RegisterHelper("bareSetVisible", &BareSetVisible);
    table.RegisterHelper("bareIsVisible", &BareIsVisible);
    table.SetGlobalObject(&world, "T");
    table.Seal();
    world.PublishIds(state->GetCState());
    RunScriptLoop(run, state, "local T, ids = T, ids", std::string("local id = ids[i % 1000 + 1] ") + call);
    LuaPlus::LuaState::Destroy(state);
    g_world = nullptr;
}

void BM_Setter_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "T:bareSetVisible(id, true) s = s + 1");
}
void BM_Setter_ArgumentTypes(benchmark::State& run)
{
    RunLoop(run, "T:setEntityVisible(id, true) s = s + 1");
}
void BM_Getter_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "if T:bareIsVisible(id) then s = s + 1 end");
}
void BM_Getter_ArgumentTypes(benchmark::State& run)
{
    RunLoop(run, "if T:isEntityVisible(id) then s = s + 1 end");
}

BENCHMARK(BM_Setter_BareCFunction);
BENCHMARK(BM_Setter_ArgumentTypes);
BENCHMARK(BM_Getter_BareCFunction);
BENCHMARK(BM_Getter_ArgumentTypes);

} // namespace
