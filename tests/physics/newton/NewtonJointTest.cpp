// User joints: rows of every kind, their settings, forces and lifetime.
#include "NewtonTestWorld.h"

#include "physics/newton/UserJointRows.h"

#include <LinearMath/btTransform.h>

#include <vector>

using namespace NewtonTest;

namespace
{

constexpr float kPinLength = 50;

btTransform MatrixOf(const NewtonBody* body)
{
    if (!body)
        return btTransform::getIdentity();
    float m[16];
    NewtonBodyGetMatrix(body, m);
    btTransform t;
    t.setFromOpenGLMatrix(m);
    return t;
}

void Row(const NewtonJoint* joint, const btVector3& p0, const btVector3& p1, const btVector3& dir,
         float stiffness = 1)
{
    const float a[3] = {p0.x(), p0.y(), p0.z()};
    const float b[3] = {p1.x(), p1.y(), p1.z()};
    const float d[3] = {dir.x(), dir.y(), dir.z()};
    NewtonUserJointAddLinearRow(joint, a, b, d);
    NewtonUserJointSetRowStiffness(joint, stiffness);
}

// A hinge about a pin, built from five linear rows, with optional limits on
// the angle about the pin, a motor and a spring-held pendulum.
struct HingeJoint
{
    const NewtonBody* child = nullptr;
    const NewtonBody* parent = nullptr;
    btVector3 childPivot, parentPivot; // in each body's frame
    btVector3 childPin, parentPin, childUp, parentUp;
    bool limited = false;
    float minimum = 0;
    float maximum = 0;
    bool motor = false;
    float motorAcceleration = 0;
    float motorDamping = 0;
    int submits = 0;

    // The child's turn about the pin, from the parent's up to the child's.
    float Angle() const
    {
        const btTransform c = MatrixOf(child);
        const btTransform p = MatrixOf(parent);
        const btVector3 pin = p.getBasis() * parentPin;
        const btVector3 u0 = c.getBasis() * childUp;
        const btVector3 u1 = p.getBasis() * parentUp;
        return std::atan2(u1.cross(u0).dot(pin), u1.dot(u0));
    }

    static void Submit(const NewtonJoint* joint)
    {
        auto& h = *static_cast<HingeJoint*>(NewtonJointGetUserData(joint));
        ++h.submits;
        const btTransform c = MatrixOf(h.child);
        const btTransform p = MatrixOf(h.parent);
        const btVector3 p0 = c * h.childPivot;
        const btVector3 p1 = p * h.parentPivot;
        const btVector3 f0 = c.getBasis() * h.childPin;
        const btVector3 f1 = p.getBasis() * h.parentPin;
        btVector3 u1 = p.getBasis() * h.parentUp;
        const btVector3 r1 = f1.cross(u1);
        Row(joint, p0, p1, f1);
        Row(joint, p0, p1, u1);
        Row(joint, p0, p1, r1);
        Row(joint, p0 + f0 * kPinLength, p1 + f1 * kPinLength, u1);
        Row(joint, p0 + f0 * kPinLength, p1 + f1 * kPinLength, r1);
        const float pin[3] = {f1.x(), f1.y(), f1.z()};
        if (h.motor)
        {
            float w0[3] = {0, 0, 0}, w1[3] = {0, 0, 0};
            NewtonBodyGetOmega(h.child, w0);
            if (h.parent)
                NewtonBodyGetOmega(h.parent, w1);
            const float relative =
                (w0[0] - w1[0]) * pin[0] + (w0[1] - w1[1]) * pin[1] + (w0[2] - w1[2]) * pin[2];
            NewtonUserJointAddAngularRow(joint, 0, pin);
            NewtonUserJointSetRowAcceleration(joint, h.motorAcceleration - relative * h.motorDamping);
        }
        else if (h.limited)
        {
            const float angle = h.Angle();
            if (angle < h.minimum)
            {
                NewtonUserJointAddAngularRow(joint, h.minimum - angle, pin);
                NewtonUserJointSetRowStiffness(joint, 1);
                NewtonUserJointSetRowMinimumFriction(joint, 0);
            }
            else if (angle > h.maximum)
            {
                NewtonUserJointAddAngularRow(joint, h.maximum - angle, pin);
                NewtonUserJointSetRowStiffness(joint, 1);
                NewtonUserJointSetRowMaximumFriction(joint, 0);
            }
        }
    }
};

// Three rows holding a point of the child on a point of the world.
struct BallJoint
{
    const NewtonBody* child = nullptr;
    btVector3 childPivot{0, 0, 0};
    btVector3 worldPivot{0, 0, 0};
    bool springY = false;
    float springK = 0;
    float springD = 0;

