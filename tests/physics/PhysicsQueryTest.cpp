// Rays, boxes and touching pairs asked of the physics world.
#include "PhysicsTest.h"

#include "physics/RayCastResult.h"
#include "physics/newton/Newton.h"

#include <string>
#include <vector>

namespace
{

using PhysicsQueryTest = CPhysicsTest;

// A test entity of another kind.
class CKindEntity : public CPhysicalTestEntity
{
public:
    explicit CKindEntity(uint32_t kind) : m_kind(kind) {}
    uint32_t GetTypeId() const override { return m_kind; }

private:
    uint32_t m_kind;
};

} // namespace

TEST_F(PhysicsQueryTest, RaysFindTheNearestHitThroughTheirFilters)
{
    CPhysicsEngine::SetGravity(CVector());
    // Boxes across the ray from x = 0 to x = 10, met at 0.7, 0.2 and 0.5.
    Add(1000.0f, CVector(7.5f, 0, 0));
    CPhysicalTestEntity& near = Add(1000.0f, CVector(2.5f, 0, 0));
    CKindEntity agent(Misc::World::kTypeIdAgent);
    agent.SetMass(1000.0f);
    agent.SetPosition(CVector(5.5f, 0, 0));
    engine.AddEntity(&agent);
    // A body without an entity is never hit.
    NewtonCollision* box = NewtonCreateBox(engine.GetWorld(), 1, 1, 1, nullptr);
    NewtonBody* bare = NewtonCreateBody(engine.GetWorld(), box);
    NewtonReleaseCollision(engine.GetWorld(), box);
    const float barePlace[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1.0f, 0, 0, 1};
    NewtonBodySetMatrix(bare, barePlace);

    struct SCase
    {
        uint32_t filter;
        const std::string id;
        float parameter;
    };
    const SCase cases[] = {
        {0, near.GetId(), 0.2f},
        {Misc::World::kTypeIdUnit, near.GetId(), 0.2f},
        {Misc::World::kTypeIdAgent, agent.GetId(), 0.5f},
        {Misc::World::kTypeIdAgent | Misc::World::kTypeIdCamera, agent.GetId(), 0.5f},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.filter);
        CRayCastResult result;
        result.filter = c.filter;
        result.hits.push_back(CRayCastHit{0.0f, "stale", CVector()});
        ASSERT_TRUE(engine.RayCast(CVector(0, 0, 0), CVector(10, 0, 0), result));
        EXPECT_EQ(result.hits.front().id, c.id);
        EXPECT_NEAR(result.hits.front().parameter, c.parameter, 0.001f);
        EXPECT_NEAR(result.hits.front().normal.x, -1.0f, 0.001f);
        for (size_t i = 1; i < result.hits.size(); ++i)
            EXPECT_LE(result.hits[i - 1].parameter, result.hits[i].parameter);
    }
    CRayCastResult none;
    none.filter = Misc::World::kTypeIdCamera;
    EXPECT_FALSE(engine.RayCast(CVector(0, 0, 0), CVector(10, 0, 0), none));
    EXPECT_TRUE(none.hits.empty());

    engine.Destroy();
    CRayCastResult stopped;
    EXPECT_FALSE(engine.RayCast(CVector(0, 0, 0), CVector(10, 0, 0), stopped));
}

TEST_F(PhysicsQueryTest, BoxesCollectTheEntitiesInside)
{
    CPhysicalTestEntity& a = Add(1000.0f, CVector(0.5f, 0.5f, 0.5f), CVector(0.2f, 0.2f, 0.2f));
    Add(1000.0f, CVector(5, 5, 5), CVector(0.2f, 0.2f, 0.2f));
    std::vector<std::string> ids;
    // Given the wrong way round on every axis.
    EXPECT_EQ(engine.GetEntitiesInBox(1, 1, 1, 0, 0, 0, ids), 1);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ids[0], a.GetId());
    // The list is added to.
    EXPECT_EQ(engine.GetEntitiesInBox(-10, -10, -10, 10, 10, 10, ids), 3);
    EXPECT_EQ(engine.GetEntitiesInBox(20, 20, 20, 30, 30, 30, ids), 3);
    engine.Destroy();
    EXPECT_EQ(engine.GetEntitiesInBox(-10, -10, -10, 10, 10, 10, ids), 0);
}

TEST_F(PhysicsQueryTest, PairsTouchOnlyWhenTheyMeet)
{
    CPhysicalTestEntity& ground = Add(1000.0f, CVector(0, 0, 0), CVector(10, 1, 10));
    // Placed, not stepped: a box on the ground, another 5 mm above it.
    CPhysicalTestEntity& resting = Add(1.0f, CVector(0, 1.0f, 0));
    CPhysicalTestEntity& apart = Add(1.0f, CVector(3, 1.005f, 0));
    CPhysicalTestEntity detached;
    float contacts[3 * 8];
    float normals[3 * 8];
    float penetrations[8];
    const int touching = engine.GetCollisionData(8, &ground, &resting, contacts, normals, penetrations);
    EXPECT_GT(touching, 0);
    EXPECT_LE(touching, 8);
    EXPECT_NEAR(contacts[1], 0.5f, 0.01f) << "on the ground's top";
    EXPECT_NEAR(std::fabs(normals[1]), 1.0f, 0.01f);
    EXPECT_EQ(engine.GetCollisionData(8, &ground, &apart, contacts, normals, penetrations), 0)
        << "5 mm apart";
    EXPECT_EQ(engine.GetCollisionData(8, &ground, &detached, contacts, normals, penetrations), 0);
    EXPECT_EQ(engine.GetCollisionData(8, nullptr, &ground, contacts, normals, penetrations), 0);
    EXPECT_EQ(engine.GetCollisionData(0, &ground, &resting, contacts, normals, penetrations), 0);
}
