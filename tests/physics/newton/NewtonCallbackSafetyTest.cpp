// Callbacks that destroy bodies, joints or the world while the layer is
// still visiting them: nothing is freed under its feet (ASan checks).
#include "NewtonTestWorld.h"

#include "physics/newton/NewtonBody.h"
#include "physics/newton/NewtonWorld.h"

#include <algorithm>
#include <random>
#include <vector>

using namespace NewtonTest;

namespace
{

const NewtonWorld* g_world = nullptr;
std::vector<const NewtonBody*> g_victims;
int g_calls = 0;

void DestroyVictims()
{
    for (const NewtonBody* victim : g_victims)
        NewtonDestroyBody(g_world, victim);
    g_victims.clear();
}

void DestroySelf(const NewtonBody* body)
{
    ++g_calls;
    NewtonDestroyBody(g_world, body);
    DestroyVictims();
}

float DestroyOnHit(const NewtonBody* body, const float*, int, void*, float)
{
    ++g_calls;
    NewtonDestroyBody(g_world, body);
    DestroyVictims();
    return 1.0f;
}

void DestroyOnForce(const NewtonBody* body)
{
    ++g_calls;
    Gravity(body);
    NewtonDestroyBody(g_world, body);
    DestroyVictims();
    NewtonUpdate(g_world, 1.0f / 60); // ignored: the world is updating
}

void DestroyOnTransform(const NewtonBody* body, const float*)
{
    ++g_calls;
    NewtonDestroyBody(g_world, body);
    DestroyVictims();
}

void DestroyWorldOnTransform(const NewtonBody*, const float*)
{
    ++g_calls;
    NewtonDestroy(g_world);
}

int DestroyBothOnBegin(const NewtonMaterial*, const NewtonBody* body0, const NewtonBody* body1)
{
    ++g_calls;
    NewtonDestroyBody(g_world, body0);
    NewtonDestroyBody(g_world, body1);
    return 1;
}

void DestroyBodyOnSubmit(const NewtonJoint* joint)
{
    ++g_calls;
    DestroyVictims();
    const float p[3] = {0, 0, 0};
    const float d[3] = {1, 0, 0};
    NewtonUserJointAddLinearRow(joint, p, p, d);
}

void DestroyBodyOnPolygon(const NewtonBody* body, int, const float*, int)
{
    ++g_calls;
    NewtonDestroyBody(g_world, body);
}

void DestroyOwnJointOnSubmit(const NewtonJoint* joint)
{
    ++g_calls;
    NewtonDestroyJoint(g_world, joint);
}

void DestroyVictimsOnForce(const NewtonBody* body)
{
    Gravity(body);
    DestroyVictims();
}

void HoldOnSubmit(const NewtonJoint* joint)
{
    const float p[3] = {0, 0, 0};
    const float d[3] = {1, 0, 0};
    NewtonUserJointAddLinearRow(joint, p, p, d);
}

void CountDestructor(const NewtonJoint*)
{
    ++g_calls;
}

std::vector<const NewtonBody*> AllBodies(const NewtonWorld* world)
{
    static std::vector<const NewtonBody*> visited;
    visited.clear();
    NewtonWorldForEachBodyDo(world, [](const NewtonBody* body) { visited.push_back(body); });
    return visited;
}

class NewtonCallbackSafetyTest : public World
{
protected:
    void SetUp() override
    {
        World::SetUp();
        g_world = world;
        g_victims.clear();
        g_calls = 0;
    }
};

} // namespace

