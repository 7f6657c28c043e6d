// Material groups: pair values and the begin / process / end callbacks.
#include "NewtonTestWorld.h"

#include <limits>
#include <vector>

using namespace NewtonTest;

namespace
{

struct PairLog
{
    int begins = 0;
    int processes = 0;
    int ends = 0;
    bool reject = false;
    bool dropContacts = false;
    const NewtonBody* first = nullptr;
    const NewtonBody* second = nullptr;
};

int Begin(const NewtonMaterial* material, const NewtonBody* body0, const NewtonBody* body1)
{
    auto* log = static_cast<PairLog*>(NewtonMaterialGetMaterialPairUserData(material));
    ++log->begins;
    log->first = body0;
    log->second = body1;
    return log->reject ? 0 : 1;
}

int Process(const NewtonMaterial* material)
{
    auto* log = static_cast<PairLog*>(NewtonMaterialGetMaterialPairUserData(material));
    ++log->processes;
    return log->dropContacts ? 0 : 1;
}

void End(const NewtonMaterial* material)
{
    ++static_cast<PairLog*>(NewtonMaterialGetMaterialPairUserData(material))->ends;
}

void NoRows(const NewtonJoint*) {}

class NewtonMaterialTest : public World
{
protected:
    void SetUp() override
    {
        World::SetUp();
        groundGroup = NewtonMaterialCreateGroupID(world);
        boxGroup = NewtonMaterialCreateGroupID(world);
        ground = Ground();
        NewtonBodySetMaterialGroupID(ground, groundGroup);
    }

    NewtonBody* TypedBox(float x, float y, float z)
    {
        NewtonBody* box = Box(x, y, z);
        NewtonBodySetMaterialGroupID(box, boxGroup);
        NewtonBodySetAutoFreeze(box, 0);
        return box;
    }

    int groundGroup = 0;
    int boxGroup = 0;
    NewtonBody* ground = nullptr;
};

} // namespace

TEST_F(NewtonMaterialTest, GroupsAreNumberedFromTheDefault)
{
    EXPECT_EQ(NewtonMaterialGetDefaultGroupID(world), 0);
    EXPECT_EQ(groundGroup, 1);
    EXPECT_EQ(boxGroup, 2);
    NewtonMaterialDestroyAllGroupID(world);
    EXPECT_EQ(NewtonMaterialCreateGroupID(world), 1);
}

TEST_F(NewtonMaterialTest, NoGroupPastTheLastId)
{
    NewtonMaterialDestroyAllGroupID(world);
    int last = 0;
    for (int i = 1; i < 1024; ++i)
        last = NewtonMaterialCreateGroupID(world);
    EXPECT_EQ(last, 1023);
    NewtonMaterialSetDefaultElasticity(world, 0, 0, 0.25f);
    // Refused, so that nobody takes over the pairs of a group in use.
    EXPECT_EQ(NewtonMaterialCreateGroupID(world), -1);
    EXPECT_EQ(NewtonMaterialCreateGroupID(world), -1);
    NewtonMaterialDestroyAllGroupID(world);
    EXPECT_EQ(NewtonMaterialCreateGroupID(world), 1);
}

TEST_F(NewtonMaterialTest, ARejectedPairFallsThrough)
{
    PairLog log;
    log.reject = true;
    NewtonMaterialSetCollisionCallback(world, boxGroup, groundGroup, &log, Begin, Process, End);
    NewtonBody* box = TypedBox(0, 0.6f, 0);
    Run(60);
    EXPECT_LT(Position(box)[1], -1.0f);
    EXPECT_GT(log.begins, 0);
    EXPECT_EQ(log.processes, 0);
    EXPECT_EQ(log.ends, 0);
    // Both bodies of the pair reach the callback, in either order.
    EXPECT_TRUE((log.first == box && log.second == ground) || (log.first == ground && log.second == box));

    // Once the groups are gone so is the rejection: the default pair holds.
    NewtonMaterialDestroyAllGroupID(world);
    NewtonBody* second = TypedBox(3, 0.6f, 0);
    Run(60);
    EXPECT_NEAR(Position(second)[1], 0.5f, 0.02f);
}

