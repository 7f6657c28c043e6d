// An entity function of the kind the world interfaces are made of, called
// from a script: an entity id resolved to the entity's graphical part,
// then a setter (and a getter) of the part. Through the binding layer's
// argument types and a method row, beside a bare lua_CFunction doing the
// same map lookup and call by hand.

#include "bench/ScriptLoop.h"

#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/scene/GraphicalTrigger.h"
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

constexpr int kEntities = 1000;

// The entities of one collection, keyed by their ids as the world keeps
// them, and the same lookup for the argument types.
class CBenchWorld final : public ScriptWorld::IEntityLookup
{
public:
    CBenchWorld()
    {
        for (int index = 0; index < kEntities; ++index)
        {
            auto entity = std::make_unique<CJoinedEntity<Graphics::Scene::CGraphicalTrigger>>();
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

// What a hand-written binding does: the id, the lookup, the documented
// error, the part, the call.
CGraphicalEntity* BarePart(lua_State* L)
{
    size_t size = 0;
    const char* text = lua_isstring(L, 2) ? lua_tolstring(L, 2, &size) : "";
    const auto found = g_world->units.find(std::string_view(text, size));
    if (found == g_world->units.end())
        luaL_error(L, "[CWorldMapGroup::GetUnit] Unit not found [%s]", text);
    return found->second->GetGraphicalPart();
}

int BareSetVisible(lua_State* L)
{
    BarePart(L)->SetVisible(lua_toboolean(L, 3) != 0);
    return 0;
}

int BareIsVisible(lua_State* L)
{
    lua_pushboolean(L, BarePart(L)->IsVisible() ? 1 : 0);
    return 1;
}

void RunLoop(benchmark::State& run, const char* call)
{
    CBenchWorld world;
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
    lua_State* L = state->GetCState();
    lua_newtable(L);
    int index = 1;
    for (const auto& entry : world.units)
    {
        lua_pushlstring(L, entry.first.data(), entry.first.size());
        lua_rawseti(L, -2, index++);
    }
    lua_setglobal(L, "ids");
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