TEST_F(NewtonCallbackSafetyTest, IteratorsAndRaysSurviveDestroyedBodies)
{
    std::vector<NewtonBody*> row;
    for (int i = 0; i < 5; ++i)
        row.push_back(StaticBox(float(i) * 2, 0, 0));
    g_victims = {row[4], row[3]};
    NewtonWorldForEachBodyDo(world, DestroySelf);
    EXPECT_EQ(g_calls, 3) << "destroyed bodies are not visited";

    for (int i = 0; i < 5; ++i)
        row[i] = StaticBox(float(i) * 2, 0, 0);
    g_victims = {row[3], row[4]};
    g_calls = 0;
    const float p0[3] = {-5, 0, 0};
    const float p1[3] = {20, 0, 0};
    NewtonWorldRayCast(world, p0, p1, DestroyOnHit, nullptr, nullptr);
    EXPECT_GE(g_calls, 1);

    NewtonBody* box = StaticBox(0, 5, 0);
    g_calls = 0;
    NewtonBodyForEachPolygonDo(box, DestroyBodyOnPolygon);
    EXPECT_EQ(g_calls, 6);

    const float low[3] = {-100, -100, -100};
    const float high[3] = {100, 100, 100};
    for (int i = 0; i < 3; ++i)
        StaticBox(float(i) * 2, 10, 0);
    NewtonWorldForEachBodyInAABBDo(world, low, high, DestroySelf);
    g_calls = 0;
    NewtonWorldForEachBodyDo(world, DestroySelf);
    EXPECT_EQ(g_calls, 0) << "nothing is left";
}

TEST_F(NewtonCallbackSafetyTest, UpdateCallbacksMayDestroyBodies)
{
    Ground();
    NewtonBody* a = Box(0, 3, 0);
    NewtonBody* b = Box(3, 3, 0);
    NewtonBody* c = Box(6, 3, 0);
    NewtonBodySetForceAndTorqueCallback(a, DestroyOnForce);
    g_victims = {b};
    NewtonBodySetTransformCallback(c, DestroyOnTransform);
    Run(3);
    EXPECT_EQ(g_calls, 2);
    g_calls = 0;
    NewtonWorldForEachBodyDo(world, [](const NewtonBody*) { ++g_calls; });
    EXPECT_EQ(g_calls, 1) << "only the ground is left";

    // Material callbacks and joint submits, inside Bullet's own step.
    const int group = NewtonMaterialCreateGroupID(world);
    NewtonMaterialSetCollisionCallback(world, group, 0, nullptr, DestroyBothOnBegin, nullptr, nullptr);
    NewtonBody* lander = Box(0, 0.52f, 0); // its box meets the ground's
    NewtonBodySetMaterialGroupID(lander, group);
    NewtonBody* held = Box(10, 5, 0);
    NewtonBody* other = Box(12, 5, 0);
    NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 3, DestroyBodyOnSubmit, held, other);
    ASSERT_NE(joint, nullptr);
    g_victims = {other};
    g_calls = 0;
    Run(5);
    EXPECT_GE(g_calls, 2);
}

TEST_F(NewtonCallbackSafetyTest, TheWorldMayBeDestroyedFromItsOwnUpdate)
{
    NewtonBody* box = Box(0, 3, 0);
    NewtonBodySetTransformCallback(box, DestroyWorldOnTransform);
    NewtonUpdate(world, 1.0f / 60);
    EXPECT_EQ(g_calls, 1);
    world = nullptr; // gone with the update; TearDown has nothing left to do
}

TEST_F(NewtonCallbackSafetyTest, WhatCallbacksDestroyIsFreedOnceTheyAreDone)
{
    // Queries sweep for dead bodies only when something died: each must
    // still free what its callbacks destroyed.
    std::vector<NewtonBody*> row;
    for (int i = 0; i < 4; ++i)
        row.push_back(StaticBox(float(i) * 2, 0, 0));
    const size_t before = world->bodies.size();
    g_victims = {row[1], row[3]};
    const float p0[3] = {-5, 0, 0};
    const float p1[3] = {20, 0, 0};
    NewtonWorldRayCast(
        world, p0, p1,
        [](const NewtonBody*, const float*, int, void*, float) -> float
        {
            DestroyVictims();
            return 1.0f;
        },
        nullptr, nullptr);
    EXPECT_EQ(world->bodies.size(), before - 2);
    EXPECT_EQ(world->deadCount, 0u);
    NewtonWorldRayCast(world, p0, p1, nullptr, nullptr, nullptr);
    EXPECT_EQ(world->bodies.size(), before - 2);

    // A joint that destroys itself while submitting its rows stays until
    // its submission is over, then goes with the next sweep.
    NewtonBody* a = Box(10, 5, 0);
    NewtonBody* b = Box(12, 5, 0);
    ASSERT_NE(NewtonConstraintCreateUserJoint(world, 3, DestroyOwnJointOnSubmit, a, b), nullptr);
    g_calls = 0;
    Run(2);
    EXPECT_EQ(g_calls, 1);
    EXPECT_TRUE(world->joints.empty());
    EXPECT_EQ(world->deadCount, 0u);
}

