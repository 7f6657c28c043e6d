// Ray casts, box queries and the collide query.
#include "NewtonTestWorld.h"

#include <algorithm>
#include <functional>
#include <vector>

using namespace NewtonTest;

namespace
{

struct Hit
{
    const NewtonBody* body;
    float parameter;
    float normal[3];
    int collisionId;
};

struct RayRecord
{
    std::vector<Hit> hits;
    enum class Clip
    {
        ByParameter,
        None,
        Stop
    } clip = Clip::ByParameter;
    const NewtonBody* skipped = nullptr;
    int prefilterCalls = 0;
};

float RecordHit(const NewtonBody* body, const float* normal, int collisionId, void* userData, float parameter)
{
    auto* record = static_cast<RayRecord*>(userData);
    record->hits.push_back({body, parameter, {normal[0], normal[1], normal[2]}, collisionId});
    switch (record->clip)
    {
    case RayRecord::Clip::None:
        return 1.0f;
    case RayRecord::Clip::Stop:
        return 0.0f;
    default:
        return parameter;
    }
}

unsigned Prefilter(const NewtonBody* body, const NewtonCollision* collision, void* userData)
{
    auto* record = static_cast<RayRecord*>(userData);
    ++record->prefilterCalls;
    EXPECT_EQ(collision, NewtonBodyGetCollision(body));
    return body == record->skipped ? 0 : 1;
}

class NewtonQueryTest : public World
{
protected:
    RayRecord Cast(float x0, float y0, float z0, float x1, float y1, float z1,
                   RayRecord::Clip clip = RayRecord::Clip::ByParameter, const NewtonBody* skipped = nullptr)
    {
        RayRecord record;
        record.clip = clip;
        record.skipped = skipped;
        const float p0[3] = {x0, y0, z0};
        const float p1[3] = {x1, y1, z1};
        NewtonWorldRayCast(world, p0, p1, RecordHit, &record, Prefilter);
        return record;
    }
};

std::vector<const NewtonBody*> g_visited;

void Visit(const NewtonBody* body)
{
    g_visited.push_back(body);
}

} // namespace

TEST_F(NewtonQueryTest, RayOnTheMeshGivesParameterNormalAndFaceAttribute)
{
    NewtonCollision* tree = GroundCollision(20, 0, 7);
    NewtonBody* ground = NewtonCreateBody(world, tree);
    NewtonReleaseCollision(world, tree);
    const RayRecord record = Cast(1, 1, 2, 1, -1, 2);
    ASSERT_EQ(record.hits.size(), 1u);
    EXPECT_EQ(record.hits[0].body, ground);
    EXPECT_NEAR(record.hits[0].parameter, 0.5f, 1e-4f);
    EXPECT_NEAR(record.hits[0].normal[1], 1.0f, 1e-4f);
    EXPECT_EQ(record.hits[0].collisionId, 7);
}

TEST_F(NewtonQueryTest, RayOnABoxHasNoFatMargin)
{
    StaticBox(0, 0, 0, 2);
    const RayRecord record = Cast(0, 3, 0, 0, -3, 0);
    ASSERT_FALSE(record.hits.empty());
    EXPECT_NEAR(record.hits[0].parameter, 2.0f / 6.0f, 1e-3f);
    EXPECT_NEAR(record.hits[0].normal[1], 1.0f, 1e-3f);
}

TEST_F(NewtonQueryTest, TheReturnedParameterClipsTheRay)
{
    // Boxes at ray parameters 0.7, 0.2 and 0.5 of a ray along x from 0 to 10.
    NewtonBody* far = StaticBox(7.5f, 0, 0);
    NewtonBody* near = StaticBox(2.5f, 0, 0);
    NewtonBody* middle = StaticBox(5.5f, 0, 0);

    const RayRecord all = Cast(0, 0, 0, 10, 0, 0, RayRecord::Clip::None);
    EXPECT_EQ(all.hits.size(), 3u) << "returning 1 keeps every hit";

    const RayRecord clipped = Cast(0, 0, 0, 10, 0, 0);
    ASSERT_FALSE(clipped.hits.empty());
    for (size_t i = 1; i < clipped.hits.size(); ++i)
        EXPECT_LT(clipped.hits[i].parameter, clipped.hits[i - 1].parameter) << "only nearer hits follow";
    EXPECT_EQ(clipped.hits.back().body, near);
    EXPECT_NEAR(clipped.hits.back().parameter, 0.2f, 1e-3f);

    const RayRecord stopped = Cast(0, 0, 0, 10, 0, 0, RayRecord::Clip::Stop);
    EXPECT_EQ(stopped.hits.size(), 1u) << "returning 0 ends the cast";

    const RayRecord skipping = Cast(0, 0, 0, 10, 0, 0, RayRecord::Clip::ByParameter, near);
    ASSERT_FALSE(skipping.hits.empty());
    EXPECT_EQ(skipping.hits.back().body, middle) << "the pre-filter skips the nearest body";
    EXPECT_GE(skipping.prefilterCalls, 1);
    for (const Hit& hit : skipping.hits)
        EXPECT_NE(hit.body, near);
    (void)far;
}

