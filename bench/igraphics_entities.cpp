// IGraphics entity setters called from a script over 10,000 entities: the
// entity id resolved to its graphical part by the registered IGraphics
// functions, beside a bare lua_CFunction doing the same lookup and setter
// by hand. Compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N on a pinned core.

#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/scene/GraphicalUnit.h"
#include "script_api/graphics/IGraphics.h"
#include "script_api/world/EntityArguments.h"
#include "tests/support/JoinedEntity.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace
{

using Graphics::Scene::CGraphicalEntity;
using Misc::World::IEntityInterface;

constexpr int kEntities = 10000;

class CBenchWorld final : public ScriptWorld::IEntityLookup
{
public:
    CBenchWorld()
    {
        for (int index = 0; index < kEntities; ++index)
        {
            auto entity = std::make_unique<CJoinedEntity<Graphics::Scene::CGraphicalUnit>>();
            entity->NewId();
            const std::string id = entity->GetId();
            units.emplace(id, std::move(entity));
        }
        m_previous = ScriptWorld::SetEntityLookup(this);
    }
    ~CBenchWorld() { ScriptWorld::SetEntityLookup(m_previous); }
    CBenchWorld(const CBenchWorld&) = delete;
    CBenchWorld& operator=(const CBenchWorld&) = delete;

    IEntityInterface* FindUnit(uint32_t, std::string_view id) override { return FindAnyUnit(id); }
    IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        const auto found = units.find(id);
        return found != units.end() ? found->second.get() : nullptr;
    }

    std::map<std::string, std::unique_ptr<IEntityInterface>, std::less<>> units;

private:
    ScriptWorld::IEntityLookup* m_previous = nullptr;
};

CBenchWorld* g_world = nullptr;

CGraphicalEntity* BarePart(lua_State* L)
{
    size_t size = 0;
    const char* text = lua_isstring(L, 2) ? lua_tolstring(L, 2, &size) : "";
    const auto found = g_world->units.find(std::string_view(text, size));
    if (found == g_world->units.end())
        luaL_error(L, "[CWorldMapGroup::GetUnit] Unit not found [%s]", text);
    return found->second->GetGraphicalPart();
}

int BareSetLighting(lua_State* L)
{
    BarePart(L)->SetLightingEnabled(lua_toboolean(L, 3) != 0);
    return 0;
}

int BareSetShininess(lua_State* L)
{
    CGraphicalEntity* part = BarePart(L);
    part->SetMaterialShininess(static_cast<float>(lua_tonumber(L, 4)),
                               static_cast<int32_t>(lua_tonumber(L, 3)));
    return 0;
}

void RunLoop(benchmark::State& run, const char* call)
{
    CBenchWorld world;
    g_world = &world;
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    RegisterIGraphics(state);
    CScriptMetaTable bare(state);
    bare.RegisterHelper("setEntityLightingEnabled", &BareSetLighting);
    bare.RegisterHelper("setEntityShininess", &BareSetShininess);
    bare.SetGlobalObject(&world, "Bare");
    bare.Seal();
    lua_State* L = state->GetCState();
    lua_newtable(L);
    int index = 1;
    for (const auto& entry : world.units)
    {
        lua_pushlstring(L, entry.first.data(), entry.first.size());
        lua_rawseti(L, -2, index++);
    }
    lua_setglobal(L, "ids");
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
