// The argument types of the world's script functions against a small world
// of test entities: one kind's collection or all of them in the group's
// order, the parts of an entity, joints and sounds, each with its documented
// answer for an id that names nothing; the block every kind repeats,
// written once over the kind table; and hostile arguments.
#include "support/JoinedEntity.h"
#include "support/ScriptApiTestState.h"

#include "core/script/lua/ScriptMetaTable.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/EntityKinds.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using LuaPlus::LuaState;
using ScriptWorld::AnyUnit;
using ScriptWorld::GraphicalPart;
using ScriptWorld::IEntityInterface;
using ScriptWorld::kEntityKinds;
using ScriptWorld::PhysicalPart;
using ScriptWorld::SonicPart;
using ScriptWorld::Unit;
using ScriptWorld::UnitOrNull;
namespace World = Misc::World;

namespace
{

// An entity of any kind under a plain text id (the world's are UUID texts).
class CNamedEntity : public CKindEntity
{
public:
    CNamedEntity(uint32_t typeId, std::string id) : CKindEntity(typeId), m_name(std::move(id)) {}
    const char* GetId() const override { return m_name.c_str(); }

private:
    std::string m_name;
};

// Eleven collections keyed by id, searched across in the group's order.
class CTestWorld final : public ScriptWorld::IEntityLookup
{
public:
    struct SCollection
    {
        std::map<std::string, std::unique_ptr<IEntityInterface>, std::less<>> units;
        bool visible = true;

        void Clear() { units.clear(); }
        bool IsVisible() const { return visible; }
        void SetVisible(bool value) { visible = value; }
        uint32_t GetCount() const { return static_cast<uint32_t>(units.size()); }
        bool Exists(const std::string& id) const { return units.count(id) != 0; }
    };

    CTestWorld() : m_previous(ScriptWorld::SetEntityLookup(this)) {}
    ~CTestWorld() { ScriptWorld::SetEntityLookup(m_previous); }
    CTestWorld(const CTestWorld&) = delete;
    CTestWorld& operator=(const CTestWorld&) = delete;

    IEntityInterface& Add(uint32_t typeId, const std::string& id)
    {
        auto entity = std::make_unique<CNamedEntity>(typeId, id);
        IEntityInterface& added = *entity;
        m_collections[typeId].units[id] = std::move(entity);
        return added;
    }
    SCollection& Collection(uint32_t typeId) { return m_collections[typeId]; }

    IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        SCollection& collection = m_collections[typeId];
        const auto found = collection.units.find(id);
        return found != collection.units.end() ? found->second.get() : nullptr;
    }
    IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        for (uint32_t typeId : World::kGroupSearchOrder)
        {
            if (IEntityInterface* entity = FindUnit(typeId, id))
                return entity;
        }
        return nullptr;
    }

private:
    std::map<uint32_t, SCollection> m_collections;
    ScriptWorld::IEntityLookup* m_previous;
};

CTestWorld* g_world = nullptr;

// The collection of a kind as the object of its block's methods.
template <uint32_t TypeId> CTestWorld::SCollection& CollectionOf()
{
    return g_world->Collection(TypeId);
}
template <uint32_t TypeId>
using Collection = LuaPlus::Resolved<LuaPlus::Current<CTestWorld::SCollection, &CollectionOf<TypeId>>>;

template <uint32_t TypeId> uint32_t TypeIdOf(LuaState*)
{
    return TypeId;
}

// The add of every kind: the entity of this kind, a parent of any kind.
std::string g_added;
template <uint32_t TypeId>
void AddUnit(LuaState*, Unit<TypeId> unit, UnitOrNull parent, const std::string& joint)
{
    g_added = std::string(unit->GetId()) + "<" + (parent ? parent->GetId() : "root") + ":" + joint;
}

template <uint32_t TypeId> void DeleteUnit(LuaState*, Unit<TypeId> unit)
{
    g_world->Collection(TypeId).units.erase(unit->GetId());
}

