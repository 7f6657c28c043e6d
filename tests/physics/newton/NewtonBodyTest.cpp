// Bodies: callbacks, forces, sleeping, mass and shape settings.
#include "NewtonTestWorld.h"

#include <vector>

using namespace NewtonTest;

namespace
{

struct Events
{
    std::vector<std::pair<const NewtonBody*, Matrix>> transforms;
    std::vector<std::pair<const NewtonBody*, unsigned>> activations;
    std::vector<const NewtonBody*> leaves;
    void Clear() { *this = Events(); }
};
Events g_events;

void RecordTransform(const NewtonBody* body, const float* matrix)
{
    Matrix m;
    std::copy(matrix, matrix + 16, m.begin());
    g_events.transforms.emplace_back(body, m);
}

void RecordActivation(const NewtonBody* body, unsigned state)
{
    g_events.activations.emplace_back(body, state);
}

void RecordLeave(const NewtonBody* body)
{
    g_events.leaves.push_back(body);
}

void PushAndTwist(const NewtonBody* body)
{
    const float force[3] = {1, 2, 3};
    const float more[3] = {0.5f, 0, 0};
    const float torque[3] = {0, 0.25f, 0};
    NewtonBodyAddForce(body, force);
    NewtonBodyAddForce(body, more);
    NewtonBodyAddTorque(body, torque);
}

float g_buoyancyDensity = 0;

void Buoyant(const NewtonBody* body)
{
    const float gravity[3] = {0, -9.8f, 0};
    NewtonBodyAddBuoyancyForce(body, g_buoyancyDensity, 0.5f, 0.5f, gravity, nullptr, nullptr);
    Gravity(body);
}

class NewtonBodyTest : public World
{
protected:
    void SetUp() override
    {
        World::SetUp();
        g_events.Clear();
    }
    // A dynamic box floating with no forces.
    NewtonBody* Floating(float x = 0, float y = 0, float z = 0) { return Box(x, y, z, 1, 1, false); }
};

} // namespace

TEST_F(NewtonBodyTest, NewBodiesAreStaticUntilTheyGetAMass)
{
    NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, nullptr);
    NewtonBody* body = NewtonCreateBody(world, box);
    NewtonReleaseCollision(world, box);
    NewtonBodySetForceAndTorqueCallback(body, Gravity);
    Run(10);
    EXPECT_EQ(Position(body)[1], 0.0f);
    NewtonBodySetMassMatrix(body, 3, 0.5f, 0.6f, 0.7f);
    float mass, ixx, iyy, izz;
    NewtonBodyGetMassMatrix(body, &mass, &ixx, &iyy, &izz);
    EXPECT_EQ(mass, 3.0f);
    EXPECT_EQ(ixx, 0.5f);
    EXPECT_EQ(iyy, 0.6f);
    EXPECT_EQ(izz, 0.7f);
    Run(10);
    EXPECT_LT(Position(body)[1], -0.1f);
    // Bad masses make it static again.
    for (float bad : {0.0f, -1.0f, std::nanf("")})
    {
        NewtonBodySetMassMatrix(body, bad, 1, 1, 1);
        NewtonBodyGetMassMatrix(body, &mass, &ixx, &iyy, &izz);
        EXPECT_EQ(mass, 0.0f);
    }
}

TEST_F(NewtonBodyTest, MatrixRoundTripsWithoutScale)
{
    NewtonBody* body = Floating();
    Matrix m = Rotation(0.3f, -0.7f, 1.1f);
    m[12] = 1;
    m[13] = 2;
    m[14] = 3;
    Matrix scaled = m;
    for (int i = 0; i < 12; ++i)
        scaled[i] *= (i < 4 ? 2.0f : 3.0f);
    NewtonBodySetMatrix(body, scaled.data());
    Matrix back;
    NewtonBodyGetMatrix(body, back.data());
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(back[i], m[i], 1e-5f) << i;
    // A matrix with NaN is ignored.
    Matrix bad = Translation(std::nanf(""), 0, 0);
    NewtonBodySetMatrix(body, bad.data());
    EXPECT_EQ(Position(body)[0], 1.0f);
}

TEST_F(NewtonBodyTest, EulerAnglesInvertAnIrrlichtRotation)
{
    const float cases[][3] = {{0, 0, 0}, {0.3f, -0.7f, 1.1f}, {-2.5f, 1.2f, 3.0f}, {1.0f, 0.0f, -0.4f}};
    for (const auto& angles : cases)
    {
        const Matrix m = Rotation(angles[0], angles[1], angles[2]);
        float back[3];
        NewtonGetEulerAngle(m.data(), back);
        const Matrix again = Rotation(back[0], back[1], back[2]);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(again[i], m[i], 1e-5f);
        EXPECT_NEAR(back[1], angles[1], 1e-5f);
    }
    // Gimbal lock still gives a rotation that rebuilds the matrix.
    const Matrix locked = Rotation(0.5f, float(M_PI / 2), 0.2f);
    float back[3];
    NewtonGetEulerAngle(locked.data(), back);
    const Matrix again = Rotation(back[0], back[1], back[2]);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(again[i], locked[i], 1e-4f);
}