    static void Submit(const NewtonJoint* joint)
    {
        auto& b = *static_cast<BallJoint*>(NewtonJointGetUserData(joint));
        const btVector3 p0 = MatrixOf(b.child) * b.childPivot;
        Row(joint, p0, b.worldPivot, btVector3(1, 0, 0));
        Row(joint, p0, b.worldPivot, btVector3(0, 1, 0));
        if (b.springY)
            NewtonUserJointSetRowSpringDamperAcceleration(joint, b.springK, b.springD);
        Row(joint, p0, b.worldPivot, btVector3(0, 0, 1));
    }
};

class NewtonJointTest : public World
{
protected:
    NewtonBody* FreeBox(float x, float y, float z, float mass = 1)
    {
        NewtonBody* body = Box(x, y, z, 1, mass);
        NewtonBodySetAutoFreeze(body, 0);
        NewtonBodySetLinearDamping(body, 0);
        const float none[3] = {0, 0, 0};
        NewtonBodySetAngularDamping(body, none);
        return body;
    }

    // A pendulum: a box whose centre is 1 from a pivot at the origin, turning
    // about the world's z axis.
    NewtonJoint* Pendulum(HingeJoint& hinge, NewtonBody*& body)
    {
        body = FreeBox(1, 0, 0);
        hinge.child = body;
        hinge.childPivot = btVector3(-1, 0, 0);
        hinge.parentPivot = btVector3(0, 0, 0);
        hinge.childPin = hinge.parentPin = btVector3(0, 0, 1);
        hinge.childUp = hinge.parentUp = btVector3(0, 1, 0);
        NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 6, HingeJoint::Submit, body, nullptr);
        NewtonJointSetUserData(joint, &hinge);
        return joint;
    }

    float PivotDrift(const HingeJoint& hinge)
    {
        return (MatrixOf(hinge.child) * hinge.childPivot - MatrixOf(hinge.parent) * hinge.parentPivot)
            .length();
    }
};

int g_destroyed = 0;
std::vector<void*> g_destroyedData;

void CountDestruction(const NewtonJoint* joint)
{
    ++g_destroyed;
    g_destroyedData.push_back(NewtonJointGetUserData(joint));
}

const NewtonWorld* g_world = nullptr;
const NewtonJoint* g_other = nullptr;

void DestroyOtherToo(const NewtonJoint* joint)
{
    CountDestruction(joint);
    NewtonDestroyJoint(g_world, joint); // itself again: ignored
    if (g_other)
        NewtonDestroyJoint(g_world, g_other);
}

void TooManyRows(const NewtonJoint* joint)
{
    const float p[3] = {0, 0, 0};
    const float d[3] = {1, 0, 0};
    for (int i = 0; i < 4; ++i)
    {
        NewtonUserJointAddLinearRow(joint, p, p, d);
        NewtonUserJointSetRowStiffness(joint, 0.1f * float(i + 1));
    }
}

void SelfDestroying(const NewtonJoint* joint)
{
    NewtonDestroyJoint(g_world, joint);
}

} // namespace

TEST_F(NewtonJointTest, AHingeOfFiveRowsHoldsWhileItSwings)
{
    HingeJoint hinge;
    NewtonBody* body = nullptr;
    Pendulum(hinge, body);
    float lowest = 0;
    float maxDrift = 0;
    for (int i = 0; i < 300; ++i)
    {
        Run(1);
        lowest = std::min(lowest, Position(body)[1]);
        maxDrift = std::max(maxDrift, PivotDrift(hinge));
    }
    EXPECT_LT(lowest, -0.9f) << "it swings down";
    EXPECT_LT(maxDrift, 0.03f);
    EXPECT_NEAR(MatrixOf(body).getBasis().getColumn(2).z(), 1.0f, 1e-3f) << "the pin stays aligned";
    EXPECT_NEAR(Position(body)[2], 0.0f, 1e-3f);
    EXPECT_GE(hinge.submits, 300);
}

