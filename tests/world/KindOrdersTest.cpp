// The fixed orders in which the world walks its collections: what the kind
// table ranks, the world data must visit, collection by collection.

#include "core/world/TypeId.h"
#include "world/WorldData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Misc::World::EKindOrder;
using Names = std::vector<std::string>;

struct SOrderCase
{
    EKindOrder order;
    const char* label;
    Names sections;
};

const SOrderCase kOrderCases[] = {
    {EKindOrder::Members,
     "members",
     {"Cursors", "Cameras", "Lights", "ParticleSystems", "Waypoints", "Triggers", "Billboards", "Waters",
      "Terrains", "Units", "Agents"}},
    {EKindOrder::GroupSearch,
     "group search",
     {"Cursors", "Units", "Cameras", "Agents", "Lights", "ParticleSystems", "Waypoints", "Triggers",
      "Billboards", "Waters", "Terrains"}},
    {EKindOrder::FileSections,
     "file sections",
     {"Cursors", "Cameras", "Lights", "ParticleSystems", "Units", "Billboards", "Waters", "Terrains",
      "Waypoints", "Triggers", "Agents"}},
    {EKindOrder::Clear,
     "clear",
     {"Cursors", "Units", "Agents", "Lights", "ParticleSystems", "Cameras", "Waypoints", "Triggers",
      "Billboards", "Waters", "Terrains"}},
    {EKindOrder::ScriptBlocks,
     "script blocks",
     {"Cursors", "Cameras", "Lights", "Triggers", "Units", "Billboards", "Waters", "Terrains", "Agents",
      "ParticleSystems", "Waypoints"}},
    {EKindOrder::Scene,
     "scene",
     {"ParticleSystems", "Units", "Billboards", "Waters", "Terrains", "Agents", "Waypoints"}},
    {EKindOrder::Engines,
     "engines",
     {"ParticleSystems", "Units", "Billboards", "Waters", "Terrains", "Agents", "Waypoints", "Lights",
      "Triggers", "Cameras", "Cursors"}},
};

template <EKindOrder Order> Names Visited(CWorldData& data)
{
    Names names;
    data.ForEachKind<Order>([&names](IWorldMap& map) { names.push_back(map.GetSectionName()); });
    return names;
}

Names Visited(CWorldData& data, EKindOrder order)
{
    switch (order)
    {
    case EKindOrder::Members:
        return Visited<EKindOrder::Members>(data);
    case EKindOrder::GroupSearch:
        return Visited<EKindOrder::GroupSearch>(data);
    case EKindOrder::FileSections:
        return Visited<EKindOrder::FileSections>(data);
    case EKindOrder::Clear:
        return Visited<EKindOrder::Clear>(data);
    case EKindOrder::ScriptBlocks:
        return Visited<EKindOrder::ScriptBlocks>(data);
    case EKindOrder::Scene:
        return Visited<EKindOrder::Scene>(data);
    case EKindOrder::Engines:
        return Visited<EKindOrder::Engines>(data);
    case EKindOrder::Count:
        break;
    }
    return {};
}

// The section names of the table's rows in the order, as the script blocks
// and the group read them straight from the table.
Names TableOrder(EKindOrder order)
{
    Names names(Misc::World::CountInOrder(order));
    for (const Misc::World::SKind& kind : Misc::World::kKinds)
    {
        if (kind.RankIn(order) != Misc::World::kNoRank)
            names.at(static_cast<size_t>(kind.RankIn(order))) = kind.plural;
    }
    return names;
}

TEST(KindOrders, EachOrderVisitsTheCollectionsAsTheWorldAlwaysHas)
{
    CWorldData data(nullptr);
    for (const SOrderCase& c : kOrderCases)
    {
        EXPECT_EQ(Visited(data, c.order), c.sections) << c.label;
        EXPECT_EQ(TableOrder(c.order), c.sections) << c.label;
    }
}

TEST(KindOrders, CollectionsAreBuiltInMemberOrder)
{
    // Members are built in the order they are laid out, and destroyed in
    // reverse.
    CWorldData data(nullptr);
    std::vector<const IWorldMap*> maps;
    data.ForEachKind<EKindOrder::Members>([&maps](IWorldMap& map) { maps.push_back(&map); });
    ASSERT_EQ(maps.size(), 11u);
    for (size_t index = 1; index < maps.size(); ++index)
        EXPECT_LT(static_cast<const void*>(maps[index - 1]), static_cast<const void*>(maps[index]))
            << maps[index]->GetSectionName();
}

TEST(KindOrders, GroupSearchesInItsOrder)
{
    CWorldData data(nullptr);
    Names searched;
    for (const IWorldMap* map : data.GetGroup().GetMaps())
        searched.push_back(map->GetSectionName());
    EXPECT_EQ(searched, kOrderCases[1].sections);
}

TEST(KindOrders, EveryCollectedKindHasItsMapAndNoOtherBitHasOne)
{
    CWorldData data(nullptr);
    for (const Misc::World::SKind& kind : Misc::World::kKinds)
    {
        IWorldMap* map = data.GetMap(kind.typeId);
        if (kind.typeId == Misc::World::kTypeIdSky)
        {
            EXPECT_EQ(map, nullptr);
            continue;
        }
        ASSERT_NE(map, nullptr) << kind.plural;
        EXPECT_EQ(map->GetSectionName(), kind.plural);
    }
    for (uint32_t bit : {0u, 1u, 8u, 65536u, Misc::World::kTypeIdAllKinds})
        EXPECT_EQ(data.GetMap(bit), nullptr) << bit;
}

} // namespace
