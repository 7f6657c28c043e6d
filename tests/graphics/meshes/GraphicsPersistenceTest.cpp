// The saved attachment tree ("GraphicsTypes{"): links of entities below
// entities and on their joints, written and read through text and binary
// archives, the version gates of older files, and a seeded mutation run of
// the reader. Also the mesh kinds' own blocks.

#include "graphics/scene/EntityArchive.h"
#include "support/JoinedEntity.h"
#include "support/NullGraphicsEngine.h"

#include "graphics/scene/GraphicalAgent.h"
#include "graphics/scene/GraphicalSky.h"
#include "graphics/scene/GraphicalTerrain.h"
#include "graphics/scene/GraphicalUnit.h"
#include "graphics/scene/GraphicalWater.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace
{

using namespace irr;
using namespace EntityArchive;
using Graphics::CGraphicsEngine;

using CTestUnit = CJoinedEntity<Graphics::Scene::CGraphicalUnit>;
using CTestAgent = CJoinedEntity<Graphics::Scene::CGraphicalAgent>;
using CTestWater = CJoinedEntity<Graphics::Scene::CGraphicalWater>;
using CTestSky = CJoinedEntity<Graphics::Scene::CGraphicalSky>;
using CTestTerrain = CJoinedEntity<Graphics::Scene::CGraphicalTerrain>;

const char* const kBase = "00000000-0000-4000-8000-0000000000b1";
const char* const kRider = "00000000-0000-4000-8000-0000000000b2";
const char* const kAgent = "00000000-0000-4000-8000-0000000000b3";
const char* const kBadge = "00000000-0000-4000-8000-0000000000b4";

// An animated mesh with the joints "root" and "left hand" below it.
void CacheAgentMesh(scene::ISceneManager* scene)
{
    scene::ISkinnedMesh* mesh = scene->createSkinnedMesh();
    scene::ISkinnedMesh::SJoint* root = mesh->addJoint(nullptr);
    root->Name = "root";
    scene::ISkinnedMesh::SJoint* hand = mesh->addJoint(root);
    hand->Name = "left hand";
    hand->LocalMatrix.setTranslation(core::vector3df(0, 2, 0));
    mesh->finalize();
    scene->getMeshCache()->addMesh("agent.x", mesh);
    mesh->drop();
}

// A scene with a unit under a unit, and a unit on the agent's hand.
class AttachmentTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CacheAgentMesh(null.Scene());
        engine.Add(&base, nullptr, "");
        engine.Add(&rider, &base, "");
        agent.SetModelName(L"agent.x");
        engine.Add(&agent, nullptr, "");
        engine.Add(&badge, &agent, "left hand");
    }

    CNullEngine null;
    CGraphicsEngine& engine = null.engine;
    CTestUnit base{kBase};
    CTestUnit rider{kRider};
    CTestAgent agent{kAgent};
    CTestUnit badge{kBadge};
    CTestFolder folder;
};

TEST_F(AttachmentTreeTest, LinksBelowEntitiesAndOnJointsRoundTrip)
{
    const std::string text = Save(folder, engine, EForm::Text);
    EXPECT_NE(text.find("GraphicsTypes{"), std::string::npos);
    EXPECT_NE(text.find(std::string("-Id ") + kRider), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("-ParentId ") + kBase), std::string::npos) << text;
    EXPECT_NE(text.find("-Joint"), std::string::npos) << text;
    // Entities directly under the root are no links.
    EXPECT_EQ(text.find(std::string("-Id ") + kBase), std::string::npos) << text;
    EXPECT_EQ(text.find(std::string("-Id ") + kAgent), std::string::npos) << text;
    // Saving leaves the agent's joints as they were.
    for (EForm form : {EForm::Text, EForm::Binary})
    {
        CGraphicsEngine read(nullptr);
        ASSERT_EQ(Load(folder, read, Save(folder, engine, form), form), "") << FormName(form);
        const CGraphicsEngine::JointMap& links = read.GetJointMap();
        ASSERT_EQ(links.size(), 2u) << FormName(form);
        EXPECT_EQ(links.at(kRider).parentId, kBase);
        EXPECT_EQ(links.at(kRider).joint, "");
        EXPECT_EQ(links.at(kBadge).parentId, kAgent);
        EXPECT_EQ(links.at(kBadge).joint, "left hand") << FormName(form);
        // The map is the scene's: a cleared scene forgets it.
        read.ClearScene();
        EXPECT_TRUE(read.GetJointMap().empty());
    }
}

