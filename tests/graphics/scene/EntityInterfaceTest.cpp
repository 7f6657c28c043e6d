// The entity interface as an entity of every kind answers it: one-bit kind
// ids, the stable id pointer, the shared data bag and the graphical part's
// answers without a node.

#include "support/JoinedEntity.h"

#include <gtest/gtest.h>

#include <bitset>
#include <memory>

namespace
{

namespace World = Misc::World;

TEST(EntityInterfaceTest, KindIdsAreDistinctSingleBits)
{
    std::vector<std::unique_ptr<World::IEntityInterface>> kinds;
    kinds.push_back(std::make_unique<CTestLight>());
    kinds.push_back(std::make_unique<CTestCameraEntity>());
    kinds.push_back(std::make_unique<CTestBillboard>());
    kinds.push_back(std::make_unique<CTestCursor>());
    kinds.push_back(std::make_unique<CTestWaypoint>());
    kinds.push_back(std::make_unique<CTestTrigger>());
    kinds.push_back(std::make_unique<CTestParticleSystem>());
    const std::vector<uint32_t> expected = {128, 16384, 1024, 32768, 256, 512, 64};
    uint32_t all = World::kTypeIdAgent | World::kTypeIdUnit | World::kTypeIdSky | World::kTypeIdTerrain |
                   World::kTypeIdWater;
    for (size_t index = 0; index < kinds.size(); ++index)
    {
        const uint32_t id = kinds[index]->GetTypeId();
        EXPECT_EQ(id, expected[index]);
        EXPECT_EQ(std::bitset<32>(id).count(), 1u);
        EXPECT_EQ(all & id, 0u);
        all |= id;
    }
    EXPECT_EQ(all, 65520u);
    EXPECT_EQ(World::kTypeIdAllKinds, 65520u);
    EXPECT_STREQ(kinds[0]->GetTypeName(), "KVOLIGHT");
    EXPECT_STREQ(kinds[1]->GetTypeName(), "KVOCAMERA");
    EXPECT_STREQ(kinds[6]->GetTypeName(), "KVOPARTICLESYSTEM");
    EXPECT_EQ(kinds[0]->GetVersion(), 1030u);
}

TEST(EntityInterfaceTest, TheIdPointerStaysUntilTheIdChanges)
{
    CTestWaypoint first;
    CTestWaypoint second;
    const char* id = first.GetId();
    EXPECT_EQ(first.GetId(), id);
    EXPECT_NE(second.GetId(), id);
    first.NewId();
    EXPECT_NE(std::string(first.GetId()), std::string(second.GetId()));
    World::IEntityInterface& entity = first;
    EXPECT_EQ(&entity.GetData(), &static_cast<const World::IEntityInterface&>(entity).GetData());
    EXPECT_EQ(entity.GetGraphicalPart(), &first);
}

TEST(EntityInterfaceTest, WithoutANodeTheStoredValuesAnswer)
{
    CTestTrigger trigger;
    World::IEntityInterface& entity = trigger;
    entity.SetPosition(CVector(1, 2, 3));
    entity.SetRotation(CVector(0, 0, 90));
    entity.SetScale(CVector(4, 4, 4));
    CVector value;
    entity.GetAbsolutePosition(value);
    EXPECT_EQ(value.z, 3.0f);
    entity.GetAbsoluteRotation(value);
    EXPECT_EQ(value.z, 90.0f);
    entity.GetAbsoluteScale(value);
    EXPECT_EQ(value.x, 4.0f);
    // Turned 90 degrees about z, up points along -x.
    EXPECT_NEAR(entity.GetUpVector().x, -1.0f, 1e-5f);
    EXPECT_NEAR(entity.GetFrontVector().z, 1.0f, 1e-5f);
    EXPECT_FALSE(entity.UpdateParts());
    entity.Clear();
    EXPECT_EQ(entity.GetScale().x, 1.0f);
    EXPECT_EQ(entity.GetUpVector().y, 1.0f);
    entity.GetForce(value);
    EXPECT_EQ(value.x, 0.0f);
}

} // namespace