// The block of one kind, written once.
template <size_t Row> void RegisterKindBlock(CScriptMetaTable& table)
{
    constexpr uint32_t kTypeId = kEntityKinds[Row].typeId;
    using Kind = Collection<kTypeId>;
    const ScriptWorld::SKindBlockNames names = ScriptWorld::KindBlockNames(kEntityKinds[Row]);
    table.RegisterMethod<Kind>(names.clear.c_str(), &CTestWorld::SCollection::Clear);
    table.RegisterMethod<Kind>(names.areVisible.c_str(), &CTestWorld::SCollection::IsVisible);
    table.RegisterMethod<Kind>(names.setVisible.c_str(), &CTestWorld::SCollection::SetVisible);
    table.RegisterHelper(names.getTypeId.c_str(), &TypeIdOf<kTypeId>);
    table.RegisterMethod<Kind>(names.getNumber.c_str(), &CTestWorld::SCollection::GetCount);
    table.RegisterMethod<Kind>(names.exists.c_str(), &CTestWorld::SCollection::Exists);
    table.RegisterHelper(names.add.c_str(), &AddUnit<kTypeId>);
    table.RegisterHelper(names.remove.c_str(), &DeleteUnit<kTypeId>);
}

template <size_t... Rows> void RegisterKindBlocks(CScriptMetaTable& table, std::index_sequence<Rows...>)
{
    (RegisterKindBlock<Rows>(table), ...);
}

// Joints and sounds of the test, found by name.
struct SJoint
{
    float minLimit = 0.0f;
    float GetMinLimit() const { return minLimit; }
    void SetMinLimit(float value) { minLimit = value; }
};
std::map<std::string, SJoint, std::less<>> g_joints;
struct Joints
{
    using Object = SJoint;
    static SJoint* Find(std::string_view id)
    {
        const auto found = g_joints.find(id);
        return found != g_joints.end() ? &found->second : nullptr;
    }
    [[noreturn]] static void NotFound(std::string_view id) { ScriptWorld::ThrowJointNotFound(id); }
};
using Joint = ScriptWorld::JointArgument<Joints>;

struct SSound
{
    float volume = 1.0f;
    bool looping = true;
    CVector position{1, 2, 3};
    std::wstring file = L"boom.ogg";
    float GetVolume() const { return volume; }
    void SetVolume(float value) { volume = value; }
    bool IsLooping() const { return looping; }
    const CVector& GetPosition() const { return position; }
    const std::wstring& GetFilename() const { return file; }
};
std::map<std::string, SSound, std::less<>> g_sounds;
struct Sounds
{
    using Object = SSound;
    static SSound* Find(std::string_view name)
    {
        const auto found = g_sounds.find(name);
        return found != g_sounds.end() ? &found->second : nullptr;
    }
};
using Sound = ScriptWorld::SoundArgument<Sounds>;

std::string UnitType(LuaState*, AnyUnit<> unit)
{
    return std::to_string(unit->GetTypeId());
}
bool HasPhysicalPart(LuaState*, PhysicalPart)
{
    return true;
}
bool HasSonicPart(LuaState*, SonicPart)
{
    return true;
}

class EntityArguments : public ScriptApiTestState
{
protected:
    void SetUp() override
    {
        ScriptApiTestState::SetUp();
        g_world = &m_world;
        g_joints = {{"hinge", SJoint{}}};
        g_sounds = {{"boom", SSound{}}};
        for (const ScriptWorld::SEntityKind& kind : kEntityKinds)
            m_world.Add(kind.typeId, std::string(kind.stem) + "-1");
        // The same id in two kinds: the group finds units before lights.
        m_world.Add(World::kTypeIdLight, "twin");
        m_world.Add(World::kTypeIdUnit, "twin");

        CScriptMetaTable table(state);
        table.SetScriptName("W");
        RegisterKindBlocks(table, std::make_index_sequence<kEntityKinds.size()>{});
        table.RegisterHelper("unitType", &UnitType);
        table.RegisterMethod<GraphicalPart, bool>("setEntityVisible",
                                                  &Graphics::Scene::CGraphicalEntity::SetVisible);
        table.RegisterMethod<GraphicalPart>("isEntityVisible", &Graphics::Scene::CGraphicalEntity::IsVisible);
        table.RegisterHelper("hasPhysicalPart", &HasPhysicalPart);
        table.RegisterHelper("hasSonicPart", &HasSonicPart);
        table.RegisterMethod<Joint>("getJointLimitMin", &SJoint::GetMinLimit);
        table.RegisterMethod<Joint>("setJointLimitMin", &SJoint::SetMinLimit);
        table.RegisterMethod<Sound>("getVolume", &SSound::GetVolume);
        table.RegisterMethod<Sound>("setVolume", &SSound::SetVolume);
        table.RegisterMethod<Sound>("isLooping", &SSound::IsLooping);
        table.RegisterMethod<Sound>("getPosition", &SSound::GetPosition);
        table.RegisterMethod<Sound>("getSoundFilename", &SSound::GetFilename);
        table.SetGlobalObject(&m_object, "W");
        table.Seal();
    }
    void TearDown() override
    {
        g_world = nullptr;
        ScriptApiTestState::TearDown();
    }