TEST_F(NewtonMaterialTest, BeginRunsOnlyWhileTheBoxesMeet)
{
    PairLog log;
    NewtonMaterialSetCollisionCallback(world, groundGroup, boxGroup, &log, Begin, Process, End);
    std::vector<NewtonBody*> boxes;
    for (int i = 0; i < 40; ++i)
        boxes.push_back(TypedBox(-10.0f + float(i % 8) * 2.5f, 0.5f, -6.0f + float(i / 8) * 2.5f));
    Run(10);
    EXPECT_EQ(log.begins, 400);
    // Lifted well clear: the broadphase drops such pairs a few at a time,
    // but they are no pairs any more.
    for (NewtonBody* box : boxes)
    {
        const Matrix lifted = Translation(Position(box)[0], 10, Position(box)[2]);
        NewtonBodySetMatrix(box, lifted.data());
    }
    Run(10);
    EXPECT_EQ(log.begins, 400);
}

TEST_F(NewtonMaterialTest, ProcessSeesEveryContactAndEndFollows)
{
    PairLog log;
    NewtonMaterialSetCollisionCallback(world, groundGroup, boxGroup, &log, Begin, Process, End);
    NewtonBody* box = TypedBox(0, 0.5f, 0);
    Run(30);
    EXPECT_NEAR(Position(box)[1], 0.5f, 0.01f);
    EXPECT_EQ(log.begins, 30);
    EXPECT_EQ(log.ends, 30);
    // A box lying on a face touches at its corners.
    EXPECT_GE(log.processes, 30 * 3);

    // Dropping every contact point lets it sink.
    log.dropContacts = true;
    Run(60);
    EXPECT_LT(Position(box)[1], 0.0f);
}

TEST_F(NewtonMaterialTest, FrictionPerPairDecidesSlidingOrStopping)
{
    struct Case
    {
        float staticFriction;
        float kineticFriction;
        float minDistance;
        float maxDistance;
    };
    // At 4 m/s with mu = 0.3 a box stops in 4^2 / (2 x 0.3 x 9.8) = 2.7 m.
    for (const Case& c : {Case{0.3f, 0.3f, 2.2f, 3.3f}, Case{0.05f, 0.02f, 5.0f, 100.0f}})
    {
        NewtonMaterialSetDefaultFriction(world, groundGroup, boxGroup, c.staticFriction, c.kineticFriction);
        NewtonBody* box = TypedBox(-10, 0.5f, 0);
        NewtonBodySetLinearDamping(box, 0);
        Run(10);
        const float push[3] = {4, 0, 0};
        NewtonBodySetVelocity(box, push);
        Run(120);
        const float travelled = Position(box)[0] + 10;
        EXPECT_GT(travelled, c.minDistance) << c.staticFriction;
        EXPECT_LT(travelled, c.maxDistance) << c.staticFriction;
        NewtonDestroyBody(world, box);
    }
}

TEST_F(NewtonMaterialTest, StaticFrictionHoldsWhereKineticFrictionWouldSlide)
{
    // A box at rest on a 20-degree slope: tan 20 = 0.36.
    NewtonCollision* slope = NewtonCreateBox(world, 20, 1, 20, nullptr);
    NewtonBody* ramp = NewtonCreateBody(world, slope);
    NewtonReleaseCollision(world, slope);
    const float angle = 20.0f * float(M_PI) / 180.0f;
    Matrix tilt = Rotation(0, 0, angle);
    tilt[13] = 10;
    NewtonBodySetMatrix(ramp, tilt.data());
    NewtonBodySetMaterialGroupID(ramp, groundGroup);
    NewtonMaterialSetDefaultFriction(world, groundGroup, boxGroup, 0.6f, 0.1f);
    NewtonBody* box = TypedBox(0, 0, 0);
    Matrix place = Rotation(0, 0, angle);
    // On the slope's top face, 1 above its centre plane along its up axis.
    place[12] = tilt[4] * 1.0f;
    place[13] = 10 + tilt[5] * 1.0f;
    NewtonBodySetMatrix(box, place.data());
    Run(120);
    const auto held = Position(box);
    EXPECT_NEAR(held[0], place[12], 0.05f) << "static friction 0.6 holds it";
    // Once it is moving, kinetic friction 0.1 cannot stop it.
    const float push[3] = {-std::cos(angle), -std::sin(angle), 0};
    NewtonBodySetVelocity(box, push);
    Run(60);
    EXPECT_LT(Position(box)[0], held[0] - 1.0f);
}

