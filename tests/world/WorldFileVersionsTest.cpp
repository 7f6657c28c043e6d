// The world file of every stored version: a fixture per version (the
// newest one exactly as the writer writes it, the older ones built by hand
// from it), each read with the fields its version holds and the older
// rules for the others, and the newest written back byte for byte.
#include "WorldFixture.h"

#include "core/io/ArchiveText.h"
#include "core/io/FileVersions.h"
#include "support/ErrorOf.h"

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
namespace FileVersion = Misc::Serialization::FileVersion;

namespace
{

const char* const kCamera = "00000000-0000-4000-8000-000000000001";
const char* const kLight = "00000000-0000-4000-8000-000000000002";
const char* const kParticles = "00000000-0000-4000-8000-000000000003";
const char* const kUnit = "00000000-0000-4000-8000-000000000004";
const char* const kTerrain = "00000000-0000-4000-8000-000000000005";
const char* const kAgent = "00000000-0000-4000-8000-000000000006";

std::string FixturePath(uint32_t version)
{
    return (fs::path(HALVANE_TEST_DATA_DIR) / "fixtures" / ("world-" + std::to_string(version) + ".kvoworld"))
        .string();
}

// The world of the newest fixture: an entity of each kind whose record
// gained a field, each field away from its default.
void BuildEveryVersionedField(CWorldData& data)
{
    data.SetScript(L"level.lua");
    static_cast<Graphics::Scene::CGraphicalSky&>(data.GetSky()).SetType(L"dome");
    data.GetSky().SetDome(L"dome.png");
    CCameraMap::ManagedEntity camera;
    camera.SetId(kCamera);
    camera.SetName(L"eye");
    camera.SetAspectRatio(2.0f);
    camera.SetOffset(CVector(0.0f, 1.5f, 0.0f));
    camera.SetViewPort(CRect(0.0f, 0.0f, 0.5f, 0.5f));
    data.GetCameras().AddUnit(camera);
    CLightMap::ManagedEntity light;
    light.SetId(kLight);
    light.SetAttenuation(CVector(0.5f, 0.25f, 0.125f));
    light.SetSpotParams(CVector(10.0f, 20.0f, 3.0f));
    light.SetShadows(false);
    data.GetLights().AddUnit(light);
    CParticleSystemMap::ManagedEntity particles;
    particles.SetId(kParticles);
    particles.SetEmitterParticleSizeMin(2.0f);
    particles.SetEmitterParticleSizeMax(4.0f);
    particles.SetEmitterParticlesPerSecondMin(2.5f);
    particles.SetEmitterParticlesPerSecondMax(7.5f);
    data.GetParticleSystems().AddUnit(particles);
    CUnitMap::ManagedEntity unit;
    unit.SetId(kUnit);
    unit.SetOctTree(true);
    unit.SetMass(2.0f);
    unit.SetSolid(false);
    unit.SetCollisionType(2);
    unit.SetLinearDamping(0.25f);
    unit.GetMaterials().Resize(1);
    unit.SetMaterialType(0, 0);
    unit.SetMaterialTypeParam(0.75f, 0);
    data.GetUnits().AddUnit(unit);
    CTerrainMap::ManagedEntity terrain;
    terrain.SetId(kTerrain);
    terrain.SetHeightmap(L"height.png");
    terrain.SetSmoothFactor(3);
    terrain.SetTextureScales(2.0f, 8.0f);
    data.GetTerrains().AddUnit(terrain);
    CAgentMap::ManagedEntity agent;
    agent.SetId(kAgent);
    agent.SetShadows(true, L"shadow.x");
    data.GetAgents().AddUnit(agent);
}

// What one version added, and how a world shows it: `held` is true for a
// file of that version or newer, false for an older one (which keeps the
// default or follows the older rule).
struct SAddition
{
    uint32_t since;
    const char* what;
    std::function<void(CWorldData&, bool held)> check;
};

const SAddition kAdditions[] = {
    {FileVersion::kPhysicsBlock, "braced physics block",
     // Without the braces the keys follow the graphics record bare.
     [](CWorldData& data, bool) { EXPECT_EQ(data.GetUnits().FindStored(kUnit)->GetMass(), 2.0f); }},
    {FileVersion::kFractionalParticleRates, "fractional particle rates",
     [](CWorldData& data, bool held)
     {
         const auto& emitter = data.GetParticleSystems().FindStored(kParticles)->GetEmitter();
         EXPECT_EQ(emitter.particlesPerSecondMin, held ? 2.5f : 2.0f);
         EXPECT_EQ(emitter.particlesPerSecondMax, held ? 7.5f : 7.0f);
     }},
    {FileVersion::kUnitOctree, "unit octree",
     [](CWorldData& data, bool held) { EXPECT_EQ(data.GetUnits().FindStored(kUnit)->GetOctTree(), held); }},
    {FileVersion::kTerrainTextureScales, "terrain texture scales",
     [](CWorldData& data, bool held)
     {
         auto* terrain = data.GetTerrains().FindStored(kTerrain);
         EXPECT_EQ(terrain->GetTextureScale1(), held ? 2.0f : 1.0f);
         EXPECT_EQ(terrain->GetTextureScale2(), held ? 8.0f : 1.0f);
     }},
    {FileVersion::kCollisionType, "collision type",
     [](CWorldData& data, bool held)
     { EXPECT_EQ(data.GetUnits().FindStored(kUnit)->GetCollisionType(), held ? 2 : CPhysicalEntity::kBox); }},
    {FileVersion::kCameraOffset, "camera offset",
     [](CWorldData& data, bool held)
     { EXPECT_EQ(data.GetCameras().FindStored(kCamera)->GetOffset().y, held ? 1.5f : 0.0f); }},
    {FileVersion::kMaterialParameter, "material parameter",
     [](CWorldData& data, bool held)
     {
         auto& materials = data.GetUnits().FindStored(kUnit)->GetMaterials();
         ASSERT_EQ(materials.GetCount(), 1u);
         EXPECT_EQ(materials[0].typeParam, held ? 0.75f : 0.5f);
     }},
    {FileVersion::kEngineRecords, "engine records ahead of the fog",
     [](CWorldData& data, bool) { EXPECT_EQ(data.GetScript(), L"level.lua"); }},
    {FileVersion::kSkyDomes, "sky domes, light cones, camera view port",
     [](CWorldData& data, bool held)
     {
         EXPECT_EQ(data.GetSky().GetType(), held ? L"dome" : L"box");
         EXPECT_EQ(data.GetSky().GetDome(), held ? L"dome.png" : L"");
         auto* light = data.GetLights().FindStored(kLight);
         EXPECT_EQ(light->GetAttenuation().x, held ? 0.5f : 1.0f);
         EXPECT_EQ(light->GetSpotParams().x, held ? 10.0f : 25.0f);
         EXPECT_EQ(data.GetCameras().FindStored(kCamera)->GetViewPortRect().x2, held ? 0.5f : 1.0f);
     }},
    {FileVersion::kTerrainSmoothFactor, "terrain smooth factor",
     [](CWorldData& data, bool held)
     { EXPECT_EQ(data.GetTerrains().FindStored(kTerrain)->GetSmoothFactor(), held ? 3u : 0u); }},
    {FileVersion::kShadowSwitches, "shadow switches",
     [](CWorldData& data, bool held)
     {
         // Older lights cast shadows, older agents none.
         EXPECT_EQ(data.GetLights().FindStored(kLight)->GetShadows(), !held);
         EXPECT_EQ(data.GetAgents().FindStored(kAgent)->GetShadows(), held);
     }},
    {FileVersion::kAgentShadowMesh, "agent shadow mesh",
     [](CWorldData& data, bool held)
     { EXPECT_EQ(data.GetAgents().FindStored(kAgent)->GetShadowMesh(), held ? L"shadow.x" : L""); }},
    {FileVersion::kCameraAspectRatio, "camera aspect ratio",
     [](CWorldData& data, bool held)
     { EXPECT_EQ(data.GetCameras().FindStored(kCamera)->GetAspectRatio(), held ? 2.0f : 4.0f / 3.0f); }},
    {FileVersion::kDynamicProperties, "dynamic properties",
     [](CWorldData& data, bool held)
     { EXPECT_EQ(data.GetUnits().FindStored(kUnit)->GetLinearDamping(), held ? 0.25f : 0.1f); }},
    {FileVersion::kRenderFlags, "render flags",
     [](CWorldData& data, bool held) { EXPECT_EQ(data.GetUnits().FindStored(kUnit)->IsSolid(), !held); }},
    {FileVersion::kParticleSizeRange, "particle size range",
     [](CWorldData& data, bool held)
     {
         const auto& emitter = data.GetParticleSystems().FindStored(kParticles)->GetEmitter();
         EXPECT_EQ(emitter.particleSizeMin, held ? 2.0f : 3.0f);
         EXPECT_EQ(emitter.particleSizeMax, held ? 4.0f : 3.0f);
     }},
    {FileVersion::kCollisionPredictionVectors, "collision prediction vectors",
     [](CWorldData& data, bool held)
     {
         auto* unit = data.GetUnits().FindStored(kUnit);
         if (unit->GetLinearDamping() != 0.25f)
             return; // no dynamic properties at all
         // Older files: one threshold that also switches prediction on.
         EXPECT_EQ(unit->IsCollisionPredictionEnabled(), !held);
         EXPECT_EQ(unit->GetCollisionPredictionThreshold().z, held ? 0.0f : 0.5f);
         EXPECT_EQ(unit->GetCollisionPredictionSkewFactor().y, held ? 1.5f : 1.25f);
         EXPECT_EQ(unit->GetCollisionPredictionSkewDampening().x, held ? 0.9f : 0.75f);
     }},
};

} // namespace

