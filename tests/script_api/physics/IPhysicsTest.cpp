// IPhysics on the program's real engine object, over a small world of its
// own (boxes and a ground square found through a lookup of the test's):
// the complete table, the engine's values, a box dropped onto the ground
// with its contact events, joints of every kind, physics types, collision
// walks, ray casts between points and from the cursor, and hostile
// arguments.

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "physics/newton/NewtonBody.h"
#include "script_api/world/EntityArguments.h"
#include "support/LuaTestState.h"
#include "support/PhysicalTestEntity.h"
#include "world/ManagedCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace
{

namespace World = Misc::World;
using Camera = CManagedEntity<Graphics::Scene::CGraphicalCamera>;

// A box or ground entity of any kind.
class CKindBody final : public CPhysicalTestEntity
{
public:
    CKindBody(std::string id, uint32_t typeId) : m_id(std::move(id)), m_typeId(typeId) {}
    uint32_t GetTypeId() const override { return m_typeId; }
    // A plain text id, for readable scripts (the world's are UUID texts).
    const char* GetId() const override { return m_id.c_str(); }

private:
    std::string m_id;
    uint32_t m_typeId;
};

constexpr const char* kEyeId = "0b7d3c1e-4f2a-4c39-9d6e-8a1b2c3d4e5f";

class CTestWorld final : public ScriptWorld::IEntityLookup
{
public:
    std::map<std::string, std::unique_ptr<World::IEntityInterface>, std::less<>> entities;

    World::IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        World::IEntityInterface* entity = FindAnyUnit(id);
        return entity != nullptr && entity->GetTypeId() == typeId ? entity : nullptr;
    }
    World::IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        const auto found = entities.find(id);
        return found != entities.end() ? found->second.get() : nullptr;
    }
};

// Script helpers: near(a, b) for numbers, vnear(v, x, y, z) for vectors,
// fails(f, text) for a call that must raise an error containing the text,
// and finite(v) for vectors without NaN or infinities.
const char* const kHelpers = R"lua(
    function near(a, b, tolerance) return math.abs(a - b) <= (tolerance or 1e-4) end
    function vnear(v, x, y, z, tolerance)
        return near(v:getX(), x, tolerance) and near(v:getY(), y, tolerance) and near(v:getZ(), z, tolerance)
    end
    function fails(f, text)
        local ok, message = pcall(f)
        assert(not ok, "no error, expected " .. text)
        assert(string.find(message, text, 1, true), "expected '" .. text .. "', got '" .. tostring(message) .. "'")
    end
    function finite(v)
        local x, y, z = v:getX(), v:getY(), v:getZ()
        return x == x and y == y and z == z and math.abs(x) < math.huge and math.abs(y) < math.huge
            and math.abs(z) < math.huge
    end
    P = IPhysics
    function V(x, y, z) return IMisc:vectorCreate(x, y, z) end
)lua";

class IPhysicsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        physics = engine->GetPart<CPhysicsEngine>();
        // In place of the world's own lookup, which the engine object installed.
        previousLookup = ScriptWorld::SetEntityLookup(&world);
        ASSERT_EQ(Run(kHelpers), "");
        ASSERT_EQ(Run("assert(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false))"), "");
    }
    void TearDown() override
    {
        CPhysicsEngine::SetGravity(CVector(0.0f, -9.8f, 0.0f));
        physics->Destroy();
        world.entities.clear();
        ScriptWorld::SetEntityLookup(previousLookup);
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    std::string Run(const std::string& code) { return RunScript(engine->GetMainState(), code); }

    // A 1 m box of the kind (no body until refreshEntity or Body).
    CKindBody& Box(const std::string& id, const CVector& position, uint32_t typeId = World::kTypeIdUnit)
    {
        auto entity = std::make_unique<CKindBody>(id, typeId);
        CKindBody& box = *entity;
        box.SetPosition(position);
        box.SetMass(1.0f);
        world.entities[id] = std::move(entity);
        return box;
    }
    // The same with its body.
    CKindBody& Body(const std::string& id, const CVector& position, uint32_t typeId = World::kTypeIdUnit)
    {
        CKindBody& box = Box(id, position, typeId);
        physics->AddEntity(&box);
        return box;
    }
    // A static 40 m square of ground in the plane y = 0.
    CKindBody& Ground(const std::string& id = "ground")
    {
        CKindBody& ground = Box(id, CVector(), World::kTypeIdTerrain);
        ground.SetGround(20.0f);
        ground.SetMass(1000.0f);
        physics->AddEntity(&ground);
        return ground;
    }

    // Steps of 16 ms through the loop's fixed-period update.
    void Step(int steps)
    {
        for (int i = 0; i < steps; ++i)
        {
            const uint32_t previous = now;
            now += 16;
            physics->Update(Simulation::Multicast::CEvtTick{engine.get(), now, previous});
        }
    }

    std::unique_ptr<CScriptManager> engine;
    CPhysicsEngine* physics = nullptr;
    CTestWorld world;
    ScriptWorld::IEntityLookup* previousLookup = nullptr;
    uint32_t now = 1000;
};

