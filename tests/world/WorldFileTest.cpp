// The world file: hand-written bodies of each layout, a populated world
// through every archive mode and back, the stored names around loads and
// saves, the folder copy, and a fuzz run over damaged files.
#include "WorldFixture.h"

#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/KVOError.h"
#include "sound/WaveBuilder.h"
#include "support/EventListener.h"

#include <filesystem>
#include <random>

#include <irrlicht.h>

namespace fs = std::filesystem;
using Misc::World::IEntityInterface;

namespace
{

const char* const kLightA = "00000000-0000-4000-8000-00000000001a";
const char* const kLightB = "00000000-0000-4000-8000-00000000001b";
const char* const kCamera = "00000000-0000-4000-8000-00000000002c";
const char* const kWaypoints[] = {"00000000-0000-4000-8000-000000000031",
                                  "00000000-0000-4000-8000-000000000032",
                                  "00000000-0000-4000-8000-000000000033"};
const char* const kUnit = "00000000-0000-4000-8000-00000000004d";
const char* const kParent = "00000000-0000-4000-8000-00000000004e";
const char* const kMissing = "00000000-0000-4000-8000-0000000000ff";

const char* const kSections[] = {"Cursors", "Cameras",  "Lights",    "ParticleSystems", "Units", "Billboards",
                                 "Waters",  "Terrains", "Waypoints", "Triggers",        "Agents"};

// A hand-written body: the head with the version, the engines' records
// where the layout has them, fog, sky, data and the sections in the order
// given.
std::string HandWritten(uint32_t version, const std::vector<std::string>& sections)
{
    const bool newLayout = version == 0 || version >= 1010;
    std::string text = "KVOWORLDDATA\r\nVersion{\r\n-Version " + std::to_string(version) + "\r\n}\r\n";
    text += "-Script \"level\"\r\n";
    if (newLayout)
        text += "GraphicsTypes{\r\n}\r\nPhysicsTypes{\r\n}\r\nSoundTypes{\r\n}\r\n";
    text += "Fog{\r\n-Start 1.5\r\n-End 9\r\n-Color 0.25 0.5 0.75 1\r\n}\r\n";
    text += "Sky{\r\n-Enabled 0\r\n";
    if (version == 0 || version >= 1019) // skies of older files are boxes
        text += "-Type box\r\n-Dome \"\"\r\n-DomeHRes 64\r\n-DomeVRes 64\r\n-DomePercentage 1\r\n"
                "-DomeSpherePercentage 1\r\n";
    text += "-Front \"\"\r\n-Back \"\"\r\n-Left \"\"\r\n-Right \"\"\r\n-Top \"\"\r\n-Bottom \"\"\r\n}\r\n";
    if (!newLayout)
        text += "PhysicsTypes{\r\n}\r\n";
    text += "Data{\r\n}\r\n";
    for (const std::string& section : sections)
        text += section + "{\r\n}\r\n";
    return text;
}

std::vector<std::string> AllSections()
{
    return std::vector<std::string>(std::begin(kSections), std::end(kSections));
}

// A world of every interesting part, built with the engines running: two
// lights of one name, a camera, three waypoints of which the last leads to
// a missing one, a unit with data hanging under another, and a sound.
void Populate(CWorldFixture& f)
{
    f.StartAll();
    CWorldData& data = f.data;
    for (const char* id : {kLightA, kLightB})
    {
        CLightMap::ManagedEntity light;
        light.SetId(id);
        light.SetName(L"lamp");
        data.GetLights().AddUnit(light);
    }
    CCameraMap::ManagedEntity camera;
    camera.SetId(kCamera);
    camera.SetName(L"eye");
    data.GetCameras().AddUnit(camera);
    for (int i = 0; i < 3; ++i)
    {
        CWaypointMap::ManagedEntity waypoint;
        waypoint.SetId(kWaypoints[i]);
        CWaypointConnection connection;
        connection.SetId(std::string("00000000-0000-4000-8000-00000000005") + char('0' + i));
        connection.SetWaypoint(i < 2 ? kWaypoints[i + 1] : kMissing);
        connection.SetCost(1.5f * static_cast<float>(i));
        waypoint.AddConnection(connection);
        data.GetWaypoints().AddUnit(waypoint);
    }
    CUnitMap::ManagedEntity unit;
    unit.SetId(kParent);
    unit.SetName(L"cart");
    data.GetUnits().AddUnit(unit);
    unit.SetId(kUnit);
    unit.SetName(L"crate");
    unit.GetData().Set(L"contents", L"apples");
    data.GetUnits().AddUnit(unit);
    data.GetDataBag().SetInt(L"level", 3);
    f.world->LoadGraphics(L"");
    f.world->LoadPhysics(L"");
    f.world->LoadSound(L"");
    IEntityInterface* child = data.GetGroup().GetUnit(kUnit);
    data.GetGroup().GetUnit(kParent)->GetGraphicalPart()->AttachChild(child->GetGraphicalPart(), "");

    f.folder.Write("beep.wav",
                   Riff({Chunk("fmt ", PcmHeader(1, 8000, 16)), Chunk("data", CountingSamples(64))}));
    std::string name = "beep";
    CSound* sound = nullptr;
    ASSERT_TRUE(f.sound->LoadSound(name, sound, f.folder.Wide("beep.wav"), false, 0.0f, 0));
}

} // namespace

