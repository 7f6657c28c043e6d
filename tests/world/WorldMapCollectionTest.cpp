// One kind's collection: lookup, selection, creating, adding, copying and
// removing entities, iterators, and its section of the world file in every
// archive form, including damaged sections.

#include "ManagedKinds.h"
#include "WorldMapTestKinds.h"
#include "graphics/scene/EntityArchive.h"
#include "support/ErrorOf.h"

#include "core/app/SimulationManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <type_traits>

namespace
{

using namespace EntityArchive;
using Misc::World::IEntityInterface;

std::vector<std::string> IdsOf(IWorldMapOperations& map)
{
    std::vector<IEntityInterface*> entities;
    map.GetUnits(entities);
    std::vector<std::string> ids;
    for (IEntityInterface* entity : entities)
        ids.push_back(entity->GetId());
    return ids;
}

std::vector<std::string> SelectedIds(const IWorldMapOperations& map)
{
    std::vector<std::string> ids;
    map.GetSelectedIds(ids);
    return ids;
}

TEST(WorldMapCollectionTest, SelectionFollowsItsRules)
{
    CUnitMap units;
    for (unsigned number : {3u, 1u, 2u})
        AddWithId(units, number);
    const std::string one = TestId(1), two = TestId(2), three = TestId(3);

    EXPECT_TRUE(units.Select(three));
    EXPECT_FALSE(units.Select(three)) << "selected twice";
    EXPECT_FALSE(units.Select(TestId(9))) << "not in the collection";
    EXPECT_TRUE(units.Select(one));
    EXPECT_EQ(SelectedIds(units), (std::vector<std::string>{three, one}));
    EXPECT_STREQ(units.GetSelectedUnit(1)->GetId(), one.c_str());
    EXPECT_EQ(units.GetSelectedUnit(2), nullptr) << "index equal to the length";
    EXPECT_EQ(units.GetSelectedUnit(0xFFFFFFFFu), nullptr);

    // Each id once, in id order, whatever was selected before.
    units.SelectAll();
    EXPECT_EQ(SelectedIds(units), (std::vector<std::string>{one, two, three}));

    EXPECT_TRUE(units.Deselect(two));
    EXPECT_FALSE(units.Deselect(two));
    EXPECT_FALSE(units.IsSelected(two));
    units.RemoveUnit(one);
    EXPECT_EQ(SelectedIds(units), (std::vector<std::string>{three}));
    EXPECT_EQ(units.GetCount(), 2u);
    EXPECT_FALSE(units.Exists(one));
    EXPECT_EQ(units.FindUnit(one), nullptr);
    EXPECT_FALSE(units.Select(one));
    units.RemoveUnit(one);
    EXPECT_EQ(units.GetCount(), 2u);

    // The callers' vectors are appended to.
    std::vector<std::string> ids{"kept"};
    units.GetSelectedIds(ids);
    EXPECT_EQ(ids, (std::vector<std::string>{"kept", three}));
    std::vector<IEntityInterface*> entities{nullptr};
    units.GetUnits(entities);
    EXPECT_EQ(entities.size(), 3u);

    units.Clear();
    EXPECT_EQ(units.GetCount(), 0u);
    EXPECT_EQ(units.GetSelectedCount(), 0u);
    EXPECT_FALSE(units.Exists(three));
    // A cleared id can be stored again.
    EXPECT_STREQ(AddWithId(units, 3)->GetId(), three.c_str());
    EXPECT_EQ(units.GetUnit(three), units.FindUnit(three));
}

TEST(WorldMapCollectionTest, EveryKindNamesTheMissingIdAndItsMethod)
{
    ForEachWorldMapKind(
        [](auto* kind)
        {
            using Map = std::remove_pointer_t<decltype(kind)>;
            Map map;
            SCOPED_TRACE(map.GetSectionName());
            AddWithId(map, 1, L"tree");
            const std::string absent = TestId(2);
            EXPECT_EQ(ErrorOf([&] { map.GetUnit(absent); }),
                      "[CWorldMap::GetUnit] Unit not found [" + absent + "]");
            typename Map::ManagedEntity* concrete = nullptr;
            EXPECT_EQ(ErrorOf([&] { map.GetUnit(absent, concrete); }),
                      "[CWorldMap::GetUnit] Unit not found [" + absent + "]");
            IEntityInterface* copy = nullptr;
            EXPECT_EQ(ErrorOf([&] { map.CopyUnit(absent, copy); }),
                      "[CWorldMap::CopyUnit] Unit not found [" + absent + "]");
            EXPECT_EQ(map.GetCount(), 1u);
            EXPECT_FALSE(map.Exists(absent));
            EXPECT_EQ(map.FindUnit(absent), nullptr);
            EXPECT_FALSE(map.IsSelected(absent));
            map.GetUnit(TestId(1), concrete);
            EXPECT_EQ(static_cast<IEntityInterface*>(concrete), map.GetUnit(TestId(1)));
            EXPECT_STREQ(map.GetTypeName(), "KVOWORLDMAP");
        });
}

TEST(WorldMapCollectionTest, CreateAddAndCopyStoreCopiesUnderTheirIds)
{
    CWaypointMap waypoints;
    IEntityInterface* first = nullptr;
    IEntityInterface* second = nullptr;
    waypoints.CreateUnit(first);
    waypoints.CreateUnit(second);
    EXPECT_EQ(waypoints.GetCount(), 2u);
    EXPECT_STRNE(first->GetId(), second->GetId());
    EXPECT_EQ(first->GetName(), second->GetName());
    EXPECT_EQ(waypoints.GetSelectedCount(), 0u);

    // A present id keeps the stored entity, whatever the given one holds.
    CManagedEntity<Graphics::Scene::CGraphicalWaypoint> given;
    given.SetId(first->GetId());
    given.SetName(L"other");
    given.SetPosition(CVector(5, 5, 5));
    EXPECT_EQ(waypoints.AddUnit(given), first);
    EXPECT_EQ(first->GetName(), L"");
    EXPECT_EQ(first->GetPosition().x, 0.0f);

    // Copies keep the name, the settings and the connections, under new ids.
    auto* source = dynamic_cast<CManagedEntity<Graphics::Scene::CGraphicalWaypoint>*>(first);
    ASSERT_NE(source, nullptr);
    source->SetName(L"gate");
    source->SetWaypointType(L"door");
    CWaypointConnection connection;
    connection.SetWaypoint(second->GetId());
    connection.SetCost(2.5f);
    source->AddConnection(connection);
    IEntityInterface* copy = nullptr;
    waypoints.CopyUnit(first->GetId(), copy);
    IEntityInterface* copyOfCopy = nullptr;
    waypoints.CopyUnit(copy->GetId(), copyOfCopy);
    EXPECT_EQ(waypoints.GetCount(), 4u);
    for (IEntityInterface* made : {copy, copyOfCopy})
    {
        EXPECT_NE(made, first);
        EXPECT_TRUE(waypoints.Exists(made->GetId()));
        EXPECT_EQ(made->GetName(), L"gate");
        const auto& waypoint = dynamic_cast<CManagedEntity<Graphics::Scene::CGraphicalWaypoint>&>(*made);
        EXPECT_EQ(waypoint.GetWaypointType(), L"door");
        ASSERT_EQ(waypoint.GetConnections().size(), 1u);
        EXPECT_EQ(waypoint.GetConnections()[0].GetWaypoint(), second->GetId());
        EXPECT_FALSE(waypoints.IsSelected(made->GetId()));
    }
    EXPECT_STRNE(copy->GetId(), first->GetId());
    EXPECT_STRNE(copyOfCopy->GetId(), copy->GetId());

    // Stored entities never move, however many come after them.
    for (unsigned number = 0; number < 500; ++number)
        AddWithId(waypoints, 1000 + number);
    EXPECT_EQ(waypoints.GetUnit(source->GetId()), first);
    EXPECT_EQ(first->GetName(), L"gate");
}

TEST(WorldMapCollectionTest, RemovedAndClearedEntitiesLeaveTheirEngines)
{
    Simulation::CSimulationManager manager;
    CPhysicsEngine physics(&manager);
    ASSERT_TRUE(physics.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
    CUnitMap units;
    auto attach = [&](unsigned number)
    {
        IEntityInterface* entity = AddWithId(units, number);
        entity->GetPhysicalPart()->SetMass(1.0f);
        physics.AddEntity(entity->GetPhysicalPart());
    };
    attach(1);
    attach(2);
    attach(3);
    ASSERT_EQ(physics.GetParts().GetCount(), 3u);
    units.RemoveUnit(TestId(2));
    EXPECT_EQ(physics.GetParts().GetCount(), 2u);
    units.Clear();
    EXPECT_EQ(physics.GetParts().GetCount(), 0u);
    // A physics step finds nothing that is gone.
    physics.Step();
}

TEST(WorldMapCollectionTest, IteratorsWalkInIdOrderAndStopAtTheEdges)
{
    CLightMap lights;
    CWorldMapEntityIterator* iterator = nullptr;
    ASSERT_TRUE(lights.CreateIterator(iterator));
    std::unique_ptr<CWorldMapEntityIterator> owner(iterator);
    EXPECT_TRUE(iterator->IsFirst()) << "empty";
    EXPECT_TRUE(iterator->IsDone());
    EXPECT_TRUE(iterator->IsValid());

    for (unsigned number : {2u, 3u, 1u})
        AddWithId(lights, number);
    // The old iterator goes when a new one takes its place.
    ASSERT_TRUE(lights.CreateIterator(iterator, TestId(9)));
    owner.release();
    owner.reset(iterator);
    EXPECT_TRUE(iterator->IsDone()) << "absent start id";
    EXPECT_EQ(iterator->CurrentItem(), nullptr);
    iterator->Next();
    EXPECT_TRUE(iterator->IsDone());

    ASSERT_TRUE(lights.CreateIterator(iterator, TestId(2)));
    owner.release();
    owner.reset(iterator);
    EXPECT_STREQ(iterator->CurrentItem()->GetId(), TestId(2).c_str());
    EXPECT_FALSE(iterator->IsFirst());
    iterator->Previous();
    EXPECT_TRUE(iterator->IsFirst());
    iterator->Previous();
    EXPECT_STREQ(iterator->CurrentItem()->GetId(), TestId(1).c_str());

    // Every part yield walks the same entities in the same order.
    CWorldMapIterator<CPhysicalEntity>* physical = nullptr;
    CWorldMapIterator<CSonicEntity>* sonic = nullptr;
    CWorldMapIterator<Graphics::Scene::CGraphicalEntity>* graphical = nullptr;
    ASSERT_TRUE(CreatePhysicalIterator(lights, physical));
    ASSERT_TRUE(CreateSonicIterator(lights, sonic));
    ASSERT_TRUE(CreateGraphicalIterator(lights, graphical, TestId(1)));
    std::vector<std::string> walked;
    for (iterator->First(); !iterator->IsDone(); iterator->Next())
    {
        IEntityInterface* entity = iterator->CurrentItem();
        walked.push_back(entity->GetId());
        EXPECT_EQ(physical->CurrentItem(), entity->GetPhysicalPart());
        EXPECT_EQ(sonic->CurrentItem(), entity->GetSonicPart());
        EXPECT_EQ(graphical->CurrentItem(), entity->GetGraphicalPart());
        physical->Next();
        sonic->Next();
        graphical->Next();
    }
    EXPECT_EQ(walked, (std::vector<std::string>{TestId(1), TestId(2), TestId(3)}));
    EXPECT_TRUE(physical->IsDone() && sonic->IsDone() && graphical->IsDone());
    iterator->End();
    iterator->Previous();
    EXPECT_STREQ(iterator->CurrentItem()->GetId(), TestId(3).c_str());
    delete physical;
    delete sonic;
    delete graphical;
}

TEST(WorldMapCollectionTest, SetVisibleReachesTheEntitiesHeldThen)
{
    CBillboardMap billboards;
    IEntityInterface* before = AddWithId(billboards, 1);
    billboards.SetVisible(false);
    IEntityInterface* after = AddWithId(billboards, 2);
    EXPECT_FALSE(billboards.IsVisible());
    EXPECT_FALSE(before->GetGraphicalPart()->IsVisible());
    EXPECT_TRUE(after->GetGraphicalPart()->IsVisible());
}

const EForm kForms[] = {EForm::Text, EForm::Binary, EForm::Compressed};

TEST(WorldMapCollectionTest, EveryKindsSectionComesBackInEveryForm)
{
    CTestFolder folder;
    ForEachWorldMapKind(
        [&](auto* kind)
        {
            using Map = std::remove_pointer_t<decltype(kind)>;
            for (const EForm form : kForms)
            {
                Map saved;
                SCOPED_TRACE(saved.GetSectionName() + " " + FormName(form));
                // Added and selected against the id order; the same name twice.
                AddWithId(saved, 7, L"twin");
                AddWithId(saved, 5, L"twin");
                saved.Select(TestId(7));
                const std::string bytes = Save(folder, saved, form);
                Map read;
                ASSERT_EQ(Load(folder, read, bytes, form), "");
                EXPECT_EQ(IdsOf(read), (std::vector<std::string>{TestId(5), TestId(7)}));
                EXPECT_EQ(read.GetUnit(TestId(7))->GetName(), L"twin");
                EXPECT_EQ(read.GetSelectedCount(), 0u);
                EXPECT_EQ(Save(folder, read, form), bytes);

                // Reading adds to what is there; present ids keep their entity.
                Map holding;
                AddWithId(holding, 7, L"kept");
                AddWithId(holding, 9);
                ASSERT_EQ(Load(folder, holding, bytes, form), "");
                EXPECT_EQ(IdsOf(holding), (std::vector<std::string>{TestId(5), TestId(7), TestId(9)}));
                EXPECT_EQ(holding.GetUnit(TestId(7))->GetName(), L"kept");

                Map empty;
                const std::string emptyBytes = Save(folder, empty, form);
                ASSERT_EQ(Load(folder, read, emptyBytes, form), "");
                EXPECT_EQ(read.GetCount(), 2u);
            }
        });
}

TEST(WorldMapCollectionTest, TheTextSectionReadsAsWritten)
{
    CTestFolder folder;
    CLightMap lights;
    // An empty collection still writes its opening and closing lines.
    const std::string empty = Save(folder, lights, EForm::Text);
    EXPECT_NE(empty.find("\nLights{\r\n"), std::string::npos) << empty;
    EXPECT_EQ(empty.find("Light{"), std::string::npos);
    EXPECT_EQ(empty.substr(empty.find_last_not_of("\r\n\t ")), "}\r\n");
    AddWithId(lights, 2, L"second");
    AddWithId(lights, 1, L"first");
    const std::string text = Save(folder, lights, EForm::Text);
    size_t at = 0;
    for (const std::string& line : {std::string("\nLights{"), std::string("\n\tLight{"), "\t-Id " + TestId(1),
                                    std::string("\n\tLight{"), "\t-Id " + TestId(2), std::string("\n}\r\n")})
    {
        const size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " after " << at << " in\n" << text;
        at = found + 1;
    }

    // Two blocks with one id load as one entity: the first.
    const std::string doubled = ReplaceFirst(text, "-Id " + TestId(2), "-Id " + TestId(1));
    CLightMap read;
    ASSERT_EQ(Load(folder, read, doubled, EForm::Text), "");
    ASSERT_EQ(read.GetCount(), 1u);
    EXPECT_EQ(read.GetUnit(TestId(1))->GetName(), L"first");
}

TEST(WorldMapCollectionTest, ASectionMustOpenAndEndAsItsOwn)
{
    CTestFolder folder;
    CUnitMap units;
    AddWithId(units, 1);
    AddWithId(units, 2);
    const std::string text = Save(folder, units, EForm::Text);
    CLightMap lights;
    AddWithId(lights, 3);
    const std::string lightText = Save(folder, lights, EForm::Text);
    const size_t lightBlock = lightText.find("Light{");
    const std::string lightBlockText = lightText.substr(lightBlock, lightText.rfind('}') - lightBlock);
    const size_t secondBlock = text.find("Unit{", text.find("Unit{") + 1);

    struct SCase
    {
        const char* name;
        std::string bytes;
        const char* error;
    };
    const SCase cases[] = {
        {"another section's name", ReplaceFirst(text, "Units{", "Lights{"), "Expected:Units{"},
        {"a block of another kind", text.substr(0, secondBlock) + lightBlockText + text.substr(secondBlock),
         "Expected:}"},
        {"no closing brace", text.substr(0, text.rfind('}')), "Expected:}"},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        CUnitMap read;
        const std::string error = Load(folder, read, test.bytes, EForm::Text);
        EXPECT_NE(error.find("Error reading:"), std::string::npos) << error;
        EXPECT_NE(error.find(test.error), std::string::npos) << error;
    }

    // Another collection's section, in either form of archive.
    for (const EForm form : {EForm::Text, EForm::Binary})
    {
        SCOPED_TRACE(FormName(form));
        CUnitMap read;
        const std::string error = Load(folder, read, Save(folder, lights, form), form);
        EXPECT_NE(error.find("Error reading:"), std::string::npos) << error;
        EXPECT_EQ(read.GetCount(), 0u);
    }
}

// A seeded run of damaged sections: every read either throws the engine's
// error or gives a collection that saves again.
TEST(WorldMapCollectionTest, DamagedSectionsFailCleanly)
{
    CTestFolder folder;
    std::vector<std::pair<EForm, std::string>> saves;
    for (const EForm form : kForms)
    {
        CWaypointMap waypoints;
        for (unsigned number : {1u, 2u, 3u})
        {
            auto* waypoint = dynamic_cast<CManagedEntity<Graphics::Scene::CGraphicalWaypoint>*>(
                AddWithId(waypoints, number, L"w\u00e9"));
            CWaypointConnection connection;
            connection.SetWaypoint(TestId(number % 3 + 1));
            waypoint->AddConnection(connection);
        }
        saves.emplace_back(form, Save(folder, waypoints, form));
    }
    std::mt19937 random(20261210);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    size_t reads = 0;
    size_t accepted = 0;
    while (reads < 1500 && std::chrono::steady_clock::now() < deadline)
    {
        for (const auto& [form, bytes] : saves)
        {
            CWaypointMap read;
            if (Load(folder, read, Mutate(bytes, random), form).empty())
            {
                ++accepted;
                Save(folder, read, form);
            }
            ++reads;
        }
    }
    std::printf("%zu damaged sections read, %zu accepted\n", reads, accepted);
    EXPECT_GE(reads, saves.size());
}

} // namespace