TEST(WorldFileVersionsTest, TheWriterWritesTheNewestFixtureByteForByte)
{
    const std::string fixture = CWorldFixture::Bytes(FixturePath(FileVersion::kNewest));
    ASSERT_FALSE(fixture.empty());
    {
        CWorldFixture f;
        BuildEveryVersionedField(f.data);
        ASSERT_TRUE(f.world->Save(f.folder.Wide("built"), L"world.kvoworld", "UTF8", false));
        EXPECT_EQ(CWorldFixture::Bytes(f.folder / "built/world.kvoworld"), fixture);
    }
    // Read and written again, through the binary form too.
    CWorldFixture f;
    f.folder.Write("text/world.kvoworld", fixture);
    for (const auto& [from, to, mode] :
         {std::tuple<const char*, const char*, const char*>{"text", "bin", "BINARY"},
          {"bin", "again", "UTF8"}})
    {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(f.world->Load(f.folder.Wide(from), L"world.kvoworld", L"", false, true));
        ASSERT_TRUE(f.world->Save(f.folder.Wide(to), L"world.kvoworld", mode, false));
        f.world->Unload();
    }
    EXPECT_EQ(CWorldFixture::Bytes(f.folder / "again/world.kvoworld"), fixture);
}

TEST(WorldFileVersionsTest, EachStoredVersionReadsTheFieldsItHolds)
{
    const uint32_t versions[] = {999,
                                 FileVersion::kPhysicsBlock,
                                 FileVersion::kFractionalParticleRates,
                                 FileVersion::kUnitOctree,
                                 FileVersion::kTerrainTextureScales,
                                 FileVersion::kCollisionType,
                                 FileVersion::kCameraOffset,
                                 FileVersion::kMaterialParameter,
                                 FileVersion::kEngineRecords,
                                 FileVersion::kSkyDomes,
                                 FileVersion::kTerrainSmoothFactor,
                                 FileVersion::kShadowSwitches,
                                 FileVersion::kAgentShadowMesh,
                                 FileVersion::kCameraAspectRatio,
                                 FileVersion::kDynamicProperties,
                                 FileVersion::kRenderFlags,
                                 FileVersion::kParticleSizeRange,
                                 FileVersion::kCollisionPredictionVectors};
    for (const uint32_t version : versions)
    {
        SCOPED_TRACE("version " + std::to_string(version));
        CWorldFixture f;
        f.folder.Write("w/world.kvoworld", CWorldFixture::Bytes(FixturePath(version)));
        ASSERT_TRUE(f.world->Load(f.folder.Wide("w"), L"world.kvoworld", L"", false, true));
        ASSERT_EQ(f.data.GetGroup().GetCount(), 6u);
        for (const SAddition& addition : kAdditions)
        {
            SCOPED_TRACE(addition.what);
            addition.check(f.data, version >= addition.since);
        }
        // Whatever it was read from, the world is written in the newest
        // version.
        ASSERT_TRUE(f.world->Save(f.folder.Wide("saved"), L"world.kvoworld", "UTF8", false));
        EXPECT_NE(CWorldFixture::Bytes(f.folder / "saved/world.kvoworld").find("-Version 1030\r\n"),
                  std::string::npos);
    }
}

// Reading and writing a body follow one rule: a body that cannot be read or
// written at all throws a message naming the method.
TEST(WorldFileVersionsTest, ABodyWithoutEnginesThrowsForReadAndWriteAlike)
{
    CTestFolder folder;
    CWorldData orphan(nullptr);
    const std::string path =
        folder.Write("w.kvoworld", CWorldFixture::Bytes(FixturePath(FileVersion::kNewest)));
    Misc::Serialization::CArchiveText reader(folder.Wide("w.kvoworld"), false, "KVOWORLDDATA", 1);
    EXPECT_EQ(ErrorOf([&] { orphan.Read(reader); }), "[CWorldData::Read] Engines not initialised");
    EXPECT_EQ(ErrorOf([&] { orphan.Save(folder.Wide("out"), L"w.kvoworld", "UTF8", false); }),
              "[CWorldData::Write] Engines not initialised");
    // The failed save put no file in place.
    EXPECT_FALSE(fs::exists(folder / "out/w.kvoworld"));
}