TEST_F(NewtonJointTest, ALimitRowStopsTheSwing)
{
    HingeJoint hinge;
    NewtonBody* body = nullptr;
    Pendulum(hinge, body);
    hinge.limited = true;
    hinge.minimum = -0.5f;
    hinge.maximum = 0.5f;
    float lowestAngle = 0;
    for (int i = 0; i < 240; ++i)
    {
        Run(1);
        lowestAngle = std::min(lowestAngle, hinge.Angle());
    }
    EXPECT_GT(lowestAngle, -0.5f - 0.05f) << "it never goes far past the limit";
    EXPECT_NEAR(hinge.Angle(), -0.5f, 0.01f) << "it comes to rest on the limit";
}

TEST_F(NewtonJointTest, AMotorRowReachesItsSpeed)
{
    HingeJoint hinge;
    NewtonBody* body = nullptr;
    Pendulum(hinge, body);
    NewtonBodySetForceAndTorqueCallback(body, nullptr); // no gravity
    hinge.motor = true;
    hinge.motorAcceleration = 2;
    hinge.motorDamping = 1; // settles at 2 / 1 rad/s
    Run(360);
    float omega[3];
    NewtonBodyGetOmega(body, omega);
    EXPECT_NEAR(omega[2], 2.0f, 0.05f);
    EXPECT_LT(PivotDrift(hinge), 0.05f);
}

TEST_F(NewtonJointTest, ASpringRowSettlesAndRowForcesReadBackTheLoad)
{
    // A 2 kg box hangs from a spring row along y (k = 50, d = 10): it
    // settles g / k below the anchor.
    NewtonBody* body = FreeBox(0, 0, 0, 2);
    BallJoint ball;
    ball.child = body;
    ball.springY = true;
    ball.springK = 50;
    ball.springD = 10;
    NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, body, nullptr);
    NewtonJointSetUserData(joint, &ball);
    Run(300);
    EXPECT_NEAR(Position(body)[1], -9.8f / 50, 0.01f);
    EXPECT_NEAR(Velocity(body)[1], 0.0f, 0.01f);

    // Rigid rows carry the weight: the y row's force is m g.
    ball.springY = false;
    Run(120);
    EXPECT_NEAR(NewtonUserJointGetRowForce(joint, 1), 2 * 9.8f, 0.2f);
    EXPECT_NEAR(NewtonUserJointGetRowForce(joint, 0), 0.0f, 0.05f);
    EXPECT_NEAR(NewtonUserJointGetRowForce(joint, 2), 0.0f, 0.05f);
    EXPECT_EQ(NewtonUserJointGetRowForce(joint, 3), 0.0f);
    EXPECT_EQ(NewtonUserJointGetRowForce(joint, -1), 0.0f);
    EXPECT_NEAR(Position(body)[1], 0.0f, 0.01f);
}

TEST_F(NewtonJointTest, AGeneralRowCouplesTwoSpins)
{
    // Two wheels on fixed axles (hinges to the world) and a row that makes
    // their spins about z opposite: w0 + w1 = 0.
    HingeJoint axle0, axle1;
    NewtonBody* wheel0 = nullptr;
    NewtonBody* wheel1 = nullptr;
    Pendulum(axle0, wheel0);
    Pendulum(axle1, wheel1);
    for (NewtonBody* wheel : {wheel0, wheel1})
        NewtonBodySetForceAndTorqueCallback(wheel, nullptr);
    static const float jacobian[6] = {0, 0, 0, 0, 0, 1};
    NewtonJoint* gear = NewtonConstraintCreateUserJoint(
        world, 1, [](const NewtonJoint* joint) { NewtonUserJointAddGeneralRow(joint, jacobian, jacobian); },
        wheel0, wheel1);
    ASSERT_NE(gear, nullptr);
    NewtonBodySetJointRecursiveCollision(wheel0, 0);
    // Wheel 0 turns about its axle at 1 rad/s; the row shares that turn.
    const float spin[3] = {0, 0, 1};
    const float along[3] = {0, 1, 0};
    NewtonBodySetOmega(wheel0, spin);
    NewtonBodySetVelocity(wheel0, along);
    Run(30);
    float w0[3], w1[3];
    NewtonBodyGetOmega(wheel0, w0);
    NewtonBodyGetOmega(wheel1, w1);
    EXPECT_NEAR(w0[2] + w1[2], 0.0f, 0.01f);
    EXPECT_NEAR(w0[2], 0.5f, 0.05f);
}

