// Joints in a running world: limits, motors, springs, cones, gears and
// pulleys, fixed joints, contacts between jointed bodies, and a long chain.
#include "PhysicsTest.h"

#include "physics/Joint.h"
#include "physics/JointMath.h"
#include "physics/newton/Newton.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace JointMath;

namespace
{

using JointBehaviourTest = CPhysicsTest;

constexpr float kDegrees = 57.29578f;

CVector Omega(CPhysicalEntity& entity)
{
    return entity.GetOmega();
}

CVector Velocity(CPhysicalEntity& entity)
{
    CVector velocity;
    entity.GetVelocity(velocity);
    return velocity;
}

// The point given in the body's frame, in the world.
CVector WorldPoint(const CPhysicalEntity& entity, const CVector& local)
{
    float m[16];
    NewtonBodyGetMatrix(entity.GetBody(), m);
    return CVector(local.x * m[0] + local.y * m[4] + local.z * m[8] + m[12],
                   local.x * m[1] + local.y * m[5] + local.z * m[9] + m[13],
                   local.x * m[2] + local.y * m[6] + local.z * m[10] + m[14]);
}

float Length(const CVector& v)
{
    return std::sqrt(Dot(v, v));
}

} // namespace

// A pendulum with limits of +-45 degrees, started fast enough for 57:
// it stops at a limit and swings back rather than sticking there.
TEST_F(JointBehaviourTest, HingeSwingsBackFromItsLimit)
{
    CPhysicalTestEntity& bob = Add(1.0f, CVector(0, 3, 0), CVector(0.3f, 0.3f, 0.3f));
    ASSERT_NE(
        engine.CreateJointHingeLimited("hinge", CVector(0, 5, 0), CVector(0, 0, 1), &bob, nullptr, -45, 45),
        nullptr);
    bob.SetVelocity(CVector(4.2f, 0, 0));
    float highest = 0;
    float lowestAfterLimit = 90;
    for (int step = 0; step < 200; ++step)
    {
        Run(1);
        const CVector arm = Subtract(bob.GetPosition(), CVector(0, 5, 0));
        const float angle = std::fabs(std::atan2(arm.x, -arm.y) * kDegrees);
        highest = std::max(highest, angle);
        if (highest > 40)
            lowestAfterLimit = std::min(lowestAfterLimit, angle);
    }
    EXPECT_GT(highest, 40.0f);
    EXPECT_LT(highest, 50.0f) << "held at the limit";
    EXPECT_LT(lowestAfterLimit, 10.0f) << "swung back through the middle";
}

// A wheel on an upright pin, driven by a motor of acceleration 10 with
// damping 5: it settles near 10 / 5 = 2 radians a second.
TEST_F(JointBehaviourTest, MotorReachesItsSpeed)
{
    CPhysicalTestEntity& wheel = Add(1.0f, CVector(0, 2, 0));
    CJoint* hinge = engine.CreateJointHinge("motor", CVector(0, 2, 0), CVector(0, 1, 0), &wheel, nullptr);
    ASSERT_NE(hinge, nullptr);
    hinge->SetJointMotor(10, 5);
    Run(120);
    EXPECT_NEAR(std::fabs(Omega(wheel).y), 2.0f, 0.2f);
    EXPECT_NEAR(wheel.GetPosition().y, 2.0f, 0.05f);
}

// An upright slider between -1 and 1: the box falls to its lower stop.
TEST_F(JointBehaviourTest, SliderStaysWithinItsLimits)
{
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 5, 0));
    ASSERT_NE(
        engine.CreateJointSliderLimited("slider", CVector(0, 5, 0), CVector(0, 1, 0), &box, nullptr, -1, 1),
        nullptr);
    float lowest = 5;
    for (int step = 0; step < 120; ++step)
    {
        Run(1);
        lowest = std::min(lowest, box.GetPosition().y);
    }
    EXPECT_GT(lowest, 3.8f);
    EXPECT_NEAR(box.GetPosition().y, 4.0f, 0.1f);
    EXPECT_NEAR(box.GetPosition().x, 0.0f, 0.01f);
}

// A level spring pulled out and let go comes back to the length it was
// made at (gravity is across it).
TEST_F(JointBehaviourTest, SpringRestsAtItsLength)
{
    CPhysicalTestEntity& box = Add(1.0f, CVector(2, 5, 0));
    CJoint* spring = engine.CreateJointSpring("spring", CVector(2, 5, 0), CVector(1, 0, 0), &box, nullptr, -3,
                                              3, 0.9f, 40, 8);
    ASSERT_NE(spring, nullptr);
    box.SetVelocity(CVector(4, 0, 0));
    Run(20);
    EXPECT_GT(box.GetPosition().x, 2.2f) << "stretched";
    Run(240);
    EXPECT_NEAR(box.GetPosition().x, 2.0f, 0.05f);
    EXPECT_NEAR(box.GetPosition().y, 5.0f, 0.05f);
}

