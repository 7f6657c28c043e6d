// Bodies of physical entities: their shapes and mass classes, and what the
// engine applies every step (gravity, impulses, buoyancy, constant motion,
// collision prediction), the moves reported back and sleeping.
#include "PhysicsTest.h"

#include "core/events/Multicast.h"
#include "physics/newton/Newton.h"

#include "support/EventListener.h"

#include <cmath>
#include <vector>

using namespace Misc::Multicast;

namespace
{

using PhysicsBodiesTest = CPhysicsTest;

float LayerMass(const CPhysicalEntity& entity)
{
    float mass = 0.0f;
    float ixx;
    float iyy;
    float izz;
    NewtonBodyGetMassMatrix(entity.GetBody(), &mass, &ixx, &iyy, &izz);
    return mass;
}

using CActivations = CEventListener<Kind::Activated>;

} // namespace

TEST_F(PhysicsBodiesTest, TheMassDecidesWhetherAndWhichBody)
{
    ASSERT_TRUE(engine.Init(0, 0, 0.6f, 0.5f, 0.0f, 1.0f, 100.0f, false, 60, true));
    CPhysicalTestEntity& below = Add(0.5f, CVector(0, 5, 0));
    CPhysicalTestEntity& minimum = Add(1.0f, CVector(3, 5, 0));
    CPhysicalTestEntity& maximum = Add(100.0f, CVector(6, 5, 0));
    EXPECT_EQ(below.GetBody(), nullptr);
    EXPECT_EQ(below.GetEngine(), nullptr);
    ASSERT_NE(minimum.GetBody(), nullptr);
    EXPECT_EQ(minimum.GetEngine(), &engine);
    EXPECT_EQ(LayerMass(minimum), 1.0f);
    ASSERT_NE(maximum.GetBody(), nullptr);
    EXPECT_EQ(LayerMass(maximum), 0.0f) << "a static body";
    EXPECT_EQ(engine.GetParts().GetCount(), 2u);
    // Below the minimum an existing body is left alone.
    minimum.SetMass(0.5f);
    engine.AddEntity(&minimum);
    EXPECT_NE(minimum.GetBody(), nullptr);
    Run(30);
    EXPECT_LT(minimum.GetPosition().y, 5.0f);
    EXPECT_EQ(maximum.GetPosition().y, 5.0f);
}

TEST_F(PhysicsBodiesTest, ABoxFallsOntoAMeshAndRests)
{
    AddGround();
    CPhysicalTestEntity& box = Add(2.0f, CVector(1, 3, -2));
    Run(150);
    EXPECT_NEAR(box.GetPosition().y, 0.5f, 0.01f);
    EXPECT_NEAR(box.GetPosition().x, 1.0f, 0.01f);
    EXPECT_NEAR(box.GetRotation().x, 0.0f, 0.5f);
    EXPECT_GT(box.moves, 0);
    // Its settings reached the body once, as it was built.
    EXPECT_EQ(box.updates, 1);
    // The world took it in.
    EXPECT_LE(engine.GetWorldMin().y, 2.5f);
    EXPECT_GE(engine.GetWorldMax().y, 3.5f);
}

TEST_F(PhysicsBodiesTest, AutomaticInertiaIsForTheWholeMass)
{
    CPhysicalTestEntity& automatic = Add(10.0f, CVector(0, 5, 0), CVector(1, 2, 1));
    EXPECT_NEAR(automatic.GetMomentOfInertia().x, 10.0f * (4.0f + 1.0f) / 12.0f, 1e-4f);
    EXPECT_NEAR(automatic.GetMomentOfInertia().y, 10.0f * (1.0f + 1.0f) / 12.0f, 1e-4f);
    EXPECT_EQ(automatic.GetCentreOfMass().y, 0.0f);

    entities.push_back(std::make_unique<CPhysicalTestEntity>());
    CPhysicalTestEntity& given = *entities.back();
    given.SetMass(10.0f);
    given.SetMomentOfInertia(CVector(1, 0, 0));
    engine.AddEntity(&given);
    EXPECT_EQ(given.GetMomentOfInertia().x, 1.0f);
    EXPECT_EQ(given.GetMomentOfInertia().y, 0.0f) << "one value given: none is computed";
}