TEST_F(NewtonMaterialTest, ElasticityPerPairDecidesBouncing)
{
    for (float elasticity : {0.0f, 0.9f})
    {
        NewtonMaterialSetDefaultElasticity(world, groundGroup, boxGroup, elasticity);
        NewtonCollision* sphere = NewtonCreateSphere(world, 0.5f, 0.5f, 0.5f, nullptr);
        NewtonBody* ball = NewtonCreateBody(world, sphere);
        NewtonReleaseCollision(world, sphere);
        NewtonBodySetMassMatrix(ball, 1, 0.1f, 0.1f, 0.1f);
        NewtonBodySetLinearDamping(ball, 0);
        NewtonBodySetForceAndTorqueCallback(ball, Gravity);
        NewtonBodySetMaterialGroupID(ball, boxGroup);
        const Matrix start = Translation(0, 2.5f, 0);
        NewtonBodySetMatrix(ball, start.data());
        Run(45); // lands after about 38 updates
        float highest = 0;
        for (int i = 0; i < 60; ++i)
        {
            Run(1);
            highest = std::max(highest, Position(ball)[1]);
        }
        if (elasticity > 0)
            EXPECT_GT(highest, 1.5f);
        else
            EXPECT_LT(highest, 0.6f);
        NewtonDestroyBody(world, ball);
    }
}

TEST_F(NewtonMaterialTest, PairValuesAreClamped)
{
    // Bad ids are ignored; values outside their range are clamped.
    NewtonMaterialSetDefaultFriction(world, 99, boxGroup, 0.1f, 0.1f);
    NewtonMaterialSetDefaultFriction(world, -1, boxGroup, 0.1f, 0.1f);
    NewtonMaterialSetDefaultElasticity(world, boxGroup, 1000, 1);
    NewtonMaterialSetCollisionCallback(world, 1000, 0, nullptr, Begin, nullptr, nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    NewtonMaterialSetDefaultFriction(world, groundGroup, boxGroup, 5.0f, 3.0f); // kinetic above static
    NewtonMaterialSetDefaultElasticity(world, groundGroup, boxGroup, nan);
    NewtonMaterialSetDefaultElasticity(world, groundGroup, boxGroup, -1);
    NewtonBody* box = TypedBox(0, 0.6f, 0);
    Run(30);
    EXPECT_NEAR(Position(box)[1], 0.5f, 0.02f);
}

TEST_F(NewtonMaterialTest, JointedBodiesCollideOnlyWhenBothAllowIt)
{
    for (unsigned collide : {1u, 0u})
    {
        NewtonBody* a = Box(5, 5, 0, 1, 1, false);
        NewtonBody* b = Box(5.5f, 5, 0, 1, 1, false);
        NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 1, NoRows, a, b);
        ASSERT_NE(joint, nullptr);
        NewtonBodySetJointRecursiveCollision(a, 1);
        NewtonBodySetJointRecursiveCollision(b, collide);
        Run(10);
        const float gap = Position(b)[0] - Position(a)[0];
        if (collide)
            EXPECT_GT(gap, 0.9f) << "overlapping boxes push apart";
        else
            EXPECT_NEAR(gap, 0.5f, 1e-3f) << "they pass through each other";
        NewtonDestroyBody(world, a);
        NewtonDestroyBody(world, b);
    }
}