TEST(WorldFileTest, HandWrittenLayoutsLoadAndSectionsOutOfPlaceFail)
{
    std::vector<std::string> swapped = AllSections();
    std::swap(swapped[3], swapped[4]);
    std::vector<std::string> missing = AllSections();
    missing.pop_back();
    struct SCase
    {
        const char* name;
        uint32_t version;
        std::vector<std::string> sections;
        bool loads;
    } cases[] = {
        {"current", 1030, AllSections(), true},
        {"1010 with the engines' records", 1010, AllSections(), true},
        {"1009 with physics after the sky", 1009, AllSections(), true},
        {"version 0 reads the new layout", 0, AllSections(), true},
        {"sections out of order", 1030, swapped, false},
        {"a section missing", 1030, missing, false},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CWorldFixture f;
        f.folder.Write("w/world.kvoworld", HandWritten(c.version, c.sections));
        if (!c.loads)
        {
            EXPECT_THROW(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", false, true),
                         Misc::Error::CKVOError);
            EXPECT_EQ(f.data.GetPath(), L"");
            continue;
        }
        ASSERT_TRUE(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", false, true));
        EXPECT_EQ(f.data.GetScript(), L"level");
        EXPECT_EQ(f.data.GetFog().GetEnd(), 9.0f);
        EXPECT_FALSE(f.data.GetSky().IsEnabled());
        EXPECT_EQ(f.data.GetPath(), f.folder.Wide("w"));
        EXPECT_EQ(f.data.GetDataFilename(), L"world.kvoworld");
    }
}

TEST(WorldFileTest, APopulatedWorldGoesThroughEveryModeByteForByte)
{
    std::string original;
    CTestFolder folder;
    {
        CWorldFixture f;
        Populate(f);
        ASSERT_TRUE(f.world->Save(folder.Wide("text"), L"world.kvoworld", "UTF8", false));
        original = CWorldFixture::Bytes(folder / "text/world.kvoworld");
        f.world->Unload();
    }
    // The links and the sound are in the file.
    EXPECT_NE(original.find("-ParentId " + std::string(kParent)), std::string::npos);
    EXPECT_NE(original.find("beep"), std::string::npos);
    EXPECT_NE(original.find(kMissing), std::string::npos);

    // Neither graphics nor sound runs here: the link and the sound stay
    // pending and are written back as they were read.
    CWorldFixture f;
    f.StartPhysics();
    const struct
    {
        const char* from;
        const char* to;
        const char* mode;
        const char* magic;
    } steps[] = {{"text", "binary", "BINARY", "KVOBIN"},
                 {"binary", "compressed", "COMPRESSED", "KVOCMP"},
                 {"compressed", "again", "UTF8", "\xEF\xBB\xBFKVOWORLDDATA"}};
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.mode);
        ASSERT_TRUE(f.world->Load(folder.Wide(step.from), L"world.kvoworld", L"", false, true));
        EXPECT_EQ(f.data.GetLights().GetCount(), 2u);
        EXPECT_EQ(f.data.GetWaypoints().GetCount(), 3u);
        ASSERT_TRUE(f.world->Save(folder.Wide(step.to), L"world.kvoworld", step.mode, false));
        EXPECT_EQ(
            CWorldFixture::Bytes(folder / (std::string(step.to) + "/world.kvoworld")).rfind(step.magic, 0),
            0u);
        f.world->Unload();
    }
    EXPECT_EQ(CWorldFixture::Bytes(folder / "again/world.kvoworld"), original);

    // With the graphics running the link hangs the unit under its parent.
    f.StartGraphics();
    ASSERT_TRUE(f.world->Load(folder.Wide("again"), L"world.kvoworld", L"", false, true));
    std::string parent;
    ASSERT_TRUE(f.data.GetUnits().GetUnit(kUnit)->GetGraphicalPart()->GetAttachmentParent(parent));
    EXPECT_EQ(parent, kParent);
    std::wstring contents;
    EXPECT_TRUE(f.data.GetUnits().GetUnit(kUnit)->GetData().Get(L"contents", contents));
    EXPECT_EQ(contents, L"apples");
}