TEST(AttachmentTreeVersionTest, OlderFilesReadWhatTheirVersionHeld)
{
    CTestFolder folder;
    CGraphicsEngine empty(nullptr);
    const std::string text = Save(folder, empty, EForm::Text);
    const std::string blockOpen = "GraphicsTypes{";
    const size_t open = text.find(blockOpen);
    ASSERT_NE(open, std::string::npos);
    // An empty scene: the block opens and closes.
    EXPECT_EQ(text.find("Joint{"), std::string::npos);
    EXPECT_NE(text.find('}', open), std::string::npos);

    const std::string link = "Joint{\n-Id a\n-ParentId b\n}\nJoint{\n-Id a\n-ParentId c\n-Joint \"neck\"\n}\n"
                             "Joint{\n-Id d\n-ParentId e\n}\n";
    std::string withLinks = text;
    withLinks.insert(open + blockOpen.size() + 1, link);
    struct SCase
    {
        uint32_t version;
        std::string bytes;
        bool fails;
        size_t links;
    };
    const SCase cases[] = {
        {Misc::Serialization::kSerialVersion, withLinks, false, 2},
        {1019, withLinks, false, 2},
        // Before links were saved the block closes at once.
        {1015, text, false, 0},
        {1015, withLinks, true, 0},
        // Before the block was saved nothing of it is read.
        {1009, "", false, 0},
    };
    for (const SCase& test : cases)
    {
        CGraphicsEngine read(nullptr);
        const std::string bytes = test.bytes.empty() ? WithVersion(text.substr(0, open), test.version)
                                                     : WithVersion(test.bytes, test.version);
        const std::string error = Load(folder, read, bytes, EForm::Text);
        EXPECT_EQ(!error.empty(), test.fails) << test.version << ": " << error;
        EXPECT_EQ(read.GetJointMap().size(), test.links) << test.version;
        if (test.links == 2)
        {
            // The later link of an id replaces the earlier one.
            EXPECT_EQ(read.GetJointMap().at("a").parentId, "c");
            EXPECT_EQ(read.GetJointMap().at("a").joint, "neck");
            EXPECT_EQ(read.GetJointMap().at("d").joint, "");
        }
    }
}

std::string Mutate(std::string bytes, std::mt19937& random)
{
    const int steps = 1 + static_cast<int>(random() % 4);
    for (int step = 0; step < steps && !bytes.empty(); ++step)
    {
        const size_t at = random() % bytes.size();
        switch (random() % 5)
        {
        case 0:
            bytes[at] = static_cast<char>(random() & 0xFF);
            break;
        case 1:
            bytes.resize(at);
            break;
        case 2:
            bytes.erase(at, random() % 16);
            break;
        case 3:
            bytes.insert(at, bytes.substr(at, random() % 48));
            break;
        default:
            bytes[at] = "0}{9-\" \n\xFF"[random() % 9];
            break;
        }
    }
    return bytes;
}

// Mutated saves of the engine and of every mesh kind, read into fresh
// objects: each read succeeds or fails with the archive's error, never
// crashes (the sanitizers watch) or hangs.
TEST_F(AttachmentTreeTest, MutatedSavesReadSafely)
{
    std::vector<std::function<std::shared_ptr<Misc::Serialization::ISerializable>()>> makers = {
        [] { return std::make_shared<CGraphicsEngine>(nullptr); },
        [] { return std::make_shared<CTestAgent>(kAgent); },
        [] { return std::make_shared<CTestUnit>(kBase); },
        [] { return std::make_shared<CTestWater>(kBase); },
        [] { return std::make_shared<CTestSky>(kBase); },
        [] { return std::make_shared<CTestTerrain>(kBase); },
    };
    struct SSaved
    {
        size_t maker;
        EForm form;
        std::string bytes;
    };
    std::vector<SSaved> saves;
    for (EForm form : {EForm::Text, EForm::Binary})
    {
        saves.push_back({0, form, Save(folder, engine, form)});
        for (size_t maker = 1; maker < makers.size(); ++maker)
            saves.push_back({maker, form, Save(folder, *makers[maker](), form)});
    }
    std::mt19937 random(20261210);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    size_t reads = 0;
    while (reads < 3000 && std::chrono::steady_clock::now() < deadline)
    {
        for (const SSaved& saved : saves)
        {
            auto read = makers[saved.maker]();
            Load(folder, *read, Mutate(saved.bytes, random), saved.form);
            ++reads;
            if (reads % 50 == 0)
                Save(folder, *read, saved.form);
        }
    }
    std::printf("%zu mutated saves read\n", reads);
    EXPECT_GE(reads, saves.size());
}

