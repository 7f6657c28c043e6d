// The group over the world's eleven collections: lookup in the search
// order, the group's selection, visibility, errors, and the iterator that
// walks every collection.

#include "WorldMapTestKinds.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

namespace
{

using Misc::World::IEntityInterface;

std::vector<std::string> Walk(CWorldMapGroup& group)
{
    CWorldMapEntityIterator* made = nullptr;
    EXPECT_TRUE(group.CreateIterator(made));
    std::unique_ptr<CWorldMapEntityIterator> iterator(made);
    std::vector<std::string> ids;
    for (iterator->First(); !iterator->IsDone(); iterator->Next())
        ids.push_back(iterator->CurrentItem()->GetId());
    return ids;
}

TEST(WorldMapGroupTest, AnIdIsFoundInTheSearchOrderNotTheFileOrder)
{
    SWorldMaps world;
    // One id in every collection; each removal uncovers the next holder.
    ForEachWorldMapKind(
        [&](auto* kind)
        {
            using Map = std::remove_pointer_t<decltype(kind)>;
            for (IWorldMap* map : world.group.GetMaps())
            {
                if (auto* typed = dynamic_cast<Map*>(map))
                    AddWithId(*typed, 1);
            }
        });
    const uint32_t expected[] = {32768, 32, 16384, 16, 128, 64, 256, 512, 1024, 8192, 4096};
    const std::string id = TestId(1);
    for (const uint32_t typeId : expected)
    {
        ASSERT_TRUE(world.group.Exists(id));
        EXPECT_EQ(world.group.GetUnit(id)->GetTypeId(), typeId);
        EXPECT_EQ(world.group.GetHolder(id)->GetUnit(id), world.group.GetUnit(id));
        world.group.RemoveUnit(id);
    }
    EXPECT_FALSE(world.group.Exists(id));
    EXPECT_EQ(world.group.GetCount(), 0u);
}

TEST(WorldMapGroupTest, TheSelectionRunsCollectionAfterCollection)
{
    SWorldMaps world;
    AddWithId(world.lights, 1);
    AddWithId(world.units, 3);
    AddWithId(world.units, 2);
    AddWithId(world.terrains, 4);
    AddWithId(world.cursors, 5);
    EXPECT_TRUE(world.group.Select(TestId(1)));
    EXPECT_TRUE(world.group.Select(TestId(3)));
    EXPECT_TRUE(world.group.Select(TestId(2)));
    EXPECT_FALSE(world.group.Select(TestId(2)));
    EXPECT_FALSE(world.group.Select(TestId(9)));
    EXPECT_EQ(world.group.GetSelectedCount(), 3u);
    EXPECT_EQ(world.group.GetCount(), 5u);

    // Units come before Lights: index 2 is the light, 3 is nothing.
    EXPECT_STREQ(world.group.GetSelectedUnit(0)->GetId(), TestId(3).c_str());
    EXPECT_STREQ(world.group.GetSelectedUnit(1)->GetId(), TestId(2).c_str());
    EXPECT_EQ(world.group.GetSelectedUnit(2)->GetTypeId(), 128u);
    EXPECT_EQ(world.group.GetSelectedUnit(3), nullptr);

    world.group.SelectAll();
    std::vector<std::string> ids{"kept"};
    world.group.GetSelectedIds(ids);
    EXPECT_EQ(ids, (std::vector<std::string>{"kept", TestId(5), TestId(2), TestId(3), TestId(1), TestId(4)}));
    EXPECT_TRUE(world.group.IsSelected(TestId(4)));
    EXPECT_TRUE(world.group.Deselect(TestId(4)));
    EXPECT_FALSE(world.group.Deselect(TestId(4)));
    EXPECT_FALSE(world.group.Deselect(TestId(9)));
    world.group.DeselectAll();
    EXPECT_EQ(world.group.GetSelectedCount(), 0u);
}

TEST(WorldMapGroupTest, MissingIdsThrowOnlyWhereTheyMust)
{
    SWorldMaps world;
    AddWithId(world.waters, 1, L"lake");
    const std::string absent = TestId(2);
    EXPECT_EQ(ErrorOf([&] { world.group.GetUnit(absent); }),
              "[CWorldMapGroup::GetUnit] Unit not found [" + absent + "]");
    IEntityInterface* entity = world.waters.GetUnit(TestId(1));
    EXPECT_EQ(ErrorOf([&] { world.group.GetUnit(absent, entity); }),
              "[CWorldMapGroup::GetUnit] Unit not found [" + absent + "]");
    EXPECT_EQ(entity, nullptr);
    IEntityInterface* copy = nullptr;
    EXPECT_EQ(ErrorOf([&] { world.group.CopyUnit(absent, copy); }),
              "[CWorldMapGroup::CopyUnit] Unit not found [" + absent + "]");
    EXPECT_FALSE(world.group.Exists(absent));
    EXPECT_FALSE(world.group.IsSelected(absent));
    world.group.RemoveUnit(absent);

    // A copy goes to the holder's collection.
    world.group.CopyUnit(TestId(1), copy);
    EXPECT_EQ(world.waters.GetCount(), 2u);
    EXPECT_EQ(copy->GetName(), L"lake");
    EXPECT_EQ(world.group.GetUnit(copy->GetId()), copy);
}

TEST(WorldMapGroupTest, VisibleOnlyWhenEveryCollectionIs)
{
    SWorldMaps world;
    EXPECT_TRUE(world.group.IsVisible());
    world.cameras.SetVisible(false);
    EXPECT_FALSE(world.group.IsVisible());
    world.group.SetVisible(true);
    EXPECT_TRUE(world.group.IsVisible());
    CWorldMapGroup empty;
    EXPECT_TRUE(empty.IsVisible());
}

TEST(WorldMapGroupTest, TheIteratorWalksEveryCollectionInTurn)
{
    SWorldMaps world;
    EXPECT_TRUE(Walk(world.group).empty()) << "an empty world is done at once";
    CWorldMapEntityIterator* made = nullptr;
    ASSERT_TRUE(world.group.CreateIterator(made));
    std::unique_ptr<CWorldMapEntityIterator> iterator(made);
    EXPECT_TRUE(iterator->IsDone());
    EXPECT_EQ(iterator->CurrentItem(), nullptr);

    // Cursors and Units empty: the walk starts with the first camera and
    // steps over the empty collections between the others.
    AddWithId(world.cameras, 2);
    AddWithId(world.cameras, 1);
    AddWithId(world.waypoints, 3);
    AddWithId(world.terrains, 4);
    const std::vector<std::string> order{TestId(1), TestId(2), TestId(3), TestId(4)};
    EXPECT_EQ(Walk(world.group), order);
    std::vector<IEntityInterface*> entities;
    world.group.GetUnits(entities);
    ASSERT_EQ(entities.size(), order.size());
    EXPECT_STREQ(entities[2]->GetId(), TestId(3).c_str());

    ASSERT_TRUE(world.group.CreateIterator(made));
    iterator.release();
    iterator.reset(made);
    EXPECT_STREQ(iterator->CurrentItem()->GetId(), TestId(1).c_str());
    EXPECT_FALSE(iterator->IsDone());

    // Backwards from the end gives the walk reversed and stops at the first.
    std::vector<std::string> backwards;
    iterator->End();
    EXPECT_TRUE(iterator->IsDone());
    for (size_t step = 0; step < order.size() + 2; ++step)
    {
        iterator->Previous();
        if (backwards.empty() || backwards.back() != iterator->CurrentItem()->GetId())
            backwards.push_back(iterator->CurrentItem()->GetId());
    }
    EXPECT_EQ(backwards, (std::vector<std::string>{TestId(4), TestId(3), TestId(2), TestId(1)}));
    EXPECT_FALSE(iterator->IsDone());

    // Next past the end changes nothing.
    iterator->End();
    iterator->Next();
    EXPECT_TRUE(iterator->IsDone());
}

TEST(WorldMapGroupTest, AGroupLeavesItsCollectionsAlone)
{
    CUnitMap units;
    AddWithId(units, 1);
    {
        CWorldMapGroup group;
        group.AddMap(&units);
        EXPECT_EQ(group.GetCount(), 1u);
    }
    EXPECT_EQ(units.GetCount(), 1u);
    EXPECT_NE(units.FindUnit(TestId(1)), nullptr);
}

} // namespace