// Cameras are entities like the others: a unit carried by a camera (a
// weapon in view) and a camera carried by a unit (a driver's view) keep
// their links through a save and a load.
TEST(WorldFileTest, LinksToAndFromACameraAreSaved)
{
    CTestFolder folder;
    {
        CWorldFixture f;
        Populate(f);
        IEntityInterface* camera = f.data.GetGroup().GetUnit(kCamera);
        IEntityInterface* parent = f.data.GetGroup().GetUnit(kParent);
        IEntityInterface* unit = f.data.GetGroup().GetUnit(kUnit);
        camera->GetGraphicalPart()->AttachChild(unit->GetGraphicalPart(), "");
        parent->GetGraphicalPart()->AttachChild(camera->GetGraphicalPart(), "");
        ASSERT_TRUE(f.world->Save(folder.Wide("w"), L"world.kvoworld", "UTF8", false));
        f.world->Unload();
    }
    CWorldFixture f;
    f.StartGraphics();
    ASSERT_TRUE(f.world->Load(folder.Wide("w"), L"world.kvoworld", L"", false, true));
    std::string parent;
    ASSERT_TRUE(f.data.GetUnits().GetUnit(kUnit)->GetGraphicalPart()->GetAttachmentParent(parent));
    EXPECT_EQ(parent, kCamera);
    ASSERT_TRUE(f.data.GetCameras().GetUnit(kCamera)->GetGraphicalPart()->GetAttachmentParent(parent));
    EXPECT_EQ(parent, kParent);
}

// A camera riding on a unit that goes stays in the scene, under the root,
// as every other entity hung on it does.
TEST(WorldFileTest, ACameraOnARemovedUnitStaysInTheScene)
{
    CWorldFixture f;
    Populate(f);
    IEntityInterface* camera = f.data.GetGroup().GetUnit(kCamera);
    IEntityInterface* parent = f.data.GetGroup().GetUnit(kParent);
    parent->GetGraphicalPart()->AttachChild(camera->GetGraphicalPart(), "");
    f.graphics->Remove(parent->GetGraphicalPart());
    irr::scene::ISceneNode* node = camera->GetGraphicalPart()->GetSceneNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getParent(), node->getSceneManager()->getRootSceneNode());
}