TEST_F(NewtonBodyTest, TransformCallbackReportsMovingBodiesAfterEachUpdate)
{
    NewtonBody* falling = Box(0, 10, 0);
    NewtonBody* fixed = StaticBox(5, 0, 0);
    NewtonBodySetTransformCallback(falling, RecordTransform);
    NewtonBodySetTransformCallback(fixed, RecordTransform);
    NewtonSetMinimumFrameRate(world, 240);
    Run(3);
    ASSERT_EQ(g_events.transforms.size(), 3u) << "once per update, whatever the sub-steps";
    for (const auto& [body, matrix] : g_events.transforms)
        EXPECT_EQ(body, falling);
    Matrix now;
    NewtonBodyGetMatrix(falling, now.data());
    EXPECT_EQ(g_events.transforms.back().second, now);
    NewtonWorldFreezeBody(world, falling);
    g_events.Clear();
    Run(3);
    EXPECT_TRUE(g_events.transforms.empty()) << "sleeping bodies do not move";
}

TEST_F(NewtonBodyTest, ForceAndTorqueGettersReportWhatTheCallbackApplied)
{
    NewtonBody* body = Floating();
    NewtonBodySetForceAndTorqueCallback(body, PushAndTwist);
    Run(1);
    float force[3], torque[3];
    NewtonBodyGetForce(body, force);
    NewtonBodyGetTorque(body, torque);
    EXPECT_EQ(force[0], 1.5f);
    EXPECT_EQ(force[1], 2.0f);
    EXPECT_EQ(force[2], 3.0f);
    EXPECT_EQ(torque[1], 0.25f);
    // The force moved it: a = F / m over one step.
    EXPECT_NEAR(Velocity(body)[1], 2.0f / 60, 1e-3f);
    // Outside the callback a force counts for nothing.
    const float outside[3] = {100, 0, 0};
    NewtonBodyAddForce(body, outside);
    NewtonBodyGetForce(body, force);
    EXPECT_EQ(force[0], 1.5f);
}

TEST_F(NewtonBodyTest, BodiesSleepAfterTheirQuietFramesAndWakeWhenTouched)
{
    NewtonBody* body = Floating();
    NewtonBodySetAutoactiveCallback(body, RecordActivation);
    NewtonBodySetFreezeTreshold(body, 0.04f, 0.09f, 5);
    float speed2, omega2;
    int frames;
    NewtonBodyGetFreezeTreshold(body, &speed2, &omega2, &frames);
    EXPECT_EQ(speed2, 0.04f);
    EXPECT_EQ(omega2, 0.09f);
    EXPECT_EQ(frames, 5);
    Run(4);
    EXPECT_NE(NewtonBodyGetSleepingState(body), 0) << "four quiet updates are not enough";
    EXPECT_TRUE(g_events.activations.empty());
    Run(1);
    EXPECT_EQ(NewtonBodyGetSleepingState(body), 0) << "the fifth puts it to sleep";
    ASSERT_EQ(g_events.activations.size(), 1u);
    EXPECT_EQ(g_events.activations[0].second, 0u);

    // A velocity wakes it; the next update reports it.
    const float push[3] = {0, 0, 1};
    NewtonBodySetVelocity(body, push);
    EXPECT_NE(NewtonBodyGetSleepingState(body), 0);
    Run(1);
    ASSERT_EQ(g_events.activations.size(), 2u);
    EXPECT_EQ(g_events.activations[1].second, 1u);

    // Moving faster than the threshold keeps it awake.
    NewtonBodySetLinearDamping(body, 0);
    Run(20);
    EXPECT_NE(NewtonBodyGetSleepingState(body), 0);

    // Without auto-freeze it never sleeps; freeze and unfreeze still work.
    const float stop[3] = {0, 0, 0};
    NewtonBodySetVelocity(body, stop);
    NewtonBodySetAutoFreeze(body, 0);
    EXPECT_EQ(NewtonBodyGetAutoFreeze(body), 0);
    Run(20);
    EXPECT_NE(NewtonBodyGetSleepingState(body), 0);
    NewtonWorldFreezeBody(world, body);
    EXPECT_EQ(NewtonBodyGetSleepingState(body), 0);
    NewtonWorldUnfreezeBody(world, body);
    EXPECT_NE(NewtonBodyGetSleepingState(body), 0);
}