TEST_F(PhysicsBodiesTest, AHullStandsOnItsOwnBottom)
{
    // A mesh whose box sits above the entity's origin: the hull must be
    // placed around that centre once, not twice.
    AddGround();
    for (const int32_t shape :
         {CPhysicalEntity::kBox, CPhysicalEntity::kConvexHull, CPhysicalEntity::kSphere})
    {
        entities.push_back(std::make_unique<CPhysicalTestEntity>());
        CPhysicalTestEntity& entity = *entities.back();
        entity.SetBox(CVector(1, 1, 1), CVector(0, 0.5f, 0));
        entity.SetCollisionType(shape);
        entity.SetMass(1.0f);
        entity.SetPosition(CVector(3.0f * float(shape), 1, 0));
        engine.AddEntity(&entity);
        EXPECT_EQ(entity.GetCollisionCentre().y, 0.5f);
    }
    Run(120);
    for (size_t i = 1; i < entities.size(); ++i)
        EXPECT_NEAR(entities[i]->GetPosition().y, 0.0f, 0.02f) << "shape " << entities[i]->GetCollisionType();

    // A hull without vertices is a box.
    entities.push_back(std::make_unique<CPhysicalTestEntity>());
    CPhysicalTestEntity& empty = *entities.back();
    empty.triangles.clear();
    empty.SetCollisionType(CPhysicalEntity::kConvexHull);
    empty.SetMass(1.0f);
    engine.AddEntity(&empty);
    EXPECT_EQ(empty.GetCollisionType(), CPhysicalEntity::kBox);
    EXPECT_NE(empty.GetBody(), nullptr);
}

TEST_F(PhysicsBodiesTest, RotationsRoundTripThroughTheBody)
{
    CPhysicsEngine::SetGravity(CVector());
    const CVector rotations[] = {CVector(30, 45, 60), CVector(-20, 10, 170), CVector(0, 0, 0),
                                 CVector(5, -80, 0)};
    for (const CVector& rotation : rotations)
    {
        CPhysicalTestEntity& entity = Add(1.0f, CVector(0, 0, 0));
        entity.SetRotation(rotation);
        const int moves = entity.moves;
        Run(1);
        ASSERT_GT(entity.moves, moves);
        EXPECT_NEAR(entity.GetRotation().x, rotation.x, 1e-3f);
        EXPECT_NEAR(entity.GetRotation().y, rotation.y, 1e-3f);
        EXPECT_NEAR(entity.GetRotation().z, rotation.z, 1e-3f);
        engine.RemoveEntity(&entity);
    }
}

TEST_F(PhysicsBodiesTest, ForcesOfAStep)
{
    CPhysicalTestEntity& entity = Add(2.0f, CVector(0, 50, 0));
    Run(1);
    CVector force;
    entity.GetForce(force);
    EXPECT_NEAR(force.y, -19.6f, 1e-4f) << "mass x gravity";

    // An impulse of 10 with damping 0.5: 5, then 2.5, then 1.25.
    CPhysicsEngine::SetGravity(CVector());
    entity.SetImpulseDamping(0.5f);
    entity.SetImpulseForce(CVector(10, 0, 0));
    entity.SetImpulseTorque(CVector(0, 0, 4));
    for (const float expected : {5.0f, 2.5f, 1.25f})
    {
        Run(1);
        entity.GetForce(force);
        EXPECT_NEAR(force.x, expected, 1e-5f);
        EXPECT_NEAR(entity.GetImpulseForce().x, expected, 1e-5f);
    }
    CVector torque;
    entity.GetTorque(torque);
    EXPECT_NEAR(torque.z, 0.5f, 1e-5f);

    // With the default damping an impulse acts for one step.
    entity.SetImpulseDamping(1.0f);
    entity.SetImpulseForce(CVector(0, 3, 0));
    Run(1);
    entity.GetForce(force);
    EXPECT_NEAR(force.y, 3.0f, 1e-5f);
    EXPECT_EQ(entity.GetImpulseForce().y, 0.0f);
    Run(1);
    entity.GetForce(force);
    EXPECT_EQ(force.y, 0.0f);
}

TEST_F(PhysicsBodiesTest, BuoyancyLiftsOnlyWhatIsLighterThanItsFluid)
{
    // 1 m3 boxes in a fluid of density 2: a mass of 10 sinks, a mass of 1
    // rises (the whole box counts as immersed: there is no surface).
    CPhysicalTestEntity& heavy = Add(10.0f, CVector(0, 0, 0));
    CPhysicalTestEntity& light = Add(1.0f, CVector(5, 0, 0));
    heavy.SetBuoyancyParams(CVector(2, 0, 0));
    light.SetBuoyancyParams(CVector(2, 0, 0));
    Run(30);
    EXPECT_LT(heavy.GetPosition().y, -0.5f);
    EXPECT_GT(light.GetPosition().y, 0.5f);
}