    CTestWorld m_world;
    int m_object = 0;
};

TEST_F(EntityArguments, EveryKindHasItsBlockUnderItsOwnNames)
{
    // Fourteen names a kind; this test world binds the eight that are one
    // call (or one resolution) each.
    EXPECT_EQ(ScriptWorld::KindBlockNames(*ScriptWorld::KindOf(World::kTypeIdParticleSystem)).exists,
              "particleSystemExists");
    EXPECT_EQ(ScriptWorld::KindOf(World::kTypeIdSky), nullptr);
    for (const ScriptWorld::SEntityKind& kind : kEntityKinds)
    {
        const ScriptWorld::SKindBlockNames names = ScriptWorld::KindBlockNames(kind);
        EXPECT_EQ(Show("W:" + names.getTypeId + "()"), std::to_string(kind.typeId)) << kind.stem;
        const std::string own = std::string(kind.stem) + "-1";
        EXPECT_EQ(Show("W:" + names.exists + "('" + own + "')"), "true") << kind.stem;
    }
    Expect({
        {"W:getNumberOfLights(), W:getNumberOfUnits(), W:getNumberOfWaypoints()", "2, 2, 1"},
        {"W:getLightTypeId(), W:getCursorTypeId(), W:getParticleSystemTypeId()", "128, 32768, 64"},
        {"W:lightExists('Light-1'), W:lightExists('Unit-1'), W:unitExists('Unit-1')", "true, false, true"},
        {"W:particleSystemExists('ParticleSystem-1'), W:waypointExists('nope')", "true, false"},
        {"W:setTerrainsVisible(false), W:areTerrainsVisible(), W:areWatersVisible()", "nil, false, true"},
        {"W:clearCameras(), W:getNumberOfCameras(), W:getNumberOfCursors()", "nil, 0, 1"},
    });
}

TEST_F(EntityArguments, OneKindOrAllKindsEachWithTheirOwnError)
{
    Expect({
        // One kind's collection: another kind's id is not found there.
        {"W:addLight('Light-1', '', '')", ""},
        {"W:addLight('Unit-1', '', '')", "error: test:1: [CWorldMap::GetUnit] Unit not found [Unit-1]"},
        {"W:addLight('', '', '')", "error: test:1: [CWorldMap::GetUnit] Unit not found []"},
        // The parent is of any kind; an id that names none is no parent.
        {"W:addLight('Light-1', 'Agent-1', 'hand')", ""},
        {"W:addLight('Light-1', 'nobody', '')", ""},
        // All kinds in the group's order: units before lights.
        {"W:unitType('twin'), W:unitType('Waypoint-1')", "32, 256"},
        {"W:unitType('nobody')", "error: test:1: [CWorldMapGroup::GetUnit] Unit not found [nobody]"},
        {"W:unitType('Unit-1\\0')", "error: test:1: [CWorldMapGroup::GetUnit] Unit not found [Unit-1]"},
    });
    EXPECT_EQ(Run("W:addBillboard('Billboard-1', 'Agent-1', 'hand')"), "");
    EXPECT_EQ(g_added, "Billboard-1<Agent-1:hand");
    // A deleted entity's id is stale: it names nothing any more.
    EXPECT_EQ(Run("W:deleteTrigger('Trigger-1')"), "");
    EXPECT_EQ(Show("W:deleteTrigger('Trigger-1')"),
              "error: test:1: [CWorldMap::GetUnit] Unit not found [Trigger-1]");
    // Without a world no id names an entity.
    ScriptWorld::IEntityLookup* world = ScriptWorld::SetEntityLookup(nullptr);
    EXPECT_EQ(Show("W:unitType('Unit-1')"),
              "error: test:1: [CWorldMapGroup::GetUnit] Unit not found [Unit-1]");
    EXPECT_EQ(Show("W:addUnit('Unit-1')"), "error: test:1: [CWorldMap::GetUnit] Unit not found [Unit-1]");
    ScriptWorld::SetEntityLookup(world);
}

