// The physical part: stored settings with and without a body, its errors,
// copies, and every order in which parts, bodies and engines go.
#include "PhysicsTest.h"

#include "core/foundation/KVOError.h"
#include "physics/newton/Newton.h"
#include "physics/newton/NewtonWorld.h"

#include "support/ErrorOf.h"

#include <cmath>
#include <limits>
#include <memory>

namespace
{

using PhysicalEntityTest = CPhysicsTest;

size_t LiveBodies(const CPhysicsEngine& engine)
{
    return engine.GetWorld()->LiveBodies().size();
}

} // namespace

TEST(PhysicalEntityPartTest, DefaultsAndClamps)
{
    CPhysicalTestEntity entity;
    EXPECT_EQ(entity.GetMass(), -1.0f);
    EXPECT_EQ(entity.GetCollisionType(), CPhysicalEntity::kBox);
    EXPECT_EQ(entity.GetDetailLevel(), 5u);
    EXPECT_TRUE(entity.IsCollidable());
    EXPECT_EQ(entity.GetImpulseDamping(), 1.0f);
    EXPECT_EQ(entity.GetLinearDamping(), 0.1f);
    EXPECT_EQ(entity.GetAngularDamping().z, 0.1f);
    EXPECT_EQ(entity.GetCollisionPredictionSkewFactor().y, 1.5f);
    EXPECT_EQ(entity.GetCollisionPredictionSkewDampening().x, 0.9f);
    float linear = 0;
    float angular = 0;
    uint32_t frames = 0;
    EXPECT_TRUE(entity.GetThresholds(linear, angular, frames));
    EXPECT_EQ(linear, 0.1f);
    EXPECT_EQ(angular, 0.1f);
    EXPECT_EQ(frames, 10u);
    EXPECT_TRUE(entity.GetAutoDeactivation());

    const std::pair<float, float> dampings[] = {{-0.5f, 0.0f},
                                                {3.0f, 1.0f},
                                                {0.25f, 0.25f},
                                                {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                                                {std::numeric_limits<float>::infinity(), 1.0f}};
    for (const auto& [given, stored] : dampings)
    {
        entity.SetImpulseDamping(given);
        EXPECT_EQ(entity.GetImpulseDamping(), stored) << given;
    }

    // Without a body everything is stored only, and the motion reads as
    // none.
    entity.SetLinearDamping(0.7f);
    EXPECT_EQ(entity.GetLinearDamping(), 0.7f);
    entity.SetVelocity(CVector(1, 2, 3));
    CVector value;
    entity.GetVelocity(value);
    EXPECT_EQ(value.y, 2.0f);
    EXPECT_NEAR(entity.GetSpeed(), std::sqrt(14.0f), 1e-5f);
    EXPECT_EQ(entity.GetSpeedInDirection(CVector(0, 0, 1)), 3.0f);
    entity.GetForce(value);
    EXPECT_EQ(value.x, 0.0f);
    EXPECT_FALSE(entity.IsActive());
    EXPECT_TRUE(entity.GetCacheFilename().empty());
    entity.AddConstantForce(CVector(1, 0, 0));
    entity.AddConstantForce(CVector(1, 0, 0));
    EXPECT_EQ(entity.GetConstantForce().x, 2.0f);
    entity.StopMotion();
    EXPECT_EQ(entity.GetConstantForce().x, 0.0f);
    entity.GetVelocity(value);
    EXPECT_EQ(value.z, 0.0f);
}

TEST(PhysicalEntityPartTest, WhatNeedsABodySaysWhoHasNone)
{
    CPhysicalTestEntity entity("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    entity.SetName(L"crate \u00e9");
    const std::string who = " [crate \xc3\xa9,6ba7b810-9dad-11d1-80b4-00c04fd430c8]";
    EXPECT_EQ(ErrorOf([&] { entity.Deactivate(); }),
              "[CPhysicalEntity::Deactivate] Physical entity not intialised" + who);
    EXPECT_EQ(ErrorOf([&] { entity.AddImpulseForceOffset(CVector(1, 0, 0), CVector()); }),
              "[CPhysicalEntity::AddImpulseForceOffset] Physical entity not intialised" + who);
    EXPECT_EQ(ErrorOf([&] { entity.SaveToCache(L"/nonexistent"); }),
              "[CPhysicalEntity::SaveToCache] Physical entity not intialised" + who);
    EXPECT_EQ(ErrorOf([&] { entity.Clear(); }), "(no error)");
}

TEST_F(PhysicalEntityTest, SettingsReachTheBodyAndAreReadBack)
{
    CPhysicalTestEntity& entity = Add(2.0f, CVector(0, 5, 0));
    entity.SetLinearDamping(0.3f);
    EXPECT_EQ(NewtonBodyGetLinearDamping(entity.GetBody()), 0.3f);
    NewtonBodySetLinearDamping(entity.GetBody(), 0.6f);
    EXPECT_EQ(entity.GetLinearDamping(), 0.6f) << "read from the body";
    entity.SetAutoDeactivation(false);
    EXPECT_EQ(NewtonBodyGetAutoFreeze(entity.GetBody()), 0);
    entity.SetMomentOfInertia(CVector(1, 2, 3));
    EXPECT_EQ(entity.GetMomentOfInertia().z, 3.0f);

    // An offset push turns it; without gravity it keeps the spin.
    CPhysicsEngine::SetGravity(CVector());
    entity.AddImpulseForceOffset(CVector(0, 0, 1), CVector(0, 1, 0));
    EXPECT_GT(std::fabs(entity.GetOmega().x), 0.1f);

    // A static body keeps the inertia it was given: it has none to read.
    CPhysicalTestEntity& ground = AddGround();
    ground.SetMomentOfInertia(CVector(4, 4, 4));
    EXPECT_EQ(ground.GetMomentOfInertia().x, 4.0f);
}

TEST_F(PhysicalEntityTest, ACopyIsANewDetachedPart)
{
    CPhysicalTestEntity& original = Add(3.0f, CVector(0, 0.5f, 0));
    AddGround();
    original.MonitorCollisions(1);
    original.SetConstantTorque(CVector(0, 1, 0));
    Run(3);
    ASSERT_FALSE(original.GetContacts().empty());
    CPhysicalTestEntity copy(original);
    EXPECT_EQ(copy.GetEngine(), nullptr);
    EXPECT_EQ(copy.GetBody(), nullptr);
    EXPECT_TRUE(copy.GetContacts().empty());
    EXPECT_EQ(copy.GetMass(), 3.0f);
    EXPECT_EQ(copy.GetMonitorMode(), 1);
    EXPECT_EQ(copy.GetConstantTorque().y, 1.0f);
    EXPECT_EQ(copy.GetCollisionSize().x, 0.0f) << "the size comes with a body";

    // Assigning onto an attached part takes its body away.
    const size_t bodies = LiveBodies(engine);
    original = copy;
    EXPECT_EQ(original.GetBody(), nullptr);
    EXPECT_EQ(LiveBodies(engine), bodies - 1);
}

TEST_F(PhysicalEntityTest, ClearResetsThenRefusesWhileAttached)
{
    CPhysicalTestEntity& entity = Add(3.0f, CVector(0, 5, 0));
    entity.SetCollisionType(CPhysicalEntity::kSphere);
    entity.SetConstantForce(CVector(0, 50, 0));
    EXPECT_EQ(ErrorOf([&] { entity.Clear(); }),
              "[CPhysicalEntity::Clear] Physical entity cannot be released [test entity," +
                  std::string(entity.GetId()) + "]");
    EXPECT_EQ(entity.GetMass(), -1.0f);
    EXPECT_EQ(entity.GetCollisionType(), CPhysicalEntity::kBox);
    EXPECT_EQ(entity.GetConstantForce().y, 0.0f);
    engine.RemoveEntity(&entity);
    EXPECT_EQ(ErrorOf([&] { entity.Clear(); }), "(no error)");
}

TEST_F(PhysicalEntityTest, RefreshBuildsTheBodyWhereTheEntityStands)
{
    CPhysicalTestEntity& entity = Add(1.0f, CVector(0, 5, 0));
    NewtonBody* first = entity.GetBody();
    entity.SetScale(CVector(2, 2, 2)); // rebuilds the body
    EXPECT_NE(entity.GetBody(), nullptr);
    EXPECT_EQ(entity.GetEngine(), &engine);
    EXPECT_EQ(LiveBodies(engine), 1u) << "the old body is gone";
    (void)first;
    Run(1);
    EXPECT_NEAR(entity.GetPosition().y, 5.0f, 0.01f);
}

// Whatever goes first, the part, its body or the engine, nobody keeps a
// pointer to the other (run under the address sanitizer).
TEST_F(PhysicalEntityTest, APartThatGoesTakesItsBodyAlong)
{
    AddGround();
    auto entity = std::make_unique<CPhysicalTestEntity>();
    entity->SetMass(1.0f);
    entity->SetPosition(CVector(0, 0.5f, 0));
    engine.AddEntity(entity.get());
    entity->MonitorCollisions(2);
    Run(2);
    EXPECT_EQ(LiveBodies(engine), 2u);
    entity.reset();
    EXPECT_EQ(LiveBodies(engine), 1u);
    EXPECT_EQ(engine.GetParts().GetCount(), 1u);
    Run(5);
}

TEST_F(PhysicalEntityTest, DestroyAndASecondStartLetGoOfEveryPart)
{
    for (const bool restart : {false, true})
    {
        CPhysicalTestEntity& entity = Add(1.0f, CVector(0, 5, 0));
        entity.MonitorCollisions(1);
        if (restart)
            Init();
        else
            engine.Destroy();
        EXPECT_EQ(entity.GetBody(), nullptr);
        EXPECT_EQ(entity.GetEngine(), nullptr);
        EXPECT_FALSE(engine.IsMonitored(&entity));
        // The part works on, storing only.
        entity.SetVelocity(CVector(1, 0, 0));
        entity.SetLinearDamping(0.2f);
        entity.Activate();
        EXPECT_FALSE(entity.IsActive());
        EXPECT_EQ(entity.GetLinearDamping(), 0.2f);
        Init();
        engine.AddEntity(&entity);
        EXPECT_NE(entity.GetBody(), nullptr);
        CVector velocity;
        entity.GetVelocity(velocity);
        EXPECT_EQ(velocity.x, 1.0f) << "a new body starts with the stored motion";
    }
}

TEST(PhysicalEntityLifetimeTest, AnEngineThatGoesLetsGoOfItsParts)
{
    CPhysicalTestEntity entity;
    entity.SetMass(1.0f);
    {
        Simulation::CSimulationManager manager;
        CPhysicsEngine engine(&manager);
        ASSERT_TRUE(engine.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
        engine.AddEntity(&entity);
        entity.MonitorCollisions(1);
        ASSERT_NE(entity.GetBody(), nullptr);
    }
    EXPECT_EQ(entity.GetBody(), nullptr);
    EXPECT_EQ(entity.GetEngine(), nullptr);
    entity.SetOmega(CVector(0, 1, 0));
    entity.SetThresholds(0.2f, 0.2f, 5);
    EXPECT_FALSE(entity.IsActive());
}

// A part that makes another go as its body moves (a script deleting an
// entity from a reaction inside the step).
TEST_F(PhysicalEntityTest, PartsMayGoWhileTheWorldSteps)
{
    class CDestroyer : public CPhysicalTestEntity
    {
    public:
        void OnBodyMoved(const CVector& position, const CVector& rotation, const CVector& diagonal) override
        {
            CPhysicalTestEntity::OnBodyMoved(position, rotation, diagonal);
            victim.reset();
        }
        std::unique_ptr<CPhysicalTestEntity> victim;
    };
    AddGround();
    CDestroyer destroyer;
    destroyer.SetMass(1.0f);
    destroyer.SetPosition(CVector(0, 3, 0));
    destroyer.victim = std::make_unique<CPhysicalTestEntity>();
    destroyer.victim->SetMass(1.0f);
    destroyer.victim->SetPosition(CVector(0.2f, 1.0f, 0));
    destroyer.victim->MonitorCollisions(1);
    engine.AddEntity(destroyer.victim.get());
    engine.AddEntity(&destroyer);
    Run(60);
    EXPECT_EQ(destroyer.victim, nullptr);
    EXPECT_EQ(LiveBodies(engine), 2u);
    engine.RemoveEntity(&destroyer);
}

// Another kind of part on the engine's links (a stand-in of a test) is let
// go of like any part, and its memory is never read as a physical part's.
TEST_F(PhysicalEntityTest, PartsOfOtherKindsMayJoinTheLinks)
{
    struct SStandIn
    {
        void Released() { ++releases; }
        int releases = 0;
        CPhysicsLink link{this, &Misc::World::CPartRelease<&SStandIn::Released>::Call};
    };
    SStandIn first;
    auto second = std::make_unique<SStandIn>();
    first.link.Attach(engine.GetParts());
    second->link.Attach(engine.GetParts());
    Add(1.0f, CVector(0, 5, 0));
    second.reset();
    EXPECT_EQ(engine.GetParts().GetCount(), 2u);
    engine.Destroy();
    EXPECT_EQ(first.releases, 1);
    EXPECT_FALSE(first.link.IsAttached());
}

// Values no sane caller gives (scripts and files can) reach every setter of
// a part with a body, and of one whose body is built from them; the world
// steps on, and the rest of it keeps finite positions.
TEST_F(PhysicalEntityTest, HostileValuesNeverBreakTheWorld)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    AddGround();
    CPhysicalTestEntity& bystander = Add(1.0f, CVector(30, 2, 0));
    for (const float value : {nan, inf, -inf, 1e30f, -1e30f, -1.0f, 0.0f, 4294967296.0f})
    {
        const CVector v(value, value, value);
        CPhysicalTestEntity& entity = Add(1.0f, CVector(0, 2, 0));
        entity.SetLinearDamping(value);
        entity.SetAngularDamping(v);
        entity.SetCentreOfMass(v);
        entity.SetMomentOfInertia(v);
        entity.SetVelocity(v);
        entity.SetOmega(v);
        entity.SetThresholds(value, value, 4294967295u);
        entity.SetConstantVelocity(v);
        entity.SetConstantOmega(v);
        entity.SetImpulseForce(v);
        entity.SetImpulseTorque(v);
        entity.SetConstantForce(v);
        entity.SetConstantTorque(v);
        entity.SetBuoyancyParams(v);
        entity.EnableCollisionPrediction(true, v, v, v);
        entity.AddImpulseForceOffset(v, v);
        entity.SetPosition(v);
        entity.SetRotation(v);
        Run(3);
        float linear = 0.0f;
        float angular = 0.0f;
        uint32_t frames = 0;
        entity.GetThresholds(linear, angular, frames);

        // A body built from such a mass, shape and placement.
        CPhysicalTestEntity& built = Add(value, v, v);
        built.SetScale(v);
        built.Refresh();
        Run(3);
        EXPECT_TRUE(std::isfinite(bystander.GetPosition().y)) << value;
    }
}
