// IPhysics:setEntityVelocity and getEntityVelocity from a script over 1,000
// bodies, beside bare lua_CFunctions doing the same: the id looked up among
// the entities, the vector read or made, the physical part's call.

#include "bench/ScriptLoop.h"

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "tests/support/PhysicalTestEntity.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace
{

using Misc::World::IEntityInterface;

constexpr int kEntities = 1000;

// 1,000 boxes with bodies, found by their ids as the world finds them.
class CBenchWorld final : public ScriptWorld::IEntityLookup
{
public:
    explicit CBenchWorld(CPhysicsEngine& physics)
    {
        for (int index = 0; index < kEntities; ++index)
        {
            auto entity = std::make_unique<CPhysicalTestEntity>();
            entity->NewId();
            entity->SetMass(1.0f);
            entity->SetPosition(CVector(float(index % 40) * 2.0f, 1.0f, float(index / 40) * 2.0f));
            physics.AddEntity(entity.get());
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

    std::map<std::string, std::unique_ptr<CPhysicalTestEntity>, std::less<>> units;

private:
    ScriptWorld::IEntityLookup* m_previous = nullptr;
};

CBenchWorld* g_world = nullptr;

CPhysicalEntity* BarePart(lua_State* L)
{
    size_t size = 0;
    const char* text = lua_isstring(L, 2) ? lua_tolstring(L, 2, &size) : "";
    const auto found = g_world->units.find(std::string_view(text, size));
    if (found == g_world->units.end())
        luaL_error(L, "[CWorldMapGroup::GetUnit] Unit not found [%s]", text);
    return found->second->GetPhysicalPart();
}

int BareSetVelocity(lua_State* L)
{
    BarePart(L)->SetVelocity(CVectorScript::Read(L, 3));
    return 0;
}

int BareGetVelocity(lua_State* L)
{
    CVector velocity;
    BarePart(L)->GetVelocity(velocity);
    CVectorScript::Push(L, velocity);
    return 1;
}

void RunLoop(benchmark::State& run, const char* call)
{
    CScriptManager engine(Halvane::EngineComposition());
    CScriptManager::SetInstance(&engine);
    CPhysicsEngine& physics = *engine.GetPart<CPhysicsEngine>();
    physics.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.01f, 1000.0f, false, 60, true);
    {
        CBenchWorld world(physics);
        g_world = &world;
        LuaPlus::LuaState* state = engine.GetMainState();
        lua_State* L = state->GetCState();
        lua_newtable(L);
        lua_pushcfunction(L, &BareSetVelocity);
        lua_setfield(L, -2, "setEntityVelocity");
        lua_pushcfunction(L, &BareGetVelocity);
        lua_setfield(L, -2, "getEntityVelocity");
        lua_setglobal(L, "Bare");
        lua_newtable(L);
        int index = 1;
        for (const auto& entry : world.units)
        {
            lua_pushlstring(L, entry.first.data(), entry.first.size());
            lua_rawseti(L, -2, index++);
        }
        lua_setglobal(L, "ids");
        RunScriptLoop(run, state, "local P, Bare, ids, v = IPhysics, Bare, ids, IMisc:vectorCreate(1, 2, 3)",
                      std::string("local id = ids[i % 1000 + 1] ") + call);
        g_world = nullptr;
    }
    physics.Destroy();
    CScriptManager::SetInstance(nullptr);
}

void BM_SetVelocity_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "Bare:setEntityVelocity(id, v) s = s + 1");
}
void BM_SetVelocity_IPhysics(benchmark::State& run)
{
    RunLoop(run, "P:setEntityVelocity(id, v) s = s + 1");
}
void BM_GetVelocity_BareCFunction(benchmark::State& run)
{
    RunLoop(run, "if Bare:getEntityVelocity(id) then s = s + 1 end");
}
void BM_GetVelocity_IPhysics(benchmark::State& run)
{
    RunLoop(run, "if P:getEntityVelocity(id) then s = s + 1 end");
}

BENCHMARK(BM_SetVelocity_BareCFunction);
BENCHMARK(BM_SetVelocity_IPhysics);
BENCHMARK(BM_GetVelocity_BareCFunction);
BENCHMARK(BM_GetVelocity_IPhysics);

} // namespace
