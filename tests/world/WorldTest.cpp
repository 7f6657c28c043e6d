// The world object: the load phases and their events, what each engine gets
// and gives back, the search path, the active camera and the waypoint
// connections; and the engines and the world going in every order.
#include "WorldFixture.h"

#include "support/EventListener.h"

#include <algorithm>
#include <irrlicht.h>

namespace Kind = Misc::Multicast::Kind;
using Misc::World::IEntityInterface;

namespace
{

// The names of the world channels in the order their events came.
struct SWorldEvents
{
    template <class K> struct CNote : Misc::Multicast::CSubscriberOf<K>
    {
        CNote(std::vector<std::string>& into, const char* channel) : log(into), name(channel)
        {
            Misc::Multicast::CMulticastOf<K>::Subscribe(this, 0);
        }
        ~CNote() override { Misc::Multicast::CMulticastOf<K>::Unsubscribe(this); }
        bool OnEvent(const CEvtWorld&) override
        {
            log.push_back(name);
            return false;
        }
        std::vector<std::string>& log;
        const char* name;
    };
    std::vector<std::string> log;
    CNote<Kind::WorldSave> save{log, "save"};
    CNote<Kind::WorldDataLoad> data{log, "data"};
    CNote<Kind::WorldGraphicsLoad> graphics{log, "graphics"};
    CNote<Kind::WorldPhysicsLoad> physics{log, "physics"};
    CNote<Kind::WorldSoundLoad> sound{log, "sound"};
    CNote<Kind::WorldLoad> load{log, "load"};
    CNote<Kind::WorldUnload> unload{log, "unload"};
};

// A unit and a cursor of mass 1, and a disabled sky: saved into the folder
// "w" as "world.kvoworld".
void SaveSmallWorld(CWorldFixture& f, float fogStart, float fogEnd)
{
    CUnitMap::ManagedEntity unit;
    unit.SetId("00000000-0000-4000-8000-000000000001");
    unit.SetMass(1.0f);
    f.data.GetUnits().AddUnit(unit);
    CCursorMap::ManagedEntity cursor;
    cursor.SetId("00000000-0000-4000-8000-000000000002");
    cursor.SetMass(1.0f);
    f.data.GetCursors().AddUnit(cursor);
    f.data.GetFog().SetColor(CColor(0.25f, 0.5f, 0.75f, 1.0f));
    f.data.GetFog().SetStart(fogStart);
    f.data.GetFog().SetEnd(fogEnd);
    f.data.GetSky().SetEnabled(false);
    ASSERT_TRUE(f.world->Save(f.folder.Wide("w"), L"world.kvoworld", "BINARY", false));
    f.data.Clear();
}

} // namespace

