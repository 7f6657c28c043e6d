// IGraphics entity setters called from a script over 10,000 entities: the
// entity id resolved to its graphical part by the registered IGraphics
// functions, beside a bare lua_CFunction doing the same lookup and setter
// by hand. Compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N on a pinned core.

#include "bench/BenchEntityWorld.h"
#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/scene/GraphicalUnit.h"
#include "script_api/graphics/IGraphics.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

using Graphics::Scene::CGraphicalEntity;

constexpr int kEntities = 10000;

using CWorld = CBenchWorld<Graphics::Scene::CGraphicalUnit>;

CWorld* g_world = nullptr;

int BareSetLighting(lua_State* L)
{
    g_world->BarePart(L)->SetLightingEnabled(lua_toboolean(L, 3) != 0);
    return 0;
}

int BareSetShininess(lua_State* L)
{
    CGraphicalEntity* part = g_world->BarePart(L);
    part->SetMaterialShininess(static_cast<float>(lua_tonumber(L, 4)),
                               static_cast<int32_t>(lua_tonumber(L, 3)));
    return 0;
}

void RunLoop(benchmark::State& run, const char* call)
{
    CWorld world(kEntities);
    g_world = &world;
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    RegisterIGraphics(state);
    CScriptMetaTable bare(state);
    bare.RegisterHelper("setEntityLightingEnabled", &BareSetLighting);
    bare.RegisterHelper("setEntityShininess", &BareSetShininess);
    bare.SetGlobalObject(&world, "Bare");
    bare.Seal();
    world.PublishIds(state->GetCState());
    RunScriptLoop(run, state, "local IGraphics, Bare, ids = IGraphics, Bare, ids",
                  std::string("local id = ids[i % 10000 + 1] ") + call, kEntities);
    LuaPlus::LuaState::Destroy(state);
    g_world = nullptr;
}

void BM_Lighting_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "Bare:setEntityLightingEnabled(id, true) s = s + 1");
}
void BM_Lighting_IGraphics(benchmark::State& run)
{
    RunLoop(run, "IGraphics:setEntityLightingEnabled(id, true) s = s + 1");
}
void BM_Shininess_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "Bare:setEntityShininess(id, 0, i) s = s + 1");
}
void BM_Shininess_IGraphics(benchmark::State& run)
{
    RunLoop(run, "IGraphics:setEntityShininess(id, 0, i) s = s + 1");
}

BENCHMARK(BM_Lighting_BareCFunction);
BENCHMARK(BM_Lighting_IGraphics);
BENCHMARK(BM_Shininess_BareCFunction);
BENCHMARK(BM_Shininess_IGraphics);

} // namespace
