// The world update: clamped steps, sub-steps, a box coming to rest.
#include "NewtonTestWorld.h"

#include <limits>

using namespace NewtonTest;

namespace
{

int g_forceCalls = 0;

void CountingGravity(const NewtonBody* body)
{
    ++g_forceCalls;
    Gravity(body);
}

class NewtonWorldTest : public World
{
};

} // namespace

TEST_F(NewtonWorldTest, BoxComesToRestOnATwoTriangleMesh)
{
    Ground();
    NewtonBody* box = Box(0.3f, 3, -0.2f);
    Run(240);
    const auto p = Position(box);
    EXPECT_NEAR(p[1], 0.5f, 0.01f);
    // It lands where it fell: no sliding off.
    EXPECT_NEAR(p[0], 0.3f, 0.05f);
    EXPECT_NEAR(p[2], -0.2f, 0.05f);
    float m[16];
    NewtonBodyGetMatrix(box, m);
    EXPECT_NEAR(m[5], 1.0f, 1e-3f) << "the box stays upright";
}

TEST_F(NewtonWorldTest, StepsAreClampedAndSplitBySubSteps)
{
    struct Case
    {
        float step;
        float minimumFrameRate;
        float expectedSpeed; // after one update from rest under g = 9.8
        float expectedSubStep;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.0f, 60, 9.8f * 0.001f, 0.001f},       // 0 s is the shortest step
        {-1.0f, 60, 9.8f * 0.001f, 0.001f},      // negative likewise
        {nan, 60, 9.8f * 0.001f, 0.001f},        // NaN likewise
        {1000.0f, 60, 9.8f * 0.1f, 0.1f / 6},    // a huge first step is cut to 0.1 s
        {1.0f / 60, 30, 9.8f / 60, 1.0f / 60},   // one sub-step
        {1.0f / 60, 120, 9.8f / 60, 1.0f / 120}, // two sub-steps
        {0.05f, 1e9f, 9.8f * 0.05f, 0.05f / 50}, // frame rate clamped to 1000
    };
    for (const Case& c : cases)
    {
        NewtonWorld* w = NewtonCreate(nullptr, nullptr);
        NewtonSetMinimumFrameRate(w, c.minimumFrameRate);
        NewtonCollision* sphere = NewtonCreateSphere(w, 0.5f, 0.5f, 0.5f, nullptr);
        NewtonBody* body = NewtonCreateBody(w, sphere);
        NewtonReleaseCollision(w, sphere);
        NewtonBodySetMassMatrix(body, 2, 1, 1, 1);
        NewtonBodySetLinearDamping(body, 0);
        NewtonBodySetForceAndTorqueCallback(body, Gravity);
        NewtonUpdate(w, c.step);
        EXPECT_NEAR(-Velocity(body)[1], c.expectedSpeed, c.expectedSpeed * 1e-3f) << "step " << c.step;
        EXPECT_NEAR(NewtonGetTimeStep(w), c.expectedSubStep, c.expectedSubStep * 1e-3f) << "step " << c.step;
        NewtonDestroy(w);
    }
}

TEST_F(NewtonWorldTest, ForceCallbackRunsOncePerSubStepForAwakeDynamicBodiesOnly)
{
    NewtonSetMinimumFrameRate(world, 120);
    NewtonBody* dynamic = Box(0, 5, 0);
    NewtonBodySetForceAndTorqueCallback(dynamic, CountingGravity);
    NewtonBody* fixed = StaticBox(5, 0, 0);
    NewtonBodySetForceAndTorqueCallback(fixed, CountingGravity);
    g_forceCalls = 0;
    NewtonUpdate(world, 1.0f / 60);
    EXPECT_EQ(g_forceCalls, 2);
    NewtonWorldFreezeBody(world, dynamic);
    g_forceCalls = 0;
    NewtonUpdate(world, 1.0f / 60);
    EXPECT_EQ(g_forceCalls, 0) << "a sleeping body gets no forces";
}

TEST_F(NewtonWorldTest, SolverAndFrictionModelsAcceptAnyNumber)
{
    Ground();
    NewtonBody* box = Box(0, 1, 0);
    for (int model : {-5, 0, 1, 2, 8, 1000000})
    {
        NewtonSetSolverModel(world, model);
        NewtonSetFrictionModel(world, model);
        Run(20);
    }
    EXPECT_NEAR(Position(box)[1], 0.5f, 0.02f);
}

TEST_F(NewtonWorldTest, DestroyingTheWorldFreesWhatIsLeft)
{
    // Bodies and collisions still alive go with the world (LSan checks).
    Ground();
    Box(0, 1, 0);
    NewtonCreateBox(world, 1, 1, 1, nullptr);
    NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
    NewtonTreeCollisionBeginBuild(tree);
    Run(3);
}