TEST_F(PhysicsBodiesTest, ConstantVelocityKeepsABodyGoing)
{
    // Friction stops a pushed box; one with a constant velocity slides on
    // (each step starts at that velocity, contacts act within it).
    AddGround();
    CPhysicalTestEntity& pushed = Add(1.0f, CVector(0, 0.5f, 0));
    CPhysicalTestEntity& driven = Add(1.0f, CVector(0, 0.5f, 5));
    pushed.SetVelocity(CVector(1, 0, 0));
    driven.SetConstantVelocity(CVector(1, 0, 0));
    Run(62);
    CVector velocity;
    pushed.GetVelocity(velocity);
    EXPECT_NEAR(velocity.x, 0.0f, 0.01f);
    driven.GetVelocity(velocity);
    EXPECT_GT(velocity.x, 0.85f);
    EXPECT_GT(driven.GetPosition().x, 0.85f);
}

TEST_F(PhysicsBodiesTest, CollisionPredictionStretchesOnlyPastAThreshold)
{
    CPhysicsEngine::SetGravity(CVector());
    // A threshold of 0 is never exceeded: the shape keeps its size.
    CPhysicalTestEntity& still = Add(1.0f, CVector(0, 0, 0));
    still.EnableCollisionPrediction(true, CVector(), CVector(1.5f, 1.5f, 1.5f), CVector(0.9f, 0.9f, 0.9f));
    engine.AddEntity(&still);
    still.SetVelocity(CVector(0, 0, 50));
    // Fast along z past a threshold of a tenth of its size.
    CPhysicalTestEntity& fast = Add(1.0f, CVector(10, 0, 0));
    fast.EnableCollisionPrediction(true, CVector(0.1f, 0.1f, 0.1f), CVector(1.5f, 1.5f, 1.5f),
                                   CVector(0.5f, 0.5f, 0.5f));
    engine.AddEntity(&fast);
    fast.SetVelocity(CVector(0, 0, 50));
    Run(1);
    EXPECT_EQ(still.GetCollisionPredictionSkew().z, 1.0f);
    EXPECT_TRUE(std::isfinite(still.GetPosition().z));
    const float skew = fast.GetCollisionPredictionSkew().z;
    EXPECT_NEAR(skew, 50.0f * 0.016f / 0.1f * 1.5f, 0.1f);
    EXPECT_EQ(fast.GetCollisionPredictionSkew().x, 1.0f);
    // Stopped, it relaxes back towards 1 by the dampening.
    fast.SetVelocity(CVector());
    Run(1);
    EXPECT_NEAR(fast.GetCollisionPredictionSkew().z, (skew - 1.0f) * 0.5f + 1.0f, 1e-4f);
}

TEST_F(PhysicsBodiesTest, BodiesSleepAndWakeWithEvents)
{
    AddGround();
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 0.5f, 0));
    box.SetThresholds(0.2f, 0.3f, 10);
    float linear2 = 0.0f;
    float angular2 = 0.0f;
    int frames = 0;
    NewtonBodyGetFreezeTreshold(box.GetBody(), &linear2, &angular2, &frames);
    EXPECT_NEAR(linear2, 0.04f, 1e-6f) << "the body compares squared speeds";
    EXPECT_NEAR(angular2, 0.09f, 1e-6f);
    EXPECT_EQ(frames, 10);
    float linear = 0.0f;
    float angular = 0.0f;
    uint32_t count = 0;
    EXPECT_TRUE(box.GetThresholds(linear, angular, count));
    EXPECT_NEAR(linear, 0.2f, 1e-6f);
    EXPECT_NEAR(angular, 0.3f, 1e-6f);
    EXPECT_EQ(count, 10u);

    CActivations activations;
    // Resting, it sleeps after its ten quiet frames; the event follows at
    // the next step.
    Run(9);
    EXPECT_TRUE(box.IsActive());
    Run(1);
    EXPECT_FALSE(box.IsActive());
    EXPECT_TRUE(activations.events.empty());
    Run(1);
    ASSERT_EQ(activations.events.size(), 1u);
    EXPECT_EQ(activations.events[0].id, box.GetId());
    EXPECT_FALSE(activations.events[0].activated);

    box.AddImpulseForce(CVector(0, 100, 0));
    EXPECT_TRUE(box.IsActive());
    Run(2);
    ASSERT_EQ(activations.events.size(), 2u);
    EXPECT_TRUE(activations.events[1].activated);

    // Without sleeping it stays awake; Deactivate puts it to sleep at once.
    box.SetAutoDeactivation(false);
    Run(60);
    EXPECT_TRUE(box.IsActive());
    box.Deactivate();
    EXPECT_FALSE(box.IsActive());
}