TEST_F(NewtonBodyTest, TouchingBodiesSleepTogether)
{
    Ground();
    NewtonBody* lower = Box(0, 0.5f, 0);
    NewtonBody* upper = Box(0, 1.5f, 0);
    NewtonBodySetAutoFreeze(upper, 0);
    Run(300);
    EXPECT_NE(NewtonBodyGetSleepingState(lower), 0) << "its neighbour never sleeps, so neither does it";
    NewtonBodySetAutoFreeze(upper, 1);
    Run(120);
    EXPECT_EQ(NewtonBodyGetSleepingState(lower), 0);
    EXPECT_EQ(NewtonBodyGetSleepingState(upper), 0);
    // Waking one wakes the pile it rests in.
    const float push[3] = {0, 1, 0};
    NewtonBodySetVelocity(lower, push);
    Run(1);
    EXPECT_NE(NewtonBodyGetSleepingState(upper), 0);
}

TEST_F(NewtonBodyTest, LeavingTheWorldIsReportedOnce)
{
    NewtonSetBodyLeaveWorldEvent(world, RecordLeave);
    const float low[3] = {-10, -10, -10};
    const float high[3] = {10, 10, 10};
    NewtonSetWorldSize(world, high, low); // corners in either order
    NewtonBody* falling = Box(0, 0, 0);
    NewtonBodySetAutoFreeze(falling, 0);
    Box(5, 0, 0, 1, 1, false);
    Run(90); // falls about 11 m
    ASSERT_EQ(g_events.leaves.size(), 1u);
    EXPECT_EQ(g_events.leaves[0], falling);
    Run(30);
    EXPECT_EQ(g_events.leaves.size(), 1u);
}

TEST_F(NewtonBodyTest, DampingAndSettingsAreClamped)
{
    NewtonBody* body = Floating();
    EXPECT_FLOAT_EQ(NewtonBodyGetLinearDamping(body), 0.1f);
    struct Case
    {
        float given;
        float stored;
    };
    for (const Case& c : {Case{0.5f, 0.5f}, Case{2.0f, 1.0f}, Case{-1.0f, 0.0f}, Case{std::nanf(""), 0.0f}})
    {
        NewtonBodySetLinearDamping(body, c.given);
        EXPECT_EQ(NewtonBodyGetLinearDamping(body), c.stored) << c.given;
        const float angular[3] = {c.given, 0.3f, c.given};
        NewtonBodySetAngularDamping(body, angular);
        float back[3];
        NewtonBodyGetAngularDamping(body, back);
        EXPECT_EQ(back[0], c.stored);
        EXPECT_EQ(back[1], 0.3f);
    }
    NewtonBodySetFreezeTreshold(body, -1, std::nanf(""), -3);
    float speed2, omega2;
    int frames;
    NewtonBodyGetFreezeTreshold(body, &speed2, &omega2, &frames);
    EXPECT_EQ(speed2, 0.0f);
    EXPECT_EQ(omega2, 0.01f);
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(NewtonBodyGetJointRecursiveCollision(body), 1);
    NewtonBodySetJointRecursiveCollision(body, 0);
    EXPECT_EQ(NewtonBodyGetJointRecursiveCollision(body), 0);
}

TEST_F(NewtonBodyTest, DampingSlowsPerAxis)
{
    NewtonBody* body = Floating();
    NewtonBodySetAutoFreeze(body, 0);
    const float damping[3] = {0, 0.9f, 0};
    NewtonBodySetAngularDamping(body, damping);
    NewtonBodySetLinearDamping(body, 0.5f);
    const float velocity[3] = {1, 0, 0};
    const float omega[3] = {1, 1, 0};
    NewtonBodySetVelocity(body, velocity);
    NewtonBodySetOmega(body, omega);
    Run(60);
    EXPECT_NEAR(Velocity(body)[0], 0.5f, 0.01f) << "half the speed lost in a second";
    float back[3];
    NewtonBodyGetOmega(body, back);
    // The spin turns the body, so the damped axis mixes in; overall it slows.
    EXPECT_LT(back[0] * back[0] + back[1] * back[1], 1.5f);
}

TEST_F(NewtonBodyTest, ImpulseChangesTheVelocityAtThePoint)
{
    NewtonBody* body = Floating(1, 2, 3);
    NewtonBodySetAutoFreeze(body, 0);
    const float dv[3] = {2, 0, 0};
    const float centre[3] = {1, 2, 3};
    NewtonAddBodyImpulse(body, dv, centre);
    EXPECT_NEAR(Velocity(body)[0], 2.0f, 1e-5f);
    float omega[3];
    NewtonBodyGetOmega(body, omega);
    EXPECT_NEAR(omega[2], 0.0f, 1e-6f);

    const float stop[3] = {0, 0, 0};
    NewtonBodySetVelocity(body, stop);
    const float edge[3] = {1, 2.5f, 3};
    NewtonAddBodyImpulse(body, dv, edge);
    NewtonBodyGetOmega(body, omega);
    const auto v = Velocity(body);
    // Velocity at the point: v + w x r, r = (0, 0.5, 0).
    EXPECT_NEAR(v[0] + omega[1] * 0 - omega[2] * 0.5f, 2.0f, 1e-4f);
    EXPECT_LT(omega[2], 0.0f);
}