TEST(WorldFileTest, ALinkToAMissingEntityIsSkippedAndTheLoadCompletes)
{
    CWorldFixture f;
    f.StartGraphics();
    std::string text = HandWritten(1030, AllSections());
    const std::string link = std::string("GraphicsTypes{\r\nJoint{\r\n-Id \"") + kMissing +
                             "\"\r\n-ParentId \"" + kLightA + "\"\r\n}\r\n}\r\n";
    text.replace(text.find("GraphicsTypes{\r\n}\r\n"), 18, link);
    f.folder.Write("w/world.kvoworld", text);
    CEventListener<Misc::Multicast::Kind::WorldLoad> loads;
    EXPECT_TRUE(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", false, true));
    EXPECT_EQ(loads.events.size(), 1u);
    EXPECT_TRUE(f.graphics->GetJointMap().empty());
}

TEST(WorldFileTest, StoredNamesFollowForcedAndSuccessfulLoadsOnly)
{
    CWorldFixture f;
    f.folder.Write("a/world.kvoworld", HandWritten(1030, AllSections()));
    f.folder.Write("b/other.kvoworld", HandWritten(1030, AllSections()));
    f.folder.Write("bad/world.kvoworld",
                   "KVOWORLDDATA\r\nVersion{\r\n-Version 1030\r\n}\r\n-Script x\r\nFog{");
    ASSERT_TRUE(f.world->Load(f.folder.Wide("a"), L"world.kvoworld", L"", false, false));
    // Not forced: the second world is read, the first one's names stay.
    ASSERT_TRUE(f.world->Load(f.folder.Wide("b"), L"other.kvoworld", L"", false, false));
    EXPECT_EQ(f.data.GetPath(), f.folder.Wide("a"));
    EXPECT_EQ(f.data.GetDataFilename(), L"world.kvoworld");
    // Forced, but failing: the names stay too.
    EXPECT_FALSE(f.world->Load(f.folder.Wide("none"), L"world.kvoworld", L"", false, true));
    EXPECT_ANY_THROW(f.world->Load(f.folder.Wide("bad"), L"world.kvoworld", L"", false, true));
    EXPECT_EQ(f.data.GetPath(), f.folder.Wide("a"));
    ASSERT_TRUE(f.world->Load(f.folder.Wide("b"), L"other.kvoworld", L"", false, true));
    EXPECT_EQ(f.data.GetPath(), f.folder.Wide("b"));
    EXPECT_EQ(f.data.GetDataFilename(), L"other.kvoworld");
}

TEST(WorldFileTest, SavingCopiesTheOldFolderOnlyWhereThereIsAnotherOne)
{
    struct SCase
    {
        const char* name;
        const char* loadedFrom; // "" for a world never loaded
        const char* saveTo;
        // Whether the old folder's mesh is in the folder saved to after.
        bool hasMesh;
    } cases[] = {
        {"never loaded", "", "new", false},
        {"the same folder", "old", "old", true},
        {"the same folder spelled otherwise", "old", "old/./meshes/..//", true},
        {"the same folder through a link", "old", "link", true},
        {"a folder inside the old one", "old", "old/sub", false},
        {"another folder", "old", "new", true},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CWorldFixture f;
        f.folder.Write("old/world.kvoworld", HandWritten(1030, AllSections()));
        f.folder.Write("old/meshes/box.txt", "box");
        fs::create_directory_symlink(f.folder.Path() / "old", f.folder.Path() / "link");
        if (*c.loadedFrom != '\0')
        {
            ASSERT_TRUE(f.world->Load(f.folder.Wide(c.loadedFrom), L"world.kvoworld", L"", false, true));
        }
        f.folder.Write("new/world.kvoworld", "old contents");
        ASSERT_TRUE(f.world->Save(f.folder.Wide(c.saveTo), L"world.kvoworld", "UTF8", true));
        EXPECT_EQ(f.data.GetPath(), f.folder.Wide(c.saveTo));
        const fs::path saved = f.folder.Path() / c.saveTo;
        EXPECT_EQ(fs::exists(saved / "meshes/box.txt"), c.hasMesh);
        EXPECT_EQ(
            CWorldFixture::Bytes((saved / "world.kvoworld").string()).rfind("\xEF\xBB\xBFKVOWORLDDATA", 0),
            0u);
    }
}

TEST(WorldFileTest, AFailedSaveKeepsTheStoredNamesAndTheOldFile)
{
    CWorldFixture f;
    f.folder.Write("old/world.kvoworld", HandWritten(1030, AllSections()));
    ASSERT_TRUE(f.world->Load(f.folder.Wide("old"), L"world.kvoworld", L"", false, true));
    f.folder.Write("blocked", "a file where a folder should be");
    fs::create_directories(f.folder.Path() / "taken/world.kvoworld");
    CEventListener<Misc::Multicast::Kind::WorldSave> saves;
    EXPECT_FALSE(f.world->Save(f.folder.Wide("blocked/w"), L"world.kvoworld", "BINARY", false));
    EXPECT_FALSE(f.world->Save(f.folder.Wide("taken"), L"world.kvoworld", "BINARY", false));
    // The old folder is gone: copying it fails before anything is written.
    f.folder.Write("target/world.kvoworld", "kept");
    fs::rename(f.folder.Path() / "old", f.folder.Path() / "moved");
    EXPECT_FALSE(f.world->Save(f.folder.Wide("target"), L"world.kvoworld", "UTF8", true));
    EXPECT_EQ(CWorldFixture::Bytes(f.folder / "target/world.kvoworld"), "kept");
    EXPECT_EQ(saves.events.size(), 3u); // announced whatever the outcome
    EXPECT_EQ(f.data.GetPath(), f.folder.Wide("old"));
    EXPECT_EQ(f.data.GetDataFilename(), L"world.kvoworld");
}

TEST(WorldFileTest, PathsOfTheWorldAndItsScript)
{
    CWorldFixture f;
    const std::wstring current = CCurrentDirectory().Get();
    f.data.SetPath(L"maps\\level1/");
    EXPECT_EQ(f.data.GetPathLong(), current + L"/maps/level1");
    f.data.SetPath(L"/games/./maps//level1/");
    EXPECT_EQ(f.data.GetPathLong(), L"/games/maps/level1");

    const struct
    {
        const wchar_t* script;
        const wchar_t* path;
    } scripts[] = {
        {L"world", L"/games/maps/level1/world"},
        {L"scripts\\main.lua", L"/games/maps/level1/scripts/main.lua"},
        {L"a/../b.lua", L"/games/maps/level1/b.lua"},
        {L"../level2/world", L""},
        {L"/etc/passwd", L""},
        {L"a/../../x", L""},
        {L".", L""},
    };
    for (const auto& s : scripts)
    {
        f.data.SetScript(s.script);
        EXPECT_EQ(f.data.GetScriptPath(), s.path)
            << std::string(s.script, s.script + wcslen(s.script)).c_str();
    }
    f.data.SetScript(L"");
    EXPECT_EQ(f.data.GetScript(), L".");
}

TEST(WorldFileTest, DamagedFilesFailCleanly)
{
    CTestFolder folder;
    std::vector<std::string> seeds;
    {
        CWorldFixture f;
        Populate(f);
        for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
        {
            ASSERT_TRUE(f.world->Save(folder.Wide(mode), L"world.kvoworld", mode, false));
            seeds.push_back(CWorldFixture::Bytes(folder / (std::string(mode) + "/world.kvoworld")));
        }
        f.world->Unload();
    }
    CWorldFixture f;
    std::mt19937 random(45);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int runs = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        std::string bytes = seeds[random() % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < edits && !bytes.empty(); ++i)
        {
            const size_t at = random() % bytes.size();
            switch (random() % 3)
            {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes.erase(at, 1 + random() % 16);
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        folder.Write("fuzz/world.kvoworld", bytes);
        try
        {
            f.world->Load(folder.Wide("fuzz"), L"world.kvoworld", L"", false, true);
        }
        catch (const Misc::Error::CKVOError&)
        {
        }
        f.world->Unload();
        ++runs;
    }
    EXPECT_GT(runs, 10);
}