TEST_F(EntityArguments, PartsJointsAndSoundsAreTheObjectsOfTheirRows)
{
    Expect({
        {"W:isEntityVisible('Light-1')", "true"},
        {"W:setEntityVisible('Light-1', false), W:isEntityVisible('Light-1')", "nil, false"},
        {"W:isEntityVisible('x')", "error: test:1: [CWorldMapGroup::GetUnit] Unit not found [x]"},
        // An entity without the part refuses, naming the function.
        {"W:hasPhysicalPart('Unit-1')",
         "error: test:1: [W::hasPhysicalPart] Unit has no physical part [Unit-1]"},
        {"W:hasSonicPart('Unit-1')", "error: test:1: [W::hasSonicPart] Unit has no sonic part [Unit-1]"},
        {"W:hasPhysicalPart('x')", "error: test:1: [CWorldMapGroup::GetUnit] Unit not found [x]"},
        // Joints: the engine's error for an id that names none.
        {"W:setJointLimitMin('hinge', 30), W:getJointLimitMin('hinge')", "nil, 30"},
        {"W:getJointLimitMin('gone')", "error: test:1: [CPhysicsEngine::GetJoint] Joint id not found:gone"},
        // Sounds: no error, the absent result of each type.
        {"W:getVolume('boom'), W:isLooping('boom'), W:getPosition('boom'), W:getSoundFilename('boom')",
         "1, true, V(1.000000 2.000000 3.000000), boom.ogg"},
        {"W:getVolume('none'), W:isLooping('none'), W:getPosition('none'), W:getSoundFilename('none')",
         "0, false, nil, nil"},
        {"W:setVolume('none', 0.5), W:getVolume('boom')", "nil, 1"},
        {"W:setVolume('boom', 0.5), W:getVolume('boom')", "nil, 0.5"},
    });
    EXPECT_FALSE(m_world.FindUnit(World::kTypeIdLight, "Light-1")->GetGraphicalPart()->IsVisible());
}

// Every argument type, given what no script should pass, answers or fails
// with a message in the "[...]" form; also from a coroutine and with a
// weak table whose value has gone.
TEST_F(EntityArguments, HostileArgumentsAnswerOrFailClearly)
{
    ASSERT_EQ(Run(R"lua(
        weak = setmetatable({}, {__mode = "v"})
        weak[1] = {}
        collectgarbage()
        values = {nil, false, true, 0, -1, 0/0, 1/0, 1e308, 2^53, "", "\255\254", string.rep("w", 20000),
                  {}, weak, coroutine.create(function() end), function() error("callback failed") end,
                  W, "Light-1", "twin", "hinge", "boom"}
        calls = {"addLight", "deleteUnit", "lightExists", "unitType", "setEntityVisible", "isEntityVisible",
                 "hasPhysicalPart", "getJointLimitMin", "setJointLimitMin", "getVolume", "setVolume",
                 "getPosition", "setTerrainsVisible"}
        function sweep()
            local failures = 0
            for _, name in ipairs(calls) do
                for i = 1, 21 do
                    for j = 1, 21 do
                        local ok, message = pcall(W[name], W, values[i], values[j], values[i])
                        if not ok then
                            failures = failures + 1
                            assert(type(message) == "string" and message:find("[", 1, true),
                                   name .. ": " .. tostring(message))
                        end
                    end
                end
            end
            return failures
        end
    )lua"),
              "");
    EXPECT_GT(Eval("return sweep()").GetNumber(), 0);
    EXPECT_EQ(Run("local co = coroutine.create(sweep) local ok, message = coroutine.resume(co) assert(ok, "
                  "message)"),
              "");
}

} // namespace