// Every name scripts call, in registration order.
const char* const kFunctions =
    "init isInitialised destroy update lock "
    "createType typeExists deleteType deleteAllTypes getNumberOfTypes getTypeName forEachPhysicsType "
    "getStaticFriction getDynamicFriction getElasticity "
    "isEntityInitialised saveGeometryCache geometryCacheExists refreshEntity activateEntity deactivateEntity "
    "isEntityActive setEntityAutoDeactivationMode getEntityAutoDeactivationMode isEntityCollidable "
    "setEntityCollidable setEntityThresholds getEntityThresholds "
    "getNumberOfSimulatingEntitites setBounds expandBounds getWorldMin getWorldMax getGravity setGravity "
    "setDesiredFrameRate getDesiredFrameRate getTotalFrames getTotalProcessingTime getAveProcessingTime "
    "enableFrameCounter isFrameCounterEnabled getMinMass getMaxMass "
    "getCollisionData "
    "enableCollisionPredictionEx enableCollisionPrediction isCollisionPredictionEnabled "
    "monitorEntityCollisions "
    "getMonitorCollisionType getEntityCollisionCount "
    "forEachCollision isColliding "
    "addCollisionToList removeCollisionFromList "
    "rayCast rayCastFilter rayCastAll rayCastMousePosition rayCastMousePositionFilter "
    "rayCastMousePositionAll "
    "boundingBoxCollisionTest "
    "getEntityMass setEntityMass getEntityMassType getEntityCollisionType setEntityCollisionType "
    "getEntityType "
    "setEntityType getEntityCentreOfMass setEntityCentreOfMass getEntityMomentOfInertia "
    "setEntityMomentOfInertia "
    "getEntityConstantVelocity getEntityConstantOmega getEntityBuoyancyParams getEntityConstantForce "
    "getEntityConstantTorque getEntityImpulseForce getEntityImpulseTorque setEntityImpulseDamping "
    "getEntityImpulseDamping setEntityConstantVelocity setEntityConstantOmega setEntityBuoyancyParams "
    "setEntityConstantForce setEntityConstantTorque setEntityImpulseForce setEntityImpulseTorque "
    "addEntityConstantVelocity addEntityConstantOmega addEntityConstantForce addEntityConstantTorque "
    "addEntityImpulseForce addEntityImpulseForceOffset addEntityImpulseTorque getEntityVelocity "
    "setEntityVelocity getEntitySpeed getEntitySpeedInDirection getEntityOmega setEntityOmega getEntityForce "
    "getEntityTorque stopEntityMotion setEntityLinearDamping getEntityLinearDamping setEntityAngularDamping "
    "getEntityAngularDamping "
    "destroyJoint enableJoint isJointEnabled setJointCollidable isJointCollidable recreateJoint "
    "getJointMaxDof "
    "getJointForce createJointHinge createJointHingeLimited createJointCorkscrew createJointCorkscrewLimited "
    "setJointMotor createJointSlider createJointSliderLimited createJointSpring createJointBallAndSocket "
    "createJointBallAndSocketLimited createJointUpVector createJointPulley createJointGear createJointFixed "
    "jointExists getJointChildId getJointParentId getJointType isJointLimited getJointPivotPosition "
    "setJointPivotPosition getJointChildPinDirection setJointChildPinDirection getJointParentPinDirection "
    "setJointParentPinDirection getJointLimitMin setJointLimitMin getJointLimitMax setJointLimitMax "
    "getJointLimitDirection setJointLimitDirection getJointGearRatio setJointGearRatio getJointStiffness "
    "setJointStiffness getJointSpringFactor setJointSpringFactor getJointSpringDamping setJointSpringDamping "
    "isJointMotorised getJointMotorisedAcceleration getJointMotorisedDamping getNumberOfJoints forEachJoint";