// A ball and socket with a 30-degree cone, its pivot far from the origin:
// pushed sideways, the arm stays inside the cone around its start.
TEST_F(JointBehaviourTest, ConeHoldsAwayFromTheOrigin)
{
    const CVector pivot(10, 5, 0);
    CPhysicalTestEntity& bob = Add(1.0f, CVector(10, 3, 0), CVector(0.3f, 0.3f, 0.3f));
    ASSERT_NE(engine.CreateJointBallAndSocketLimited("cone", pivot, &bob, nullptr, 30, CVector()), nullptr);
    CPhysicsEngine::SetGravity(CVector());
    bob.SetVelocity(CVector(3, 0, 2));
    float widest = 0;
    for (int step = 0; step < 150; ++step)
    {
        Run(1);
        const CVector arm = Subtract(bob.GetPosition(), pivot);
        widest = std::max(widest, std::acos(std::clamp(-arm.y / Length(arm), -1.0f, 1.0f)) * kDegrees);
        EXPECT_NEAR(Length(arm), 2.0f, 0.1f);
    }
    EXPECT_GT(widest, 20.0f) << "it swung";
    EXPECT_LT(widest, 42.0f);
}

// Two wheels on upright hinges to the world, geared (or two boxes on level
// sliders, on a pulley): the child follows the driven parent at -ratio.
TEST_F(JointBehaviourTest, GearAndPulleyFollowTheirRatio)
{
    CPhysicsEngine::SetGravity(CVector());
    for (const bool gear : {true, false})
        for (const float ratio : {1.0f, 2.0f})
        {
            SCOPED_TRACE(std::string(gear ? "gear " : "pulley ") + std::to_string(ratio));
            CPhysicalTestEntity& child = Add(1.0f, CVector(0, 2, 0));
            CPhysicalTestEntity& parent = Add(1.0f, CVector(3, 2, 0));
            const CVector axis = gear ? CVector(0, 1, 0) : CVector(1, 0, 0);
            if (gear)
            {
                engine.CreateJointHinge("child axle", child.GetPosition(), axis, &child, nullptr);
                engine.CreateJointHinge("parent axle", parent.GetPosition(), axis, &parent, nullptr);
                ASSERT_NE(engine.CreateJointGear("coupling", axis, axis, &child, &parent, ratio), nullptr);
                parent.SetConstantOmega(CVector(0, 1, 0));
            }
            else
            {
                engine.CreateJointSlider("child rail", child.GetPosition(), axis, &child, nullptr);
                engine.CreateJointSlider("parent rail", parent.GetPosition(), axis, &parent, nullptr);
                ASSERT_NE(engine.CreateJointPulley("coupling", axis, axis, &child, &parent, ratio), nullptr);
                parent.SetConstantVelocity(CVector(0.5f, 0, 0));
            }
            Run(30);
            const float driven = gear ? Omega(parent).y : Velocity(parent).x;
            const float follower = gear ? Omega(child).y : Velocity(child).x;
            ASSERT_GT(std::fabs(driven), 0.1f);
            EXPECT_NEAR(follower / driven, -ratio, 0.1f * ratio);
            engine.RemoveEntity(&child);
            engine.RemoveEntity(&parent);
            EXPECT_TRUE(engine.GetJoints().empty());
        }
}

TEST_F(JointBehaviourTest, FixedJointHolds)
{
    CPhysicalTestEntity& anchor = Add(5.0f, CVector(0, 5, 0));
    CPhysicalTestEntity& box = Add(1.0f, CVector(1.5f, 5, 0));
    ASSERT_NE(engine.CreateJointFixed("anchor", &anchor, nullptr), nullptr);
    ASSERT_NE(engine.CreateJointFixed("box", &box, &anchor), nullptr);
    Run(120);
    EXPECT_NEAR(anchor.GetPosition().y, 5.0f, 0.05f);
    EXPECT_NEAR(box.GetPosition().x, 1.5f, 0.05f);
    EXPECT_NEAR(box.GetPosition().y, 5.0f, 0.1f);
    EXPECT_LT(Length(Omega(box)), 0.1f);
}