// Balls (radius 0.5) of an elasticity-1 type dropped on an elasticity-1
// floor without damping, and balls and boxes (one whose mesh is off its
// origin) thrown down at 10 m/s, at 60 Hz: no rebound rises above its drop
// (less elastic, less high), and nothing sinks a centimetre into the floor,
// wherever within a step it meets the floor.
TEST_F(PhysicsBodiesTest, BouncesGainNoEnergyAndBodiesDoNotSinkIn)
{
    struct SCase
    {
        const char* what;
        float elasticity;
        float height;
        float speed;
        int32_t shape;
        float centre;
        float lowestRatio;
        float highestRatio;
    };
    std::vector<SCase> cases = {
        {"elastic ball from 3.1 m", 1.0f, 3.1f, 0.0f, CPhysicalEntity::kSphere, 0.0f, 0.8f, 1.01f},
        {"elastic ball from 3.3 m", 1.0f, 3.3f, 0.0f, CPhysicalEntity::kSphere, 0.0f, 0.8f, 1.01f},
        {"elastic ball from 3.5 m", 1.0f, 3.5f, 0.0f, CPhysicalEntity::kSphere, 0.0f, 0.8f, 1.01f},
        {"elastic box from 3.4 m", 1.0f, 3.4f, 0.0f, CPhysicalEntity::kBox, 0.0f, 0.5f, 1.01f},
        {"half elastic ball from 3.2 m", 0.5f, 3.2f, 0.0f, CPhysicalEntity::kSphere, 0.0f, 0.1f, 0.5f},
    };
    // A tenth of 10 m/s x 16 ms apart: every phase of the step.
    for (int phase = 0; phase < 10; ++phase)
    {
        const float height = 1.5f + 0.0167f * phase;
        cases.push_back({"ball at 10 m/s", 0.0f, height, 10.0f, CPhysicalEntity::kSphere, 0.0f, 0.0f, 0.1f});
        cases.push_back({"box at 10 m/s", 0.0f, height, 10.0f, CPhysicalEntity::kBox, 0.0f, 0.0f, 0.1f});
        cases.push_back(
            {"box off its origin at 10 m/s", 0.0f, height, 10.0f, CPhysicalEntity::kBox, 0.3f, 0.0f, 0.1f});
    }
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(testing::Message() << test.what << ", bottom at " << test.height - 0.5f);
        entities.clear();
        Init();
        ASSERT_TRUE(engine.CreateType(L"bouncy", 0.6f, 0.5f, test.elasticity));
        CPhysicalTestEntity& floor = AddGround();
        floor.SetType(L"bouncy");
        engine.AddEntity(&floor);
        entities.push_back(std::make_unique<CPhysicalTestEntity>());
        CPhysicalTestEntity& body = *entities.back();
        body.SetBox(CVector(1, 1, 1), CVector(0, test.centre, 0));
        body.SetCollisionType(test.shape);
        body.SetType(L"bouncy");
        body.SetMass(1.0f);
        body.SetPosition(CVector(0, test.height - test.centre, 0));
        engine.AddEntity(&body);
        body.SetLinearDamping(0.0f);
        body.SetAngularDamping(CVector());
        body.SetVelocity(CVector(0, -test.speed, 0));
        // Heights of the bottom; the drop counts from where it would stop.
        const float drop = test.height - 0.5f + test.speed * test.speed / 19.6f;
        float lowest = test.height;
        float highestRebound = 0.0f;
        bool bounced = false;
        for (int step = 0; step < 312; ++step)
        {
            Run(1);
            const float bottom = body.GetPosition().y + test.centre - 0.5f;
            CVector velocity;
            body.GetVelocity(velocity);
            lowest = std::min(lowest, bottom);
            bounced = bounced || velocity.y > 0.0f;
            if (bounced)
                highestRebound = std::max(highestRebound, bottom);
        }
        EXPECT_GT(lowest, -0.01f) << "sank into the floor";
        EXPECT_LE(highestRebound / drop, test.highestRatio);
        EXPECT_GE(highestRebound / drop, test.lowestRatio);
    }
}