TEST_F(IPhysicsTest, TableHoldsExactlyTheFunctionsAndIsSealed)
{
    EXPECT_EQ(Run(std::string("names = '") + kFunctions + "'\n" + R"lua(
        local mt = debug.getmetatable(IPhysics)
        local listed, count = 0, 0
        for name in string.gmatch(names, '%S+') do
            listed = listed + 1
            assert(type(mt[name]) == 'function', name)
        end
        for name, value in pairs(mt) do
            if type(value) == 'function' then count = count + 1 end
        end
        assert(listed == 161 and count == 161, listed .. ' ' .. count)
        assert(getmetatable(IPhysics) == 'Metatable is readonly')
        assert(not pcall(setmetatable, IPhysics, {}))
    )lua"),
              "");
}

TEST_F(IPhysicsTest, EngineValues)
{
    EXPECT_EQ(Run(R"lua(
        assert(P:isInitialised())
        assert(vnear(P:getGravity(), 0, -9.8, 0))
        P:setGravity('0 -5 1')
        P:destroy()
        assert(not P:isInitialised())
        assert(vnear(P:getGravity(), 0, -5, 1))
        assert(P:update())
        assert(P:init(0, 0, 0.6, 0.5, 0, -3, 500, false, 60))
        assert(P:getMinMass() == 0 and P:getMaxMass() == 500)
        assert(P:getDesiredFrameRate() == 60)
        P:setDesiredFrameRate(30)
        assert(P:getDesiredFrameRate() == 30)
        P:enableFrameCounter(true, true)
        assert(P:isFrameCounterEnabled() and P:getTotalProcessingTime() == 0 and P:getAveProcessingTime() == 0)
        P:setBounds(V(-1, -2, -3), V(1, 2, 3))
        P:expandBounds('-5 0 0', '0 0 7')
        assert(vnear(P:getWorldMin(), -5, -2, -3) and vnear(P:getWorldMax(), 1, 2, 7))
        assert(P:getNumberOfSimulatingEntitites() == 0)
        P:lock(true)
    )lua"),
              "");
    EXPECT_TRUE(physics->IsLocked());
    EXPECT_EQ(physics->GetPeriod(), 33u);
}