// Overlapping boxes on a hinge: their contacts are off, so they do not push
// each other apart; switched on, they do.
TEST_F(JointBehaviourTest, JointedBodiesDoNotCollideUnlessAsked)
{
    CPhysicsEngine::SetGravity(CVector());
    CPhysicalTestEntity& parent = Add(1.0f, CVector(0, 5, 0));
    CPhysicalTestEntity& child = Add(1.0f, CVector(0.6f, 5, 0));
    parent.SetAutoDeactivation(false);
    child.SetAutoDeactivation(false);
    CJoint* hinge = engine.CreateJointHinge("hinge", CVector(0.3f, 5, 0), CVector(0, 0, 1), &child, &parent);
    ASSERT_NE(hinge, nullptr);
    EXPECT_FALSE(hinge->IsCollidable());
    Run(30);
    EXPECT_LT(Length(Velocity(child)), 0.2f);
    hinge->SetCollidable(true);
    EXPECT_TRUE(hinge->IsCollidable());
    float fastest = 0;
    for (int step = 0; step < 30; ++step)
    {
        Run(1);
        fastest = std::max(fastest, Length(Velocity(child)));
    }
    EXPECT_GT(fastest, 0.2f) << "the contacts fight the joint";
}

// Fifty links hinged end to end from the world swing down as a chain.
TEST_F(JointBehaviourTest, LongChainStaysTogether)
{
    constexpr int kLinks = 50;
    std::vector<CPhysicalTestEntity*> links;
    for (int i = 0; i < kLinks; ++i)
    {
        links.push_back(&Add(1.0f, CVector(i + 0.5f, 10, 0), CVector(0.8f, 0.2f, 0.2f)));
        CPhysicalEntity* parent = i > 0 ? links[i - 1] : nullptr;
        ASSERT_NE(engine.CreateJointHinge("link " + std::to_string(i), CVector(float(i), 10, 0),
                                          CVector(0, 0, 1), links[i], parent),
                  nullptr);
    }
    float worstGap = 0;
    for (int step = 0; step < 120; ++step)
    {
        Run(1);
        for (int i = 1; i < kLinks; ++i)
        {
            const CVector end = WorldPoint(*links[i - 1], CVector(0.5f, 0, 0));
            const CVector start = WorldPoint(*links[i], CVector(-0.5f, 0, 0));
            worstGap = std::max(worstGap, Length(Subtract(end, start)));
        }
    }
    EXPECT_LT(links.back()->GetPosition().y, 5.0f) << "it swung down";
    EXPECT_LT(worstGap, 0.3f);
}

// Ten seconds at 60 Hz. A fixed joint without a parent holds its child to
// the world (whose pivot is the origin), wherever in a level the child is;
// a hinge holds its child on a long arm, as a door on an upright pin (the
// arm's weight on the pin) and as a pendulum swinging from level. Neither
// moves the point it holds by a centimetre.
TEST_F(JointBehaviourTest, JointsHoldFarFromTheOriginAndOnLongArms)
{
    struct SCase
    {
        const char* what;
        CVector child;
        bool hinge;
        CVector pivot;
        CVector pin;
    };
    const SCase cases[] = {
        {"fixed 5 m out", CVector(0, 0, 5), false, CVector(), CVector()},
        {"fixed 10 m out", CVector(10, 0, 0), false, CVector(), CVector()},
        {"fixed 32 m out", CVector(30, 10, 0), false, CVector(), CVector()},
        {"fixed 100 m out", CVector(100, 0, 0), false, CVector(), CVector()},
        {"fixed 100 m out, below", CVector(0, -60, -80), false, CVector(), CVector()},
        {"door on a 10 m arm", CVector(0, 10, 60), true, CVector(0, 10, 50), CVector(0, 1, 0)},
        {"pendulum on a 10 m arm", CVector(0, 10, 60), true, CVector(0, 10, 50), CVector(1, 0, 0)},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.what);
        entities.clear();
        Init();
        CPhysicalTestEntity& child = Add(1.0f, test.child);
        child.SetAutoDeactivation(false);
        // The point held: the child's centre, or the pivot on the child.
        const CVector held = test.hinge ? test.pivot : test.child;
        const CVector local = Subtract(held, test.child);
        ASSERT_NE(test.hinge ? engine.CreateJointHinge("joint", test.pivot, test.pin, &child, nullptr)
                             : engine.CreateJointFixed("joint", &child, nullptr),
                  nullptr);
        float worst = 0.0f;
        float lowest = test.child.y;
        for (int step = 0; step < 625; ++step)
        {
            Run(1);
            worst = std::max(worst, Length(Subtract(WorldPoint(child, local), held)));
            lowest = std::min(lowest, child.GetPosition().y);
        }
        EXPECT_LT(worst, 0.01f);
        if (test.pin.x != 0.0f)
        {
            EXPECT_LT(lowest, test.child.y - 9.0f) << "the pendulum swung down";
        }
    }
}