TEST_F(NewtonBodyTest, BuoyancyLiftsOrSinksByDensity)
{
    for (float density : {2.0f, 0.5f})
    {
        NewtonWorld* w = NewtonCreate(nullptr, nullptr);
        NewtonCollision* box = NewtonCreateBox(w, 1, 1, 1, nullptr);
        NewtonBody* body = NewtonCreateBody(w, box);
        NewtonReleaseCollision(w, box);
        NewtonBodySetMassMatrix(body, 1, 1, 1, 1);
        NewtonBodySetForceAndTorqueCallback(body, Buoyant);
        g_buoyancyDensity = density;
        for (int i = 0; i < 30; ++i)
            NewtonUpdate(w, 1.0f / 60);
        if (density > 1)
            EXPECT_GT(Position(body)[1], 0.05f);
        else
            EXPECT_LT(Position(body)[1], -0.05f);
        NewtonDestroy(w);
    }
}

TEST_F(NewtonBodyTest, CentreOfMassLeavesTheShapeWhereItWas)
{
    NewtonBody* body = StaticBox(0, 0, 0, 2);
    const float com[3] = {0, 0.5f, 0};
    NewtonBodySetCentreOfMass(body, com);
    float back[3];
    NewtonBodyGetCentreOfMass(body, back);
    EXPECT_EQ(back[1], 0.5f);
    EXPECT_EQ(Position(body)[1], 0.0f);
    std::vector<float> tops;
    auto top = [](const NewtonBody*, const float*, int, void* data, float t)
    {
        static_cast<std::vector<float>*>(data)->push_back(t);
        return t;
    };
    const float p0[3] = {0, 5, 0};
    const float p1[3] = {0, -5, 0};
    NewtonWorldRayCast(world, p0, p1, top, &tops, nullptr);
    ASSERT_FALSE(tops.empty());
    EXPECT_NEAR(tops.back(), 0.4f, 1e-3f) << "the top face is still at y = 1";

    // A dynamic body with its centre of mass low rights itself.
    Ground();
    NewtonBody* weeble = Box(3, 1.5f, 0);
    const float low[3] = {0, -0.45f, 0};
    NewtonBodySetCentreOfMass(weeble, low);
    const float spin[3] = {0, 0, 2};
    NewtonBodySetOmega(weeble, spin);
    Run(240);
    float m[16];
    NewtonBodyGetMatrix(weeble, m);
    EXPECT_GT(m[5], 0.99f);
}

TEST_F(NewtonBodyTest, PolygonsOfABodyAreInWorldSpace)
{
    NewtonBody* body = StaticBox(10, 0, 0, 2);
    struct Polygons
    {
        int faces = 0;
        int vertices = 0;
        float minX = 1e9f, maxX = -1e9f;
    };
    static Polygons polygons;
    polygons = Polygons();
    NewtonBodyForEachPolygonDo(body,
                               [](const NewtonBody*, int count, const float* face, int)
                               {
                                   ++polygons.faces;
                                   polygons.vertices += count;
                                   for (int i = 0; i < count; ++i)
                                   {
                                       polygons.minX = std::min(polygons.minX, face[i * 3]);
                                       polygons.maxX = std::max(polygons.maxX, face[i * 3]);
                                   }
                               });
    EXPECT_EQ(polygons.faces, 6);
    EXPECT_EQ(polygons.vertices, 24);
    EXPECT_NEAR(polygons.minX, 9.0f, 1e-5f);
    EXPECT_NEAR(polygons.maxX, 11.0f, 1e-5f);
}

TEST_F(NewtonBodyTest, UserDataReachesTheCallbacks)
{
    static int owner = 42;
    NewtonBody* body = Box(0, 5, 0);
    EXPECT_EQ(NewtonBodyGetUserData(body), nullptr);
    NewtonBodySetUserData(body, &owner);
    NewtonBodySetTransformCallback(body,
                                   [](const NewtonBody* b, const float*)
                                   {
                                       EXPECT_EQ(NewtonBodyGetUserData(b), &owner);
                                       ++*static_cast<int*>(NewtonBodyGetUserData(b));
                                   });
    Run(2);
    EXPECT_EQ(owner, 44);
    EXPECT_EQ(NewtonBodyGetUserData(nullptr), nullptr);
}