TEST(WorldTest, LoadAnnouncesEachPhaseOfARunningEngine)
{
    const struct
    {
        bool sound;
        std::vector<std::string> expected;
    } cases[] = {
        {true, {"save", "data", "graphics", "physics", "sound", "load", "unload"}},
        {false, {"save", "data", "graphics", "physics", "load", "unload"}},
    };
    for (const auto& c : cases)
    {
        CWorldFixture f;
        f.StartGraphics();
        f.StartPhysics();
        if (c.sound)
            f.StartSound();
        SWorldEvents events;
        SaveSmallWorld(f, 0.0f, 0.0f);
        // Nothing is announced for a load that cannot start.
        EXPECT_FALSE(f.world->Load(L"", L"world.kvoworld", L"", true, true));
        EXPECT_FALSE(f.world->Load(f.folder.Wide("w"), L"", L"", true, true));
        EXPECT_FALSE(f.world->Load(f.folder.Wide("none"), L"world.kvoworld", L"", true, true));
        ASSERT_TRUE(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", false, true));
        f.world->Unload();
        EXPECT_EQ(events.log, c.expected);
    }
}

TEST(WorldTest, EnginesGetThePartsTheLoadHandsThem)
{
    const struct
    {
        const char* name;
        float fogStart;
        float fogEnd;
        bool fogApplied;
    } cases[] = {{"fog with an end", 10.0f, 50.0f, true},
                 {"fog ending where it starts", 10.0f, 10.0f, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CWorldFixture f;
        f.StartAll();
        SaveSmallWorld(f, c.fogStart, c.fogEnd);
        ASSERT_TRUE(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", false, true));
        IEntityInterface* unit = f.data.GetUnits().GetUnit("00000000-0000-4000-8000-000000000001");
        IEntityInterface* cursor = f.data.GetCursors().GetUnit("00000000-0000-4000-8000-000000000002");
        EXPECT_TRUE(unit->GetPhysicalPart()->GetEngine() != nullptr);
        EXPECT_FALSE(cursor->GetPhysicalPart()->GetEngine() != nullptr); // cursors get no bodies
        EXPECT_NE(cursor->GetGraphicalPart()->GetEngine(), nullptr);
        EXPECT_NE(cursor->GetSonicPart()->GetSoundEngine(), nullptr);
        EXPECT_EQ(f.data.GetSky().GetGraphicalPart()->GetEngine(), nullptr); // a disabled sky stays out

        irr::video::SColor color;
        irr::video::E_FOG_TYPE type;
        float start = 0.0f, end = 0.0f, density = 0.0f;
        bool pixel = false, range = false;
        f.graphics->GetDevice()->getVideoDriver()->getFog(color, type, start, end, density, pixel, range);
        EXPECT_EQ(end == 50.0f, c.fogApplied);
        // Ambient and back colours take the fog's colour either way.
        EXPECT_FLOAT_EQ(f.graphics->GetBackColor().b, 0.75f);
        EXPECT_NEAR(f.graphics->GetAmbientColor().g, 0.5f, 0.01f);

        f.world->Unload(); // the disabled sky is removed without complaint
        EXPECT_EQ(f.data.GetUnits().GetCount(), 0u);
        EXPECT_TRUE(f.physics->GetJoints().empty());
        EXPECT_FALSE(unit == nullptr);
    }
}

TEST(WorldTest, TheWorldsFolderIsASearchPathUntilUnload)
{
    CWorldFixture f;
    f.folder.Write("w/marker.txt", "here");
    f.folder.Write("x/marker2.txt", "here");
    CApplication* application = f.manager.GetApplication();
    ASSERT_EQ(application->GetFilenameFromFileSystem(L"marker.txt"), L"");
    // Even a load that finds no file leaves the existing folder searched.
    EXPECT_FALSE(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", true, true));
    EXPECT_NE(application->GetFilenameFromFileSystem(L"marker.txt"), L"");
    // Other keys stay.
    application->AddSearchPath(f.folder.Wide("x"), true, 7);
    f.world->Unload();
    EXPECT_EQ(application->GetFilenameFromFileSystem(L"marker.txt"), L"");
    EXPECT_NE(application->GetFilenameFromFileSystem(L"marker2.txt"), L"");
    EXPECT_EQ(CWorld::kWorldSearchPathKey, static_cast<int32_t>(0x80000001u));
}

TEST(WorldTest, ChangingTheActiveCameraWraps)
{
    const char* const a = "00000000-0000-4000-8000-00000000000a";
    const char* const b = "00000000-0000-4000-8000-00000000000b";
    const char* const c = "00000000-0000-4000-8000-00000000000c";
    const struct
    {
        std::vector<const char*> cameras;
        std::string active;
        bool forward;
        std::string expected;
    } cases[] = {
        {{a, b, c}, a, true, b},
        {{a, b, c}, c, true, a},
        {{a, b, c}, a, false, c},
        {{a, b, c}, b, false, a},
        {{a, b, c}, "", true, b},
        {{a, b, c}, "", false, c},
        {{a, b, c}, "gone", true, a},
        {{a, b, c}, "gone", false, c},
        {{a}, a, true, a},
        {{a}, a, false, a},
        {{a}, "", true, a},
        {{}, "", true, ""},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.active + (row.forward ? " forward" : " backward"));
        CWorldFixture f;
        f.StartGraphics();
        for (const char* id : row.cameras)
        {
            CCameraMap::ManagedEntity camera;
            camera.SetId(id);
            f.graphics->Add(f.data.GetCameras().AddUnit(camera)->GetGraphicalPart(), nullptr, "");
        }
        f.world->OnEvent(CEvtEntityPair{nullptr, row.active, ""});
        f.world->ChangeActiveCamera(row.forward);
        EXPECT_EQ(f.world->GetActiveCameraId(), row.expected.empty() ? row.active : row.expected);
    }
    CWorldFixture f;
    EXPECT_THROW(f.world->SetActiveCamera("gone"), Misc::Error::CKVOError);
}

TEST(WorldTest, DanglingWaypointConnectionsGoEvenSideBySide)
{
    CWorldFixture f;
    const char* const ids[] = {"00000000-0000-4000-8000-000000000001",
                               "00000000-0000-4000-8000-000000000002"};
    const char* const targets[] = {ids[1], "00000000-0000-4000-8000-0000000000f1",
                                   "00000000-0000-4000-8000-0000000000f2", ids[0]};
    CWaypointMap::ManagedEntity waypoint;
    waypoint.SetId(ids[0]);
    for (const char* target : targets)
    {
        CWaypointConnection connection;
        connection.SetWaypoint(target);
        waypoint.AddConnection(connection);
    }
    f.data.GetWaypoints().AddUnit(waypoint);
    waypoint.SetId(ids[1]);
    f.data.GetWaypoints().AddUnit(waypoint);
    f.data.RemoveInvalidWaypointConnections();
    for (const char* id : ids)
    {
        CWaypointMap::ManagedEntity* stored = nullptr;
        f.data.GetWaypoints().GetUnit(id, stored);
        ASSERT_EQ(stored->GetConnections().size(), 2u);
        EXPECT_EQ(stored->GetConnections()[0].GetWaypoint(), ids[1]);
        EXPECT_EQ(stored->GetConnections()[1].GetWaypoint(), ids[0]);
    }
}

TEST(WorldTest, EnginesAndTheWorldGoInAnyOrder)
{
    // Each permutation of the four parts is built and torn down with a
    // loaded world; the sanitizers watch for a part left pointing at a
    // destroyed one.
    CTestFolder folder;
    {
        CWorldFixture f;
        f.StartAll();
        SaveSmallWorld(f, 0.0f, 0.0f);
        std::filesystem::copy(f.folder.Path() / "w", folder.Path() / "w");
    }
    std::vector<int> order = {0, 1, 2, 3};
    do
    {
        Simulation::CSimulationManager manager(
            [&order](Simulation::CSimulationManager& m)
            {
                for (int part : order)
                {
                    if (part == 0)
                        m.AddSubEngine("graphics", m.Adopt(std::make_unique<Graphics::CGraphicsEngine>(&m)));
                    else if (part == 1)
                        m.AddSubEngine("physics", m.Adopt(std::make_unique<CPhysicsEngine>(&m)));
                    else if (part == 2)
                        m.AddSubEngine("sound", m.Adopt(std::make_unique<CSoundEngine>(&m)));
                    else
                        m.Adopt(std::make_unique<CWorld>(&m));
                }
            });
        ASSERT_TRUE(manager.GetPart<Graphics::CGraphicsEngine>()->Init("NULL", 64, 64, false, 16, false,
                                                                       false, false, 60, 0, 0, -1, -1, true));
        ASSERT_TRUE(
            manager.GetPart<CPhysicsEngine>()->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.5f, 1000.0f, false, 60, true));
        ASSERT_TRUE(manager.GetPart<CSoundEngine>()->Init("", 100, false));
        ASSERT_TRUE(manager.GetPart<CWorld>()->Load(folder.Wide("w"), L"world.kvoworld", L"", false, true));
    } while (std::next_permutation(order.begin(), order.end()));
}