TEST_F(NewtonCallbackSafetyTest, BodiesGoInAnyOrder)
{
    // Bodies destroyed in a shuffled order, between updates and from a
    // force callback, while new ones come: the others stay in creation
    // order and every dynamic one left still moves (ASan checks the rest).
    std::vector<const NewtonBody*> live{Ground(40)};
    int made = 0;
    const auto makeBoxes = [&](int count, float height)
    {
        for (int i = 0; i < count; ++i, ++made)
        {
            const float x = float(made % 20) * 3 - 30;
            const float z = float(made / 20) * 3 - 30;
            live.push_back(made % 7 == 0 ? StaticBox(x, height, z) : Box(x, height, z));
        }
    };
    makeBoxes(200, 20);
    Run(1);
    std::mt19937 random(7);
    for (int round = 0; round < 6; ++round)
    {
        std::vector<const NewtonBody*> doomed(live.begin() + 1, live.end());
        std::shuffle(doomed.begin(), doomed.end(), random);
        doomed.resize(doomed.size() / 3);
        // The first third between updates, the rest from a survivor's force
        // callback during the next one.
        const size_t between = doomed.size() / 3;
        for (size_t i = 0; i < between; ++i)
            NewtonDestroyBody(world, doomed[i]);
        g_victims.assign(doomed.begin() + between, doomed.end());
        const auto survivor =
            std::find_if(live.begin() + 1, live.end(),
                         [&](const NewtonBody* body)
                         {
                             return std::find(doomed.begin(), doomed.end(), body) == doomed.end() &&
                                    NewtonBodyGetSleepingState(body) != 0;
                         });
        ASSERT_NE(survivor, live.end());
        NewtonBodySetForceAndTorqueCallback(*survivor, DestroyVictimsOnForce);
        Run(1);
        EXPECT_TRUE(g_victims.empty());
        NewtonBodySetForceAndTorqueCallback(*survivor, Gravity);
        live.erase(std::remove_if(live.begin(), live.end(),
                                  [&](const NewtonBody* body)
                                  { return std::find(doomed.begin(), doomed.end(), body) != doomed.end(); }),
                   live.end());
        makeBoxes(10, 30);
        EXPECT_EQ(AllBodies(world), live) << "round " << round;
        EXPECT_EQ(world->bodies.size(), live.size());
        EXPECT_EQ(world->deadCount, 0u);
    }
    Run(1);
    EXPECT_EQ(world->dynamics.getNumCollisionObjects(), static_cast<int>(live.size()));
    std::vector<float> heights;
    for (const NewtonBody* body : live)
        heights.push_back(Position(body)[1]);
    Run(10);
    for (size_t i = 1; i < live.size(); ++i)
        if (NewtonBodyGetSleepingState(live[i]) != 0)
        {
            EXPECT_LT(Position(live[i])[1], heights[i] - 0.1f) << "body " << i << " falls";
        }
}

TEST_F(NewtonCallbackSafetyTest, AJointGoesOnceWithWhicheverBodyDiesFirst)
{
    Ground();
    for (const bool parentFirst : {false, true})
    {
        NewtonBody* child = Box(0, 5, 0);
        NewtonBody* parent = Box(2, 5, 0);
        NewtonBody* bystander = Box(6, 5, 0);
        NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 3, HoldOnSubmit, child, parent);
        ASSERT_NE(joint, nullptr);
        NewtonJointSetDestructor(joint, CountDestructor);
        Run(2);
        g_calls = 0;
        NewtonBody* first = parentFirst ? parent : child;
        NewtonBody* second = parentFirst ? child : parent;
        NewtonDestroyBody(world, first);
        EXPECT_EQ(g_calls, 1) << "the joint's destructor ran with the first body";
        EXPECT_TRUE(world->joints.empty());
        EXPECT_TRUE(second->joints.empty());
        const float before = Position(second)[1];
        Run(5);
        EXPECT_LT(Position(second)[1], before) << "the body left falls freely";
        NewtonDestroyBody(world, second);
        NewtonDestroyBody(world, bystander);
        EXPECT_EQ(g_calls, 1);
        EXPECT_EQ(world->deadCount, 0u);
    }
}