TEST_F(NewtonQueryTest, DegenerateRaysFindNothing)
{
    StaticBox(0, 0, 0);
    EXPECT_TRUE(Cast(0, 0, 0, 0, 0, 0).hits.empty());
    EXPECT_TRUE(Cast(0, 5, 0, 0, 6, 0).hits.empty());
    RayRecord record;
    const float nan[3] = {std::nanf(""), 0, 0};
    const float end[3] = {0, 0, 0};
    NewtonWorldRayCast(world, nan, end, RecordHit, &record, nullptr);
    EXPECT_TRUE(record.hits.empty());
}

TEST_F(NewtonQueryTest, BoxQueryFindsTheBodiesInTheBox)
{
    NewtonBody* a = StaticBox(0, 0, 0);
    NewtonBody* b = Box(5, 0, 0, 1, 1, false);
    NewtonBody* c = StaticBox(10, 0, 0);
    struct Case
    {
        float p0[3];
        float p1[3];
        std::vector<const NewtonBody*> expected;
    };
    const Case cases[] = {
        {{4, -1, -1}, {6, 1, 1}, {b}},
        {{6, 1, 1}, {4, -1, -1}, {b}}, // corners given the other way round
        {{-1, -1, -1}, {11, 1, 1}, {a, b, c}},
        {{0.51f, -1, -1}, {4.49f, 1, 1}, {}}, // between the bodies, closer than Bullet's padding
        {{9.4f, 0.4f, 0.4f}, {9.6f, 0.6f, 0.6f}, {c}},
    };
    for (const Case& test : cases)
    {
        g_visited.clear();
        NewtonWorldForEachBodyInAABBDo(world, test.p0, test.p1, Visit);
        std::vector<const NewtonBody*> expected = test.expected;
        EXPECT_EQ(g_visited, expected);
    }
    g_visited.clear();
    NewtonWorldForEachBodyDo(world, Visit);
    EXPECT_EQ(g_visited, (std::vector<const NewtonBody*>{a, b, c}));
}

TEST_F(NewtonQueryTest, CollideReportsPenetration)
{
    NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, nullptr);
    const Matrix lower = Translation(0, 0, 0);
    const Matrix upper = Translation(0, 0.9f, 0);
    float contacts[3 * 8], normals[3 * 8], depth[8];
    const int count =
        NewtonCollisionCollide(world, 8, box, lower.data(), box, upper.data(), contacts, normals, depth);
    ASSERT_GT(count, 0);
    EXPECT_NEAR(*std::max_element(depth, depth + count), 0.1f, 2e-3f);
    EXPECT_NEAR(std::fabs(normals[1]), 1.0f, 1e-3f);
    EXPECT_NEAR(contacts[1], 0.45f, 0.06f);

    // Only touching shapes make contacts: a few millimetres apart is apart.
    for (const float gap : {0.0f, 0.0005f, 0.005f, 0.03f})
    {
        const Matrix above = Translation(0, 1 + gap, 0);
        const int touching =
            NewtonCollisionCollide(world, 8, box, lower.data(), box, above.data(), contacts, normals, depth);
        if (gap <= 0.001f)
            EXPECT_GT(touching, 0) << "gap " << gap;
        else
            EXPECT_EQ(touching, 0) << "gap " << gap;
    }

    const Matrix apart = Translation(0, 1.5f, 0);
    EXPECT_EQ(
        NewtonCollisionCollide(world, 8, box, lower.data(), box, apart.data(), contacts, normals, depth), 0);
    EXPECT_EQ(
        NewtonCollisionCollide(world, 0, box, lower.data(), box, upper.data(), contacts, normals, depth), 0);

    // Against a mesh, and with an offset shape.
    NewtonCollision* ground = GroundCollision();
    const float offset[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1};
    NewtonCollision* shifted = NewtonCreateBox(world, 1, 1, 1, offset);
    const Matrix sunk = Translation(0, -1.2f, 0); // the box sits 0.3 into the ground
    const Matrix identity = Translation(0, 0, 0);
    const int meshCount = NewtonCollisionCollide(world, 8, shifted, sunk.data(), ground, identity.data(),
                                                 contacts, normals, depth);
    ASSERT_GT(meshCount, 0);
    EXPECT_NEAR(*std::max_element(depth, depth + meshCount), 0.3f, 0.01f);
    const Matrix resting = Translation(0, -0.5f, 0);    // the box's bottom on the ground
    const Matrix hovering = Translation(0, -0.495f, 0); // 5 mm above it
    EXPECT_GT(NewtonCollisionCollide(world, 8, shifted, resting.data(), ground, identity.data(), contacts,
                                     normals, depth),
              0);
    EXPECT_EQ(NewtonCollisionCollide(world, 8, shifted, hovering.data(), ground, identity.data(), contacts,
                                     normals, depth),
              0);
    NewtonReleaseCollision(world, box);
    NewtonReleaseCollision(world, ground);
    NewtonReleaseCollision(world, shifted);
}