TEST_F(NewtonJointTest, DestroyingABodyDestroysItsJointsFirst)
{
    g_world = world;
    g_destroyed = 0;
    g_destroyedData.clear();
    NewtonBody* a = FreeBox(0, 0, 0);
    NewtonBody* b = FreeBox(2, 0, 0);
    NewtonBody* c = FreeBox(4, 0, 0);
    int tagAB = 1, tagBC = 2, tagCA = 3;
    NewtonJoint* ab = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, a, b);
    NewtonJoint* bc = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, b, c);
    NewtonJoint* ca = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, c, a);
    BallJoint ballAB{a}, ballBC{b}, ballCA{c};
    NewtonJointSetUserData(ab, &ballAB);
    NewtonJointSetUserData(bc, &ballBC);
    NewtonJointSetUserData(ca, &ballCA);
    NewtonJointSetDestructor(ab, CountDestruction);
    NewtonJointSetDestructor(bc, CountDestruction);
    NewtonJointSetDestructor(ca, DestroyOtherToo);
    Run(2);
    (void)tagAB, (void)tagBC, (void)tagCA;

    // A's destruction takes ab and ca with it; ca's destructor also destroys
    // bc, which is not on A at all.
    g_other = bc;
    NewtonDestroyBody(world, a);
    g_other = nullptr;
    EXPECT_EQ(g_destroyed, 3);
    EXPECT_EQ(g_destroyedData.size(), 3u);
    for (void* data : g_destroyedData)
        EXPECT_NE(data, nullptr) << "user data is still there inside the destructor";
    // b and c move on with no joints: gravity alone.
    const float before = Velocity(c)[1];
    Run(10);
    EXPECT_NEAR(Velocity(c)[1] - before, -9.8f * 10 / 60, 1e-3f);

    // NewtonDestroyJoint fires the destructor; the world fires the rest.
    NewtonJoint* last = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, b, c);
    NewtonJointSetUserData(last, &ballBC);
    NewtonJointSetDestructor(last, CountDestruction);
    NewtonDestroyJoint(world, last);
    EXPECT_EQ(g_destroyed, 4);
    NewtonJoint* remaining = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, b, c);
    NewtonJointSetUserData(remaining, &ballBC);
    NewtonJointSetDestructor(remaining, CountDestruction);
    NewtonDestroy(world);
    world = NewtonCreate(nullptr, nullptr);
    EXPECT_EQ(g_destroyed, 5);
}

TEST_F(NewtonJointTest, RowsPastTheReservationAreDropped)
{
    NewtonBody* body = FreeBox(0, 0, 0);
    NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 2, TooManyRows, body, nullptr);
    const auto rows = NewtonUserJointSubmitRows(joint);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FLOAT_EQ(rows[0].stiffness, 0.1f);
    EXPECT_FLOAT_EQ(rows[1].stiffness, 0.2f) << "settings of dropped rows do not land on the last kept row";
    EXPECT_EQ(rows[1].kind, NewtonJointRowRecord::Kind::Linear);
    Run(5);
    EXPECT_EQ(NewtonUserJointGetRowForce(joint, 2), 0.0f);
    // Outside a submit, rows and settings are ignored.
    const float p[3] = {0, 0, 0};
    NewtonUserJointAddLinearRow(joint, p, p, p);
    NewtonUserJointSetRowStiffness(joint, 0.5f);
}