TEST(MeshKindBlocksTest, EveryKindKeepsItsSettingsThroughTextAndBinary)
{
    CTestFolder folder;
    for (EForm form : {EForm::Text, EForm::Binary})
    {
        CTestAgent agent(kAgent);
        agent.SetShadows(true, L"shadow \"low\".x");
        CTestAgent agentRead;
        ASSERT_EQ(Load(folder, agentRead, Save(folder, agent, form), form), "");
        EXPECT_TRUE(agentRead.GetShadows());
        EXPECT_EQ(agentRead.GetShadowMesh(), L"shadow \"low\".x");

        CTestWater water(kBase);
        water.SetHeight(0.5f);
        water.SetSpeed(12.0f);
        water.SetLength(-3.0f);
        CTestWater waterRead;
        ASSERT_EQ(Load(folder, waterRead, Save(folder, water, form), form), "");
        EXPECT_EQ(waterRead.GetHeight(), 0.5f);
        EXPECT_EQ(waterRead.GetSpeed(), 12.0f);
        EXPECT_EQ(waterRead.GetLength(), -3.0f);

        CTestUnit unit(kBase);
        unit.SetOctTree(true);
        CTestUnit unitRead;
        ASSERT_EQ(Load(folder, unitRead, Save(folder, unit, form), form), "");
        EXPECT_TRUE(unitRead.GetOctTree());

        CTestSky sky(kBase);
        sky.SetType(L"dome");
        sky.SetDome(L"dome.png");
        sky.SetTop(L"top.png");
        sky.SetBottom(L"bottom \u00e9.png");
        sky.SetDomeHRes(12);
        sky.SetDomeVRes(7);
        sky.SetDomePercentage(0.25f);
        sky.SetDomeSpherePercentage(0.75f);
        CTestSky skyRead;
        ASSERT_EQ(Load(folder, skyRead, Save(folder, sky, form), form), "");
        EXPECT_TRUE(skyRead.IsDome());
        EXPECT_EQ(skyRead.GetDome(), L"dome.png");
        EXPECT_EQ(skyRead.GetTop(), L"top.png");
        EXPECT_EQ(skyRead.GetBottom(), L"bottom \u00e9.png");
        EXPECT_EQ(skyRead.GetDomeHRes(), 12u);
        EXPECT_EQ(skyRead.GetDomeVRes(), 7u);
        EXPECT_EQ(skyRead.GetDomePercentage(), 0.25f);
        EXPECT_EQ(skyRead.GetDomeSpherePercentage(), 0.75f);

        CTestTerrain terrain(kBase);
        terrain.SetHeightmap(L"maps/height map.bmp");
        terrain.SetPatchSize(33);
        terrain.SetMaxLOD(3);
        terrain.SetSmoothFactor(2);
        terrain.SetTextureScales(4.5f, 8.25f);
        CTestTerrain terrainRead;
        ASSERT_EQ(Load(folder, terrainRead, Save(folder, terrain, form), form), "");
        EXPECT_EQ(terrainRead.GetHeightmap(), L"maps/height map.bmp");
        EXPECT_EQ(terrainRead.GetPatchSize(), 33u);
        EXPECT_EQ(terrainRead.GetMaxLOD(), 3u);
        EXPECT_EQ(terrainRead.GetSmoothFactor(), 2u);
        EXPECT_EQ(terrainRead.GetTextureScale1(), 4.5f);
        EXPECT_EQ(terrainRead.GetTextureScale2(), 8.25f);
    }
}