TEST_F(IPhysicsTest, BoxDroppedOntoGroundEntersRestsAndExits)
{
    Ground();
    Box("box", CVector(0.0f, 3.0f, 0.0f));
    ASSERT_EQ(Run(R"lua(
        assert(not P:isEntityInitialised('box'))
        P:refreshEntity('box')
        assert(P:isEntityInitialised('box') and P:getEntityMassType('box') == 1)
        assert(P:getEntityMassType('ground') == 2)
        P:monitorEntityCollisions('box', 2)
        assert(P:getMonitorCollisionType('box') == 2)
        assert(P:getNumberOfSimulatingEntitites() >= 1)
        events = {}
        IEvents = IEvents
    )lua"),
              "");
    std::ostringstream events;
    struct SListener : Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CollisionEnter>,
                       Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CollisionExit>
    {
        std::ostringstream* out = nullptr;
        bool OnEvent(const CEvtEntityPair& event) override
        {
            *out << event.nameA << ">" << event.nameB << ";";
            return false;
        }
    };
    Step(120);
    EXPECT_EQ(Run(R"lua(
        local y = P:getEntityVelocity('box')
        assert(P:isColliding('box', 'ground'), 'resting on the ground')
        assert(P:getEntityCollisionCount('box') == 1)
        local seen = {}
        P:forEachCollision('box', function(id, other, user) seen[#seen + 1] = id .. '/' .. other .. user end, '!')
        assert(#seen == 1 and seen[1] == 'box/ground!', seen[1])
        local contacts = P:getCollisionData('box', 'ground', 4294967295)
        assert(contacts and #contacts >= 1 and #contacts <= 256)
        assert(contacts[1].contact and contacts[1].normal and type(contacts[1].penetration) == 'number')
        assert(P:getCollisionData('nobody', 'nothing', 0) == nil)
        local hit = P:rayCast(V(0, 10, 0), V(0, -10, 0))
        assert(hit.entity == 'box', hit.entity)
        assert(near(hit.intersection:getY(), 1, 0.05), hit.intersection:getY())
        local hits = P:rayCastAll(V(5, 10, 5), V(5, -10, 5), 0)
        assert(#hits == 1 and hits[1].entity == 'ground' and vnear(hits[1].intersection, 5, 0, 5, 1e-3))
        assert(vnear(hits[1].normal, 0, 1, 0, 1e-3))
        assert(P:rayCastFilter(V(0, 10, 0), V(0, -10, 0), 32).entity == 'box')
        assert(P:rayCastFilter(V(0, 10, 0), V(0, -10, 0), 4096).entity == 'ground')
        assert(P:rayCast(V(50, 10, 50), V(50, -10, 50)) == nil)
        local inside = P:boundingBoxCollisionTest({ min = '1 2 1', max = '-1 0.1 -1' })
        assert(#inside == 1 and inside[1] == 'box')
        assert(P:boundingBoxCollisionTest({ min = '100 100 100', max = '101 101 101' }) == nil)
    )lua"),
              "");
    // Where the box came to rest: on the ground, its centre half a metre up.
    CVector position = world.entities["box"]->GetPosition();
    EXPECT_NEAR(position.y, 0.5f, 0.05f);

    SListener listener;
    listener.out = &events;
    Misc::Multicast::CMulticast<Misc::Multicast::Kind::CollisionEnter>::Subscribe(&listener, 0);
    Misc::Multicast::CMulticast<Misc::Multicast::Kind::CollisionExit>::Subscribe(&listener, 0);
    // Lifted away: the contact ends with an exit event.
    EXPECT_EQ(Run("P:setEntityVelocity('box', V(0, 40, 0)); P:setGravity(V(0, 0, 0))"), "");
    Step(30);
    Misc::Multicast::CMulticast<Misc::Multicast::Kind::CollisionEnter>::Unsubscribe(&listener);
    Misc::Multicast::CMulticast<Misc::Multicast::Kind::CollisionExit>::Unsubscribe(&listener);
    EXPECT_NE(events.str().find("box>ground;"), std::string::npos) << events.str();
    EXPECT_EQ(Run("assert(not P:isColliding('box', 'ground'))"), "");
}

TEST_F(IPhysicsTest, EntityValuesRoundTrip)
{
    Box("loose", CVector(0.0f, 5.0f, 0.0f));
    Body("body", CVector(3.0f, 5.0f, 0.0f));
    EXPECT_EQ(Run(R"lua(
        for _, id in ipairs({ 'loose', 'body' }) do
            P:setEntityImpulseDamping(id, 1.5)
            assert(P:getEntityImpulseDamping(id) == 1)
            P:setEntityImpulseDamping(id, -0.5)
            assert(P:getEntityImpulseDamping(id) == 0)
            P:addEntityImpulseForce(id, V(1, 0, 0))
            P:addEntityImpulseForce(id, '1 0 0')
            assert(vnear(P:getEntityImpulseForce(id), 2, 0, 0))
            P:setEntityConstantForce(id, V(0, 1, 0))
            P:addEntityConstantForce(id, V(0, 1, 2))
            assert(vnear(P:getEntityConstantForce(id), 0, 2, 2))
            P:setEntityBuoyancyParams(id, V(1, 2, 3))
            assert(vnear(P:getEntityBuoyancyParams(id), 1, 2, 3))
            P:setEntityType(id, 'ice')
            assert(P:getEntityType(id) == 'ice')
            P:setEntityCollisionType(id, 1)
            assert(P:getEntityCollisionType(id) == 1)
            P:setEntityCollidable(id, false)
            assert(not P:isEntityCollidable(id))
            P:setEntityLinearDamping(id, 0.25)
            assert(near(P:getEntityLinearDamping(id), 0.25))
            P:setEntityAngularDamping(id, V(0.2, 0.3, 0.4))
            assert(vnear(P:getEntityAngularDamping(id), 0.2, 0.3, 0.4))
            P:enableCollisionPrediction(id, 0, 1, 2)
            assert(not P:isCollisionPredictionEnabled(id))
            P:enableCollisionPredictionEx(id, true, V(1, 1, 1), V(1, 1, 1), V(1, 1, 1))
            assert(P:isCollisionPredictionEnabled(id))
            P:setEntityThresholds(id, 0.2, 0.3, 10)
            local t = P:getEntityThresholds(id)
            assert(near(t.linearSpeed, 0.2) and near(t.angularSpeed, 0.3) and t.minTicks == 10)
            P:stopEntityMotion(id)
            assert(vnear(P:getEntityImpulseForce(id), 0, 0, 0))
            assert(P:geometryCacheExists(id) == nil)
        end
        P:setEntityMass('loose', 0.001)
        assert(P:getEntityMassType('loose') == 0)
        assert(not P:isEntityActive('loose'))
        assert(vnear(P:getEntityForce('loose'), 0, 0, 0))
        fails(function() P:deactivateEntity('loose') end, '[CPhysicalEntity::Deactivate] Physical entity not intialised')
        fails(function() P:addEntityImpulseForceOffset('loose', V(1, 0, 0), V(0, 1, 0) ) end,
            '[CPhysicalEntity::AddImpulseForceOffset] Physical entity not intialised')
        fails(function() P:saveGeometryCache('loose', 'x') end, '[CPhysicalEntity::SaveToCache] Physical entity not intialised')
        P:setEntityVelocity('body', V(0, 0, 4))
        assert(vnear(P:getEntityVelocity('body'), 0, 0, 4))
        assert(near(P:getEntitySpeed('body'), 4) and near(P:getEntitySpeedInDirection('body', V(0, 0, -1)), -4))
        P:setEntityOmega('body', V(1, 0, 0))
        assert(vnear(P:getEntityOmega('body'), 1, 0, 0))
        P:activateEntity('body')
        assert(P:isEntityActive('body'))
        P:deactivateEntity('body')
        fails(function() P:getEntityMass('missing') end, '[CWorldMapGroup::GetUnit] Unit not found [missing]')
    )lua"),
              "");
}

TEST_F(IPhysicsTest, JointsOfEveryKind)
{
    Body("a", CVector(0.0f, 5.0f, 0.0f));
    Body("b", CVector(2.0f, 5.0f, 0.0f));
    EXPECT_EQ(Run(R"lua(
        local pivot, pin = V(1, 5, 0), V(0, 0, 1)
        local kinds = {
            { 'hinge', 0, function(id) return P:createJointHinge(id, 'a', 'b', pivot, pin) end },
            { 'hingeLimited', 0, function(id) return P:createJointHingeLimited(id, 'a', 'b', pivot, pin, -30, 45) end },
            { 'corkscrew', 1, function(id) return P:createJointCorkscrew(id, 'a', 'b', pivot, pin) end },
            { 'corkscrewLimited', 1, function(id) return P:createJointCorkscrewLimited(id, 'a', 'b', pivot, pin, -1, 1) end },
            { 'slider', 2, function(id) return P:createJointSlider(id, 'a', 'b', pivot, pin) end },
            { 'sliderLimited', 2, function(id) return P:createJointSliderLimited(id, 'a', 'b', pivot, pin, -1, 1) end },
            { 'spring', 7, function(id) return P:createJointSpring(id, 'a', 'b', pivot, pin, -1, 1, 1, 2, 3) end },
            { 'springless', 2, function(id) return P:createJointSpring(id, 'a', 'b', pivot, pin, -1, 1, 0, 2, 3) end },
            { 'ball', 3, function(id) return P:createJointBallAndSocket(id, 'a', 'b', pivot) end },
            { 'ballLimited', 3, function(id) return P:createJointBallAndSocketLimited(id, 'a', 'b', pivot, 30, V(1, 0, 0)) end },
            { 'up', 4, function(id) return P:createJointUpVector(id, 'b', V(0, 1, 0)) end },
            { 'pulley', 5, function(id) return P:createJointPulley(id, 'a', 'b', V(1, 0, 0), V(0, 1, 0), 2) end },
            { 'gear', 6, function(id) return P:createJointGear(id, 'a', 'b', V(1, 0, 0), V(0, 1, 0), 2) end },
            { 'fixed', 8, function(id) return P:createJointFixed(id, 'a', 'b') end },
        }
        for i, kind in ipairs(kinds) do
            local id, type, create = kind[1], kind[2], kind[3]
            assert(create(id), id)
            assert(P:jointExists(id) and P:getJointType(id) == type, id .. ' ' .. P:getJointType(id))
            assert(P:getNumberOfJoints() == i)
            assert(P:getJointChildId(id) == 'b')
            assert(P:getJointMaxDof(id) >= 1)
        end
        assert(P:getJointParentId('up') == nil)
        assert(vnear(P:getJointParentPinDirection('pulley'), 1, 0, 0) and vnear(P:getJointChildPinDirection('pulley'), 0, 1, 0))
        assert(near(P:getJointLimitMin('hingeLimited'), -30) and near(P:getJointLimitMax('hingeLimited'), 45))
        assert(P:isJointLimited('springless') and near(P:getJointLimitMax('springless'), 1))
        assert(near(P:getJointStiffness('spring'), 1) and near(P:getJointSpringFactor('spring'), 2)
            and near(P:getJointSpringDamping('spring'), 3))
        assert(near(P:getJointGearRatio('gear'), 2))
        assert(P:setJointMotor('hinge', 2, 0.5))
        assert(P:isJointMotorised('hinge') and near(P:getJointMotorisedAcceleration('hinge'), 2)
            and near(P:getJointMotorisedDamping('hinge'), 0.5))
        fails(function() P:setJointGearRatio('hinge', 2) end, '[CJoint::SetGearRatio] Not implemented for the joint type')
        fails(function() P:getJointForce('fixed', 1000) end, '[CJoint::GetForce] Invalid dof')
        fails(function() P:isJointEnabled('none') end, '[CPhysicsEngine::GetJoint] Joint id not found:none')
        P:enableJoint('hinge', false)
        assert(not P:isJointEnabled('hinge'))
        P:setJointCollidable('hinge', true)
        assert(P:isJointCollidable('hinge'))
        P:recreateJoint('hinge')
        -- A missing child makes nothing; a missing parent joins the child to the world.
        assert(not P:createJointHinge('x', 'a', 'nobody', pivot, pin) and not P:jointExists('x'))
        assert(P:createJointHinge('world', '', 'a', pivot, pin) and P:getJointParentId('world') == nil)
        -- The same id replaces the joint.
        local count = P:getNumberOfJoints()
        assert(P:createJointFixed('world', nil, 'a') and P:getNumberOfJoints() == count)
        assert(P:getJointType('world') == 8)
        -- A walk that stops at once, then one that destroys every joint, and others besides.
        local calls = 0
        P:forEachJoint(function() calls = calls + 1; return true end, nil)
        assert(calls == 1)
        local seen = 0
        P:forEachJoint(function(id, user)
            seen = seen + 1
            assert(user == 'u')
            P:destroyJoint(id)
            P:destroyJoint('world')
        end, 'u')
        assert(P:getNumberOfJoints() == 0 and seen == count - 1, seen)
        assert(not P:destroyJoint('hinge'))
    )lua"),
              "");
    Step(10);
}

TEST_F(IPhysicsTest, PhysicsTypes)
{
    CKindBody& box = Body("box", CVector(0.0f, 5.0f, 0.0f));
    EXPECT_EQ(Run(R"lua(
        assert(P:getNumberOfTypes() == 1 and P:getTypeName(0) == 'default' and P:getTypeName(1) == nil)
        assert(P:getTypeName(2^40) == nil and P:getTypeName(-1) == nil)
        P:createType('wood', 0.7, 0.4, 0.2)
        P:createType('ice', 0.1, 0.05, 0.1)
        assert(P:typeExists('ice') and P:getNumberOfTypes() == 3)
        assert(P:getTypeName(0) == 'default' and P:getTypeName(1) == 'ice' and P:getTypeName(2) == 'wood')
        assert(near(P:getStaticFriction('wood'), 0.7) and near(P:getDynamicFriction('wood'), 0.4)
            and near(P:getElasticity('wood'), 0.2))
        assert(near(P:getStaticFriction('never'), 0.6))
        local names = {}
        P:forEachPhysicsType(function(name, user) names[#names + 1] = name .. user; P:deleteType('wood') end, '.')
        assert(table.concat(names, ' ') == 'default. ice. wood.', table.concat(names, ' '))
        assert(not P:typeExists('wood'))
        P:deleteType('default')
        assert(P:typeExists('default'))
        P:setEntityType('box', 'ice')
        P:refreshEntity('box')
        P:deleteAllTypes()
        assert(P:getNumberOfTypes() == 1 and P:getTypeName(0) == 'default')
        fails(function() P:forEachPhysicsType(42, nil) end, 'Lua assertion failed:m_functionObj.IsFunction()')
        P:destroy()
        P:createType('late', 1, 1, 1)
        assert(not P:typeExists('late'))
        fails(function() P:getElasticity('x') end, '[CPhysicsEngine::GetType] Type not found : x')
    )lua"),
              "");
    (void)box;
}

TEST_F(IPhysicsTest, TypesDeletedLeaveBodiesInAValidGroup)
{
    CKindBody& box = Body("box", CVector(0.0f, 2.0f, 0.0f));
    Ground();
    ASSERT_EQ(Run(R"lua(
        P:createType('ice', 0.1, 0.05, 0.1)
        P:setEntityType('box', 'ice')
        P:refreshEntity('box')
        P:deleteAllTypes()
        -- New types take the group ids handed out before.
        P:createType('rubber', 1, 1, 0.9)
    )lua"),
              "");
    EXPECT_EQ(box.GetBody()->materialGroup, physics->GetTypeId(L"default"));
}

TEST_F(IPhysicsTest, RaysFromTheCursor)
{
    Ground();
    EXPECT_EQ(
        Run("fails(function() P:rayCastMousePosition(false) end, '[CWorldMap::GetUnit] Unit not found []')"),
        "");
    ASSERT_EQ(Run("assert(IGraphics:init('NULL', 800, 600, false, 16, false, false, false, 100, false))"),
              "");
    Graphics::CGraphicsEngine* graphics = engine->GetPart<Graphics::CGraphicsEngine>();
    auto camera = std::make_unique<Camera>();
    camera->SetId(kEyeId);
    camera->SetPosition(CVector(0.0f, 10.0f, 0.0f));
    camera->SetLookAt(CVector(0.0f, 0.0f, 0.01f));
    Camera& eye = *camera;
    world.entities[kEyeId] = std::move(camera);
    graphics->Add(eye.GetGraphicalPart(), nullptr, "");
    graphics->SetActiveCamera(dynamic_cast<Graphics::IFrameCamera*>(eye.GetGraphicalPart()));
    graphics->SetCursorPosition(0.5f, 0.5f);
    EXPECT_EQ(Run(R"lua(
        local hit = P:rayCastMousePosition(false)
        assert(hit and hit.entity == 'ground' and near(hit.intersection:getY(), 0, 1e-3))
        assert(P:rayCastMousePositionFilter(4096, true).entity == 'ground')
        assert(P:rayCastMousePositionFilter(32, false) == nil)
        local all = P:rayCastMousePositionAll(0, false)
        assert(#all == 1 and all[1].entity == 'ground')
    )lua"),
              "");
    graphics->SetActiveCamera(nullptr);
    world.entities.erase(kEyeId);
}

TEST_F(IPhysicsTest, StoppingTheEngineLeavesNoBodyBehind)
{
    CKindBody& box = Box("box", CVector(0.0f, 2.0f, 0.0f));
    for (const char* stop : {"P:destroy()", "P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false)"})
    {
        ASSERT_EQ(Run("assert(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false))"), "");
        physics->AddEntity(&box);
        ASSERT_NE(box.GetBody(), nullptr);
        EXPECT_EQ(Run(stop), "");
        EXPECT_EQ(box.GetBody(), nullptr) << stop;
        EXPECT_EQ(Run("P:setEntityVelocity('box', V(1, 0, 0)); assert(not P:isEntityInitialised('box'))"), "")
            << stop;
    }
}

TEST_F(IPhysicsTest, CallbacksThatDeleteOrStopAreSafe)
{
    Ground();
    Body("box", CVector(0.0f, 0.5f, 0.0f));
    Body("other", CVector(0.9f, 0.5f, 0.0f));
    ASSERT_EQ(Run("P:monitorEntityCollisions('box', 1)"), "");
    Step(20);
    EXPECT_EQ(Run(R"lua(
        assert(P:getEntityCollisionCount('box') >= 1)
        assert(P:addCollisionToList('box', 'other') == (P:isColliding('box', 'other') == false))
        fails(function() P:forEachCollision('box', function() error('boom') end, nil) end, 'boom')
        local visits = 0
        P:forEachCollision('box', function(id, other) visits = visits + 1; P:destroy() end, nil)
        assert(visits >= 1 and not P:isInitialised())
    )lua"),
              "");
    world.entities.clear();
}

TEST_F(IPhysicsTest, HostileArgumentsLeaveNoNaN)
{
    Ground();
    Body("box", CVector(0.0f, 2.0f, 0.0f));
    Body("other", CVector(3.0f, 2.0f, 0.0f));
    EXPECT_EQ(Run(R"lua(
        local nan, inf = 0 / 0, math.huge
        local vectors = { V(nan, nan, nan), V(inf, -inf, inf), V(1e38, 1e38, 1e38), 'x y z', 42, {}, nil }
        local setters = { 'setEntityVelocity', 'setEntityOmega', 'setEntityConstantForce', 'setEntityConstantTorque',
            'setEntityConstantVelocity', 'setEntityConstantOmega', 'setEntityImpulseForce', 'setEntityImpulseTorque',
            'setEntityBuoyancyParams', 'addEntityImpulseForce', 'setEntityCentreOfMass', 'setEntityMomentOfInertia',
            'setEntityAngularDamping' }
        for _, name in ipairs(setters) do
            for _, v in ipairs(vectors) do pcall(P[name], P, 'box', v) end
            pcall(P[name], P, nil, V(1, 1, 1))
            pcall(P[name], P, {}, V(1, 1, 1))
        end
        for _, value in ipairs({ nan, inf, -inf, 1e300, -1e300 }) do
            pcall(P.setEntityLinearDamping, P, 'box', value)
            pcall(P.setEntityImpulseDamping, P, 'box', value)
            pcall(P.setEntityThresholds, P, 'box', value, value, value)
            pcall(P.setEntityMass, P, 'other', value)
            pcall(P.refreshEntity, P, 'other')
            pcall(P.getCollisionData, P, 'box', 'ground', value)
            pcall(P.getTypeName, P, value)
            pcall(P.rayCastFilter, P, V(value, 0, 0), V(0, value, 0), value)
            pcall(P.setDesiredFrameRate, P, value)
            pcall(P.createJointHingeLimited, P, 'j', 'ground', 'box', V(value, 0, 0), V(0, 0, 1), value, value)
            pcall(P.createType, P, 'odd', value, value, value)
            pcall(P.boundingBoxCollisionTest, P, { min = V(value, 0, 0), max = '1 1 1' })
        end
        P:setDesiredFrameRate(60)
        P:setGravity(V(nan, inf, 0))
        -- Coroutines, errors in callbacks, callbacks that are not functions.
        local co = coroutine.create(function() return P:getEntityVelocity('box') end)
        assert(coroutine.resume(co))
        fails(function() P:forEachJoint(function() error('inside') end, nil) end, 'inside')
        fails(function() P:forEachCollision('box', 'noSuchGlobal', nil) end, 'Lua assertion failed:m_functionObj.IsFunction()')
        fails(function() P:getEntityVelocity(setmetatable({}, { __mode = 'k' })) end, '[CWorldMapGroup::GetUnit] Unit not found []')
        fails(function() P:isColliding('gone', 'box') end, '[CWorldMapGroup::GetUnit] Unit not found [gone]')
        assert(P:getCollisionData('box', 'ground', 0) == nil)
    )lua"),
              "");
    CPhysicsEngine::SetGravity(CVector(0.0f, -9.8f, 0.0f));
    Step(30);
    EXPECT_EQ(Run(R"lua(
        for _, id in ipairs({ 'box', 'other', 'ground' }) do
            assert(finite(P:getEntityVelocity(id)) and finite(P:getEntityOmega(id)), id)
        end
    )lua"),
              "");
    for (const auto& [id, entity] : world.entities)
    {
        const CVector& position = entity->GetPosition();
        EXPECT_TRUE(std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(position.z))
            << id;
    }
}

} // namespace