TEST_F(NewtonJointTest, RowSettingsAreRecordedAsGiven)
{
    static const float axis[3] = {0, 0, 2};
    NewtonBody* body = FreeBox(0, 0, 0);
    NewtonJoint* joint = NewtonConstraintCreateUserJoint(
        world, 4,
        [](const NewtonJoint* j)
        {
            NewtonUserJointAddAngularRow(j, 0.25f, axis);
            NewtonUserJointSetRowStiffness(j, 7); // clamped to 1
            NewtonUserJointSetRowAcceleration(j, 3);
            NewtonUserJointSetRowMinimumFriction(j, -4);
            NewtonUserJointSetRowMaximumFriction(j, 5);
            NewtonUserJointSetRowSpringDamperAcceleration(j, 6, 7);
            const float j0[6] = {1, 2, 3, 4, 5, 6};
            const float j1[6] = {-1, -2, -3, -4, -5, -6};
            NewtonUserJointAddGeneralRow(j, j0, j1);
            NewtonUserJointSetRowMinimumFriction(j, 1);  // above 0: clamped to 0
            NewtonUserJointSetRowMaximumFriction(j, -1); // below 0: clamped to 0
        },
        body, nullptr);
    const auto rows = NewtonUserJointSubmitRows(joint);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].kind, NewtonJointRowRecord::Kind::Angular);
    EXPECT_EQ(rows[0].angle, 0.25f);
    EXPECT_EQ(rows[0].dir[2], 2.0f);
    EXPECT_EQ(rows[0].stiffness, 1.0f);
    EXPECT_TRUE(rows[0].hasAcceleration);
    EXPECT_EQ(rows[0].acceleration, 3.0f);
    EXPECT_EQ(rows[0].minFriction, -4.0f);
    EXPECT_EQ(rows[0].maxFriction, 5.0f);
    EXPECT_TRUE(rows[0].spring);
    EXPECT_EQ(rows[0].springK, 6.0f);
    EXPECT_EQ(rows[1].kind, NewtonJointRowRecord::Kind::General);
    EXPECT_EQ(rows[1].jacobian0[5], 6.0f);
    EXPECT_EQ(rows[1].jacobian1[0], -1.0f);
    EXPECT_EQ(rows[1].minFriction, 0.0f);
    EXPECT_EQ(rows[1].maxFriction, 0.0f);
    EXPECT_EQ(rows[1].stiffness, 0.9f) << "the default stiffness";
}

TEST_F(NewtonJointTest, BadJointsAreRefused)
{
    NewtonBody* a = FreeBox(0, 0, 0);
    NewtonBody* b = FreeBox(2, 0, 0);
    EXPECT_EQ(NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, nullptr, b), nullptr);
    EXPECT_EQ(NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, a, a), nullptr);
    EXPECT_EQ(NewtonConstraintCreateUserJoint(world, 0, BallJoint::Submit, a, b), nullptr);
    EXPECT_EQ(NewtonConstraintCreateUserJoint(world, 100000, BallJoint::Submit, a, b), nullptr);
    NewtonWorld* other = NewtonCreate(nullptr, nullptr);
    EXPECT_EQ(NewtonConstraintCreateUserJoint(other, 3, BallJoint::Submit, a, b), nullptr);
    NewtonDestroy(other);
    EXPECT_EQ(NewtonUserJointGetRowForce(nullptr, 0), 0.0f);
    EXPECT_EQ(NewtonJointGetUserData(nullptr), nullptr);
}

TEST_F(NewtonJointTest, ZeroAndHugeStepsKeepRowMathsFinite)
{
    HingeJoint hinge;
    NewtonBody* body = nullptr;
    Pendulum(hinge, body);
    hinge.motor = true;
    hinge.motorAcceleration = 1000;
    hinge.motorDamping = 1;
    NewtonBody* hanging = FreeBox(5, 0, 0);
    BallJoint ball{hanging, {0, 0, 0}, {5, 0, 0}, true, 1e6f, 1e6f};
    NewtonJoint* spring = NewtonConstraintCreateUserJoint(world, 3, BallJoint::Submit, hanging, nullptr);
    NewtonJointSetUserData(spring, &ball);
    for (float step : {0.0f, 0.0f, 1000.0f, -1.0f, std::nanf(""), 1.0f / 60})
    {
        NewtonUpdate(world, step);
        for (const NewtonBody* b :
             {static_cast<const NewtonBody*>(body), static_cast<const NewtonBody*>(hanging)})
        {
            const auto p = Position(b);
            EXPECT_TRUE(std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2])) << step;
        }
        EXPECT_TRUE(std::isfinite(NewtonUserJointGetRowForce(spring, 1)));
    }
}

TEST_F(NewtonJointTest, AJointMayDestroyItselfWhileSubmitting)
{
    g_world = world;
    NewtonBody* body = FreeBox(0, 0, 0);
    NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 3, SelfDestroying, body, nullptr);
    NewtonJointSetDestructor(joint, CountDestruction);
    g_destroyed = 0;
    Run(3);
    EXPECT_EQ(g_destroyed, 1);
    NewtonJoint* second = NewtonConstraintCreateUserJoint(world, 3, SelfDestroying, body, nullptr);
    EXPECT_TRUE(NewtonUserJointSubmitRows(second).empty());
    Run(1);
}