// A 0.1 m box (or ball) thrown at a static 0.2 m wall at 60 Hz: with
// collision prediction on it never reaches into the wall, however fast,
// tumbling or not, stretched by the prediction or not; with it off it is
// not looked after (at 200 m/s it goes through, as it always has).
TEST_F(PhysicsBodiesTest, PredictionKeepsFastBodiesOutOfWalls)
{
    CPhysicsEngine::SetGravity(CVector());
    struct SCase
    {
        float speed;
        bool predicted;
        float threshold;
        int32_t shape;
        CVector omega;
    };
    std::vector<SCase> cases;
    for (const float speed : {20.0f, 100.0f, 200.0f})
        for (const float threshold : {0.0f, 0.5f})
            for (const int32_t shape : {CPhysicalEntity::kBox, CPhysicalEntity::kSphere})
                for (const CVector& omega : {CVector(), CVector(0, 30, 20)})
                    cases.push_back({speed, true, threshold, shape, omega});
    cases.push_back({20.0f, false, 0.0f, CPhysicalEntity::kBox, CVector()});
    cases.push_back({200.0f, false, 0.0f, CPhysicalEntity::kBox, CVector()});
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << test.speed << " m/s, prediction " << test.predicted << " threshold " << test.threshold
                     << " shape " << test.shape << " spin " << test.omega.y);
        entities.clear();
        Init();
        Add(1000.0f, CVector(3, 0, 0), CVector(0.2f, 4, 4));
        entities.push_back(std::make_unique<CPhysicalTestEntity>());
        CPhysicalTestEntity& box = *entities.back();
        box.SetBox(CVector(0.1f, 0.1f, 0.1f));
        box.SetCollisionType(test.shape);
        box.SetMass(1.0f);
        box.SetPosition(CVector(0, 0.3f, 0.2f));
        const CVector threshold(test.threshold, test.threshold, test.threshold);
        box.EnableCollisionPrediction(test.predicted, threshold, CVector(1.5f, 1.5f, 1.5f),
                                      CVector(0.9f, 0.9f, 0.9f));
        engine.AddEntity(&box);
        box.SetVelocity(CVector(test.speed, 0, 0));
        box.SetOmega(test.omega);
        float furthest = 0.0f;
        for (int step = 0; step < 60; ++step)
        {
            Run(1);
            furthest = std::max(furthest, box.GetPosition().x);
        }
        // The wall's near face is at 2.9; the box's centre stays 5 cm off it.
        if (test.predicted)
        {
            EXPECT_LT(furthest, 2.9f) << "reached into the wall";
        }
        else if (test.speed >= 200.0f)
        {
            EXPECT_GT(box.GetPosition().x, 3.1f) << "prediction off costs nothing";
        }
        EXPECT_TRUE(std::isfinite(box.GetPosition().x));
    }
}

// A small constant force, torque, velocity or omega (each below the speeds
// a body sleeps at) keeps its body awake while it is set: it acts all along.
TEST_F(PhysicsBodiesTest, ConstantMotionKeepsItsBodyAwake)
{
    CPhysicsEngine::SetGravity(CVector());
    CPhysicalTestEntity& pushed = Add(1.0f, CVector(0, 0, 0));
    CPhysicalTestEntity& twisted = Add(1.0f, CVector(5, 0, 0));
    CPhysicalTestEntity& drifting = Add(1.0f, CVector(10, 0, 0));
    CPhysicalTestEntity& turning = Add(1.0f, CVector(15, 0, 0));
    for (CPhysicalTestEntity* entity : {&pushed, &twisted, &drifting, &turning})
    {
        entity->SetLinearDamping(0.0f);
        entity->SetAngularDamping(CVector());
    }
    pushed.SetConstantForce(CVector(0.01f, 0, 0));
    twisted.SetConstantTorque(CVector(0, 0.002f, 0));
    drifting.SetConstantVelocity(CVector(0.05f, 0, 0));
    turning.SetConstantOmega(CVector(0, 0.05f, 0));
    Run(250);
    for (CPhysicalTestEntity* entity : {&pushed, &twisted, &drifting, &turning})
        EXPECT_TRUE(entity->IsActive()) << entity->GetPosition().x;
    // Four seconds: 0.01 m/s^2 for 4 s moves 8 cm, 0.05 m/s moves 20 cm.
    EXPECT_GT(pushed.GetPosition().x, 0.07f);
    EXPECT_GT(drifting.GetPosition().x, 10.18f);
    EXPECT_GT(std::fabs(twisted.GetOmega().y), 0.04f);
    EXPECT_GT(std::fabs(turning.GetRotation().y), 10.0f) << "0.05 rad/s for 4 s is 11 degrees";
    // Unset, they may sleep again.
    for (CPhysicalTestEntity* entity : {&pushed, &twisted, &drifting, &turning})
        entity->StopMotion();
    Run(30);
    for (CPhysicalTestEntity* entity : {&pushed, &twisted, &drifting, &turning})
        EXPECT_FALSE(entity->IsActive());
}