TEST(MeshKindBlocksTest, OlderFilesAndOddValuesReadSoundly)
{
    CTestFolder folder;
    // A terrain's patch size from a file is snapped as the setter snaps it:
    // Irrlicht's patches know no other sizes.
    struct SPatch
    {
        const char* saved;
        uint32_t read;
    };
    CTestTerrain terrain(kBase);
    const std::string text = Save(folder, terrain, EForm::Text);
    for (const SPatch& patch : {SPatch{"0", 9}, SPatch{"18", 33}, SPatch{"66", 129}, SPatch{"1000", 129},
                                SPatch{"4294967295", 129}, SPatch{"65", 65}})
    {
        std::string edited = text;
        const size_t at = edited.find("-PatchSize 17");
        ASSERT_NE(at, std::string::npos);
        edited.replace(at, 13, std::string("-PatchSize ") + patch.saved);
        CTestTerrain read;
        ASSERT_EQ(Load(folder, read, edited, EForm::Text), "") << patch.saved;
        EXPECT_EQ(read.GetPatchSize(), patch.read) << patch.saved;
    }
    for (uint32_t size : {0u, 9u, 10u, 17u, 18u, 33u, 34u, 65u, 66u, 1000u})
    {
        terrain.SetPatchSize(size);
        EXPECT_EQ(terrain.GetPatchSize(), Graphics::Scene::CGraphicalTerrain::SnapPatchSize(size));
    }
    EXPECT_EQ(Graphics::Scene::CGraphicalTerrain::SnapPatchSize(18), 33u);

    // Version 1002: no smooth factor, no texture scales; they keep their
    // values.
    CTestTerrain old(kBase);
    const std::string oldText = WithVersion(
        WithoutKeys(Save(folder, old, EForm::Text), {"-SmoothFactor", "-TextureScales", "-Param", "-Solid",
                                                     "-Gouraud", "-ZBufferEnabled", "-ZBufferWriteEnabled"}),
        1002);
    CTestTerrain oldRead;
    oldRead.SetSmoothFactor(4);
    oldRead.SetTextureScales(2.0f, 3.0f);
    ASSERT_EQ(Load(folder, oldRead, oldText, EForm::Text), "");
    EXPECT_EQ(oldRead.GetSmoothFactor(), 4u);
    EXPECT_EQ(oldRead.GetTextureScale1(), 2.0f);

    // An agent from version 1020 has no shadows, whatever it had.
    CTestAgent agent(kAgent);
    const std::string agentText = WithVersion(
        WithoutKeys(Save(folder, agent, EForm::Text), {"-Shadows", "-ShadowMesh", "-Solid", "-Gouraud",
                                                       "-ZBufferEnabled", "-ZBufferWriteEnabled"}),
        1020);
    CTestAgent agentRead;
    agentRead.SetShadows(true, L"x.x");
    ASSERT_EQ(Load(folder, agentRead, agentText, EForm::Text), "");
    EXPECT_FALSE(agentRead.GetShadows());
    EXPECT_EQ(agentRead.GetShadowMesh(), L"");

    // A sky from version 1018 is a box with the file's six textures.
    CTestSky sky(kBase);
    sky.SetFront(L"front.png");
    const std::string skyText =
        WithVersion(WithoutKeys(Save(folder, sky, EForm::Text), {"-Type", "-Dome", "-DomeHRes", "-DomeVRes",
                                                                 "-DomePercentage", "-DomeSpherePercentage"}),
                    1018);
    CTestSky skyRead;
    skyRead.SetType(L"dome");
    ASSERT_EQ(Load(folder, skyRead, skyText, EForm::Text), "");
    EXPECT_FALSE(skyRead.IsDome());
    EXPECT_EQ(skyRead.GetFront(), L"front.png");

    // The sky's setters.
    CTestSky setters(kBase);
    setters.SetDomePercentage(1.5f);
    setters.SetDomeSpherePercentage(-0.2f);
    EXPECT_EQ(setters.GetDomePercentage(), 1.0f);
    EXPECT_EQ(setters.GetDomeSpherePercentage(), 0.0f);
    setters.SetType(L"Dome");
    EXPECT_FALSE(setters.IsDome());
    setters.SetDomePercentage(NAN);
    EXPECT_EQ(setters.GetDomePercentage(), 0.0f);

    // Clearing: the terrain keeps its smooth factor, the sky its type, the
    // water its defaults back.
    CTestTerrain cleared(kBase);
    cleared.SetSmoothFactor(3);
    cleared.SetPatchSize(65);
    cleared.Clear();
    EXPECT_EQ(cleared.GetSmoothFactor(), 3u);
    EXPECT_EQ(cleared.GetPatchSize(), 17u);
    CTestSky clearedSky(kBase);
    clearedSky.SetType(L"dome");
    clearedSky.SetTop(L"t.png");
    clearedSky.Clear();
    EXPECT_TRUE(clearedSky.IsDome());
    EXPECT_EQ(clearedSky.GetTop(), L"");
    CTestWater water(kBase);
    water.SetSpeed(1.0f);
    water.Clear();
    EXPECT_EQ(water.GetSpeed(), 300.0f);
}

} // namespace
