// Materials and every kind's block saved to text and binary archives and
// read back; the version gates of older files; one committed byte fixture.

#include "EntityArchive.h"
#include "support/JoinedEntity.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

namespace
{

using namespace EntityArchive;
using Graphics::Scene::CGraphicalLight;
using Graphics::Scene::CMaterial;
using Graphics::Scene::CMaterials;

const char* const kId = "00000000-0000-4000-8000-0000000000aa";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// Gives every saved setting of the base a value other than its default.
void DressBase(Graphics::Scene::CGraphicalEntity& entity)
{
    entity.SetFogEnabled(false);
    entity.SetLightingEnabled(true);
    entity.SetVisible(false);
    entity.SetSolid(false);
    entity.SetGouraud(false);
    entity.SetZBufferEnabled(false);
    entity.SetZBufferWriteEnabled(false);
    entity.SetModelName(L"models/ship \"one\".x");
    entity.GetMaterials().Resize(2);
    entity.SetMaterialType(5, 1);
    entity.SetMaterialTexture(L"metal.png", 2, 1);
    entity.SetMaterialDiffuseColor(CColor(0.25f, 0.5f, 0.75f, 1.0f), 1);
    entity.SetMaterialShininess(3.5f, 1);
    entity.SetMaterialTypeParam(0.125f, 1);
}

struct SKind
{
    const char* name;
    std::function<std::unique_ptr<Graphics::Scene::CGraphicalEntity>()> make;
    std::function<void(Graphics::Scene::CGraphicalEntity&)> dress;
};

std::vector<SKind> Kinds()
{
    auto none = [](Graphics::Scene::CGraphicalEntity&) {};
    return {
        {"light", [] { return std::make_unique<CTestLight>(kId); },
         [](Graphics::Scene::CGraphicalEntity& entity)
         {
             auto& light = dynamic_cast<CGraphicalLight&>(entity);
             light.SetType(CGraphicalLight::CLightType(CGraphicalLight::CLightType::kDirectional));
             light.SetSpotParams(CVector(1, 2, 3));
             light.SetAttenuation(CVector(0.5f, 0.25f, 0.125f));
             light.SetShadows(false);
         }},
        {"camera", [] { return std::make_unique<CTestCameraEntity>(kId); },
         [](Graphics::Scene::CGraphicalEntity& entity)
         {
             auto& camera = dynamic_cast<Graphics::Scene::CGraphicalCamera&>(entity);
             camera.SetNear(0.5f);
             camera.SetFar(900.0f);
             camera.SetFOV(4.0f);
             camera.SetAspectRatio(1.5f);
             camera.SetLookAt(CVector(1, 2, 3));
             camera.SetUp(CVector(0, 0, 1));
             camera.SetOffset(CVector(0, 5, 0));
             camera.SetViewPort(CRect(0.5f, 0.0f, 1.0f, 0.5f));
             camera.SetTypeName(L"chase camera");
         }},
        {"billboard", [] { return std::make_unique<CTestBillboard>(kId); }, none},
        {"cursor", [] { return std::make_unique<CTestCursor>(kId); }, none},
        {"waypoint", [] { return std::make_unique<CTestWaypoint>(kId); }, none},
        {"trigger", [] { return std::make_unique<CTestTrigger>(kId); }, none},
        {"particle system", [] { return std::make_unique<CTestParticleSystem>(kId); },
         [](Graphics::Scene::CGraphicalEntity& entity)
         {
             auto& particles = dynamic_cast<Graphics::Scene::CGraphicalParticleSystem&>(entity);
             particles.SetEmitterDirection(CVector(0, 1, 0));
             particles.SetEmitterGravity(CVector(0, -2, 0));
             particles.SetEmitterGravityTime(250);
             particles.SetEmitterFadeoutColor(CColor(0.5f, 0, 0, 1));
             particles.SetEmitterFadeoutTime(750);
             particles.SetEmitterColorMin(CColor(0, 0.5f, 0, 1));
             particles.SetEmitterColorMax(CColor(0, 0, 0.5f, 1));
             particles.SetEmitterParticleSizeMin(2.0f);
             particles.SetEmitterParticleSizeMax(4.0f);
             particles.SetEmitterParticlesPerSecondMin(10.5f);
             particles.SetEmitterParticlesPerSecondMax(20.5f);
             particles.SetEmitterLifetimeMin(100);
             particles.SetEmitterLifetimeMax(200);
             particles.SetEmitterAngleVariance(15.0f);
         }},
    };
}

TEST(MaterialTest, DefaultsAndIndices)
{
    CMaterials materials;
    ASSERT_EQ(materials.GetCount(), 1u);
    const CMaterial& first = materials[0];
    EXPECT_EQ(first.type, -1);
    EXPECT_EQ(first.ambient.r, 0.5f);
    EXPECT_EQ(first.ambient.a, 1.0f);
    EXPECT_EQ(first.diffuse.g, 1.0f);
    EXPECT_EQ(first.emissive.a, 0.0f);
    EXPECT_EQ(first.shininess, 20.0f);
    EXPECT_EQ(first.typeParam, 0.5f);
    EXPECT_EQ(first.textures[3].GetKey(), L"-Texture3");
    EXPECT_EQ(ErrorOf([&] { materials[-1]; }), "[CMaterials::operator[]]Invalid material index:-1");
    EXPECT_EQ(ErrorOf([&] { materials[1]; }), "[CMaterials::operator[]]Invalid material index:1");
    materials.Resize(3);
    EXPECT_EQ(materials[2].shininess, 20.0f);
    materials.Resize(0);
    EXPECT_EQ(ErrorOf([&] { materials[0]; }), "[CMaterials::operator[]]Invalid material index:0");
}

TEST(MaterialTest, AListEmptiedAndGrownAgainHoldsDefaultMaterials)
{
    CMaterials materials;
    materials[0].type = 3;
    materials[0].textures[0].SetValue(L"rock.png");
    materials.Resize(2);
    materials[1].shininess = 5.0f;
    const CMaterials copy = materials;
    materials.Resize(0);
    ASSERT_EQ(materials.GetCount(), 0u);
    materials.Resize(2);
    ASSERT_EQ(materials.GetCount(), 2u);
    for (int32_t index = 0; index < 2; ++index)
    {
        SCOPED_TRACE(index);
        EXPECT_EQ(materials[index].type, -1);
        EXPECT_EQ(materials[index].shininess, 20.0f);
        EXPECT_EQ(materials[index].textures[0].GetValue(), L"");
    }
    // The copy made before keeps its own settings.
    ASSERT_EQ(copy.GetCount(), 2u);
    EXPECT_EQ(copy[0].type, 3);
    EXPECT_EQ(copy[0].textures[0].GetValue(), L"rock.png");
    EXPECT_EQ(copy[1].shininess, 5.0f);
    materials.Reset();
    EXPECT_EQ(materials.GetCount(), 1u);
}

TEST(MaterialTest, SetMaterialsKeepTheirPlacesAfterAReload)
{
    CTestFolder folder;
    for (EForm form : {EForm::Text, EForm::Binary})
    {
        SCOPED_TRACE(FormName(form));
        CMaterials materials;
        // Nothing set: an empty block, read back as one default material.
        const std::string empty = Save(folder, materials, form);
        CMaterials read;
        read.Resize(4);
        ASSERT_EQ(Load(folder, read, empty, form), "");
        EXPECT_EQ(read.GetCount(), 1u);

        // A gap of unset materials before a set one keeps the set one at
        // its own index; unset ones at the end are left out.
        materials.Resize(5);
        materials[0].type = 0;
        materials[0].diffuse = CColor(1, 0, 0, 1);
        materials[2].type = 2;
        materials[2].specular = CColor(0, 0, 1, 1);
        materials[2].textures[1].SetValue(L"lava.png");
        ASSERT_EQ(Load(folder, read, Save(folder, materials, form), form), "");
        ASSERT_EQ(read.GetCount(), 3u);
        EXPECT_EQ(read[0].diffuse.r, 1.0f);
        EXPECT_EQ(read[1].type, -1);
        EXPECT_EQ(read[2].type, 2);
        EXPECT_EQ(read[2].specular.b, 1.0f);
        EXPECT_EQ(read[2].textures[1].GetValue(), L"lava.png");
    }
}

TEST(MaterialTest, BlocksWithoutTheParameterKeepThePreviousBlocksValue)
{
    CTestFolder folder;
    CMaterials materials;
    materials.Resize(2);
    materials[0].type = 1;
    materials[0].typeParam = 0.75f;
    materials[1].type = 1;
    const std::string text = WithVersion(WithoutKeys(Save(folder, materials, EForm::Text), {"-Param"}), 1005);
    CMaterials read;
    ASSERT_EQ(Load(folder, read, text, EForm::Text), "");
    ASSERT_EQ(read.GetCount(), 2u);
    EXPECT_EQ(read[0].typeParam, 0.5f);
    EXPECT_EQ(read[1].typeParam, 0.5f);
}

TEST(EntityPersistenceTest, EveryKindReadsBackWhatItSaved)
{
    CTestFolder folder;
    for (const SKind& kind : Kinds())
    {
        for (EForm form : {EForm::Text, EForm::Binary})
        {
            SCOPED_TRACE(std::string(kind.name) + " " + FormName(form));
            auto saved = kind.make();
            DressBase(*saved);
            kind.dress(*saved);
            const std::string bytes = Save(folder, *saved, form);
            auto read = kind.make();
            ASSERT_EQ(Load(folder, *read, bytes, form), "");
            // Everything came back: saving again gives the same bytes.
            EXPECT_EQ(Save(folder, *read, form), bytes);
            EXPECT_FALSE(read->IsSolid());
            EXPECT_EQ(read->GetModelName(), L"models/ship \"one\".x");
            EXPECT_EQ(read->GetMaterials()[1].textures[2].GetValue(), L"metal.png");
            EXPECT_EQ(read->GetMaterials()[1].typeParam, 0.125f);
            // A fresh entity differs.
            auto fresh = kind.make();
            EXPECT_NE(Save(folder, *fresh, form), bytes);
        }
    }
}

TEST(EntityPersistenceTest, ANewEntitySavesItsDefaultFlags)
{
    CTestFolder folder;
    CTestTrigger trigger(kId);
    const std::string text = Save(folder, trigger, EForm::Text);
    for (const char* line : {"-FogEnabled 1", "-Visible 1", "-Solid 1", "-Gouraud 1", "-ZBufferEnabled 1",
                             "-ZBufferWriteEnabled 1", "-LightingEnabled 0"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(EntityPersistenceTest, OlderFilesLeaveLaterSettingsAsTheyWere)
{
    CTestFolder folder;
    // Before 1026 there are no render flags.
    CTestBillboard billboard(kId);
    const std::string flagsLess =
        WithVersion(WithoutKeys(Save(folder, billboard, EForm::Text),
                                {"-Solid", "-Gouraud", "-ZBufferEnabled", "-ZBufferWriteEnabled"}),
                    1025);
    CTestBillboard read(kId);
    read.SetSolid(false);
    read.SetZBufferWriteEnabled(false);
    ASSERT_EQ(Load(folder, read, flagsLess, EForm::Text), "");
    EXPECT_FALSE(read.IsSolid());
    EXPECT_FALSE(read.IsZBufferWriteEnabled());
    EXPECT_TRUE(read.IsGouraud());

    // A light before 1019: no attenuation or spot parameters; before 1021
    // no shadow switch, which reads as on.
    CTestLight light(kId);
    light.SetShadows(false);
    std::string old =
        WithVersion(WithoutKeys(Save(folder, light, EForm::Text),
                                {"-Solid", "-Gouraud", "-ZBufferEnabled", "-ZBufferWriteEnabled",
                                 "-Attenuation", "-SpotParams", "-Shadows"}),
                    1018);
    old = Replace(old, "-Type point", "-Type Point");
    CTestLight readLight(kId);
    readLight.SetShadows(false);
    ASSERT_EQ(Load(folder, readLight, old, EForm::Text), "");
    EXPECT_EQ(readLight.GetSpotParams().x, 25.0f);
    EXPECT_EQ(readLight.GetSpotParams().z, 2.0f);
    EXPECT_EQ(readLight.GetAttenuation().x, 1.0f);
    EXPECT_TRUE(readLight.GetShadows());
    // "Point" is no type: written back as "null", read again as 0.
    EXPECT_EQ(readLight.GetType().GetValue(), 0u);
    const std::string again = Save(folder, readLight, EForm::Text);
    EXPECT_NE(again.find("-Type null"), std::string::npos);
    CTestLight third(kId);
    ASSERT_EQ(Load(folder, third, again, EForm::Text), "");
    EXPECT_EQ(third.GetType().GetValue(), 0u);

    // A camera of 1004: no aspect ratio, offset or viewport.
    CTestCameraEntity camera(kId);
    const std::string oldCamera =
        WithVersion(WithoutKeys(Save(folder, camera, EForm::Text),
                                {"-Solid", "-Gouraud", "-ZBufferEnabled", "-ZBufferWriteEnabled",
                                 "-AspectRatio", "-Offset", "-ViewPort"}),
                    1004);
    CTestCameraEntity readCamera(kId);
    readCamera.SetOffset(CVector(1, 2, 3));
    readCamera.SetAspectRatio(3.0f);
    readCamera.SetViewPort(CRect(0.1f, 0.2f, 0.3f, 0.4f));
    ASSERT_EQ(Load(folder, readCamera, oldCamera, EForm::Text), "");
    EXPECT_EQ(readCamera.GetOffset().z, 3.0f);
    EXPECT_EQ(readCamera.GetAspectRatio(), 3.0f);
    EXPECT_EQ(readCamera.GetViewPortRect().y2, 0.4f);

    // Particle systems: one size before 1029, whole rates before 1001.
    CTestParticleSystem particles(kId);
    std::string oldParticles = WithoutKeys(Save(folder, particles, EForm::Text), {"-ParticleSizeMax"});
    oldParticles = Replace(oldParticles, "-ParticleSizeMin 1.000000", "-ParticleSize 3.000000");
    CTestParticleSystem readParticles(kId);
    ASSERT_EQ(Load(folder, readParticles, WithVersion(oldParticles, 1028), EForm::Text), "");
    EXPECT_EQ(readParticles.GetEmitter().particleSizeMin, 3.0f);
    EXPECT_EQ(readParticles.GetEmitter().particleSizeMax, 3.0f);
    oldParticles = Replace(oldParticles, "-ParticlesPerSecondMax 100.000000", "-ParticlesPerSecondMax 50");
    oldParticles = Replace(oldParticles, "-ParticlesPerSecondMin 0.000000", "-ParticlesPerSecondMin 7");
    oldParticles =
        WithoutKeys(oldParticles, {"-Solid", "-Gouraud", "-ZBufferEnabled", "-ZBufferWriteEnabled"});
    ASSERT_EQ(Load(folder, readParticles, WithVersion(oldParticles, 1000), EForm::Text), "");
    EXPECT_EQ(readParticles.GetEmitter().particlesPerSecondMax, 50.0f);
    EXPECT_EQ(readParticles.GetEmitter().particlesPerSecondMin, 7.0f);
}

TEST(EntityPersistenceTest, ALightsBinaryBlockMatchesTheCommittedBytes)
{
    CTestFolder folder;
    CTestLight light(kId);
    DressBase(light);
    light.SetType(CGraphicalLight::CLightType(CGraphicalLight::CLightType::kSpot));
    light.SetSpotParams(CVector(10, 30, 1.5f));
    light.SetAttenuation(CVector(1, 0.5f, 0));
    light.SetShadows(false);
    const std::string bytes = Save(folder, light, EForm::Binary);
    const std::filesystem::path fixture =
        std::filesystem::path(HALVANE_TEST_DATA_DIR) / "fixtures" / "light.kvobin";
    if (std::getenv("HALVANE_WRITE_FIXTURES") != nullptr)
    {
        std::ofstream(fixture, std::ios::binary) << bytes;
    }
    std::ifstream in(fixture, std::ios::binary);
    const std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(committed.empty());
    EXPECT_EQ(bytes, committed);

    CTestLight read(kId);
    ASSERT_EQ(Load(folder, read, committed, EForm::Binary), "");
    EXPECT_EQ(read.GetType().GetValue(), CGraphicalLight::CLightType::kSpot);
    EXPECT_EQ(read.GetSpotParams().y, 30.0f);
    EXPECT_EQ(read.GetAttenuation().y, 0.5f);
    EXPECT_FALSE(read.GetShadows());
    EXPECT_EQ(read.GetMaterials()[1].type, 5);
    EXPECT_EQ(read.GetMaterials()[1].diffuse.b, 0.75f);
}

} // namespace