namespace
{

// A hit filter that runs `first` at its first hit and keeps every hit.
struct FirstHitHook
{
    std::function<void()> first;
    int calls = 0;
};

float HookedFilter(const NewtonBody*, const float*, int, void* userData, float)
{
    auto* hook = static_cast<FirstHitHook*>(userData);
    if (hook->calls++ == 0)
        hook->first();
    return 1.0f;
}

} // namespace

TEST_F(NewtonQueryTest, QueriesFindEachBodyAsManyComeAndGo)
{
    // Many boxes made and placed, then half destroyed, then more made: each
    // vertical ray finds the box under it, the box query every live box,
    // the same on every pass (enough queries that the layer rebuilds its
    // broadphase between them).
    std::vector<NewtonBody*> boxes;
    for (int i = 0; i < 300; ++i)
        boxes.push_back(StaticBox(static_cast<float>(i % 20) * 3, 0, static_cast<float>(i / 20) * 3));
    const auto expectFound = [&](const std::vector<NewtonBody*>& live)
    {
        for (size_t ray = 0; ray < 6 * boxes.size(); ++ray)
        {
            const size_t i = ray % boxes.size();
            const float x = static_cast<float>(i % 20) * 3;
            const float z = static_cast<float>(i / 20) * 3;
            const RayRecord record = Cast(x, 5, z, x, -5, z);
            const bool alive = std::find(live.begin(), live.end(), boxes[i]) != live.end();
            if (!alive)
            {
                EXPECT_TRUE(record.hits.empty()) << "box " << i;
                continue;
            }
            ASSERT_FALSE(record.hits.empty()) << "box " << i;
            EXPECT_EQ(record.hits.back().body, boxes[i]) << "box " << i;
        }
        g_visited.clear();
        const float low[3] = {-1, -1, -1};
        const float high[3] = {60, 1, 60};
        NewtonWorldForEachBodyInAABBDo(world, low, high, Visit);
        std::vector<const NewtonBody*> expected(live.begin(), live.end());
        EXPECT_EQ(g_visited, expected);
    };
    expectFound(boxes);
    std::vector<NewtonBody*> live;
    for (size_t i = 0; i < boxes.size(); ++i)
    {
        if (i % 2 == 0)
            NewtonDestroyBody(world, boxes[i]);
        else
            live.push_back(boxes[i]);
    }
    expectFound(live);
    Run(3);
    for (size_t i = 0; i < boxes.size(); i += 2)
        boxes[i] = StaticBox(static_cast<float>(i % 20) * 3, 0, static_cast<float>(i / 20) * 3);
    // The box query answers in creation order: the survivors, then the new.
    std::vector<NewtonBody*> created;
    for (size_t i = 1; i < boxes.size(); i += 2)
        created.push_back(boxes[i]);
    for (size_t i = 0; i < boxes.size(); i += 2)
        created.push_back(boxes[i]);
    expectFound(created);
}

TEST_F(NewtonQueryTest, ARayFromAHitFilterMayFollowManyNewBodies)
{
    for (int i = 0; i < 10; ++i)
        StaticBox(static_cast<float>(i) * 3, 0, 0);
    // The filter places a crowd of new boxes and casts a ray of its own
    // while the outer ray still walks the broadphase.
    size_t made = 0;
    FirstHitHook hook;
    hook.first = [&]
    {
        for (int i = 0; i < 200; ++i, ++made)
            StaticBox(static_cast<float>(i) * 3, 10, 0);
        const RayRecord inner = Cast(30, 20, 0, 30, -20, 0);
        EXPECT_FALSE(inner.hits.empty());
    };
    const float p0[3] = {-2, 0, 0};
    const float p1[3] = {40, 0, 0};
    NewtonWorldRayCast(world, p0, p1, HookedFilter, &hook, nullptr);
    EXPECT_EQ(hook.calls, 10) << "every box along the ray is still reported";
    EXPECT_EQ(made, 200u);
    EXPECT_FALSE(Cast(30, 20, 0, 30, -20, 0).hits.empty());
}
