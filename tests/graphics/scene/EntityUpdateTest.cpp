// The order in which an entity's settings reach its node, the frame's
// updates of moved entities, render flags and materials on the node,
// billboard corners and the vertices of an entity's mesh.

#include "support/JoinedEntity.h"
#include "support/NullGraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "support/ErrorOf.h"
#include "support/TestFolder.h"
#include "graphics/scene/BillboardSceneNode.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <functional>

namespace
{

using namespace irr;
using Strings = std::vector<std::string>;

const char* const kId = "00000000-0000-4000-8000-0000000000bb";

// A billboard that notes every setting that reaches its node.
class CRecordingBillboard : public CTestBillboard
{
public:
    using CTestBillboard::CTestBillboard;

    void SetId(const char* id) override
    {
        journal.push_back("Id");
        CTestBillboard::SetId(id);
    }
    void SetNodePosition(const CVector& position) override
    {
        journal.push_back("Position");
        CTestBillboard::SetNodePosition(position);
    }
    void SetNodeRotation(const CVector& rotation) override
    {
        journal.push_back("Rotation");
        CTestBillboard::SetNodeRotation(rotation);
    }
    void SetNodeScale(const CVector& scale) override
    {
        journal.push_back("Scale");
        CTestBillboard::SetNodeScale(scale);
    }
    void SetNodeFlags(uint32_t flags) override
    {
        journal.push_back("Flags");
        CTestBillboard::SetNodeFlags(flags);
    }
    void SetVisible(bool visible) override
    {
        journal.push_back("Visible");
        CTestBillboard::SetVisible(visible);
    }
    void SetFogEnabled(bool enabled) override
    {
        journal.push_back("Fog");
        CTestBillboard::SetFogEnabled(enabled);
    }
    void SetLightingEnabled(bool enabled) override
    {
        journal.push_back("Lighting");
        CTestBillboard::SetLightingEnabled(enabled);
    }
    void SetMaterialTexture(const std::wstring& name, uint32_t layer, int32_t material) override
    {
        journal.push_back("Texture" + std::to_string(material) + "." + std::to_string(layer));
        CTestBillboard::SetMaterialTexture(name, layer, material);
    }
    void SetMaterialAmbientColor(const CColor& color, int32_t material) override
    {
        journal.push_back("Ambient" + std::to_string(material));
        CTestBillboard::SetMaterialAmbientColor(color, material);
    }
    void SetMaterialDiffuseColor(const CColor& color, int32_t material) override
    {
        journal.push_back("Diffuse" + std::to_string(material));
        CTestBillboard::SetMaterialDiffuseColor(color, material);
    }
    void SetMaterialEmissiveColor(const CColor& color, int32_t material) override
    {
        journal.push_back("Emissive" + std::to_string(material));
        CTestBillboard::SetMaterialEmissiveColor(color, material);
    }
    void SetMaterialSpecularColor(const CColor& color, int32_t material) override
    {
        journal.push_back("Specular" + std::to_string(material));
        CTestBillboard::SetMaterialSpecularColor(color, material);
    }
    void SetMaterialShininess(float shininess, int32_t material) override
    {
        journal.push_back("Shininess" + std::to_string(material));
        CTestBillboard::SetMaterialShininess(shininess, material);
    }
    void SetMaterialType(int16_t type, int32_t material) override
    {
        journal.push_back("Type" + std::to_string(material));
        CTestBillboard::SetMaterialType(type, material);
    }
    void SetMaterialTypeParam(float param, int32_t material) override
    {
        journal.push_back("Param" + std::to_string(material));
        CTestBillboard::SetMaterialTypeParam(param, material);
    }

    Strings journal;
};

class EntityUpdateTest : public ::testing::Test
{
protected:
    CNullEngine null;
    Graphics::CGraphicsEngine& engine = null.engine;
};

TEST_F(EntityUpdateTest, SettingsReachTheNodeInTheirOrder)
{
    CRecordingBillboard billboard(kId);
    // Material 1 is set, material 0 is not and is skipped whole.
    billboard.GetMaterials().Resize(2);
    billboard.GetMaterials()[1].type = 0;
    billboard.journal.clear();
    engine.Add(&billboard, nullptr, "");
    EXPECT_EQ(billboard.journal,
              (Strings{"Visible", "Flags", "Position", "Rotation", "Scale", "Texture1.0", "Texture1.1",
                       "Texture1.2", "Texture1.3", "Ambient1", "Diffuse1", "Emissive1", "Specular1",
                       "Shininess1", "Type1", "Param1", "Fog", "Lighting"}));
}

TEST_F(EntityUpdateTest, MovedEntitiesFollowAfterTheNextFrame)
{
    CRecordingBillboard billboard(kId);
    engine.Add(&billboard, nullptr, "");
    scene::ISceneNode* node = billboard.GetSceneNode();
    // The joining entity stores the move without handing it on; the entity
    // asks for the frame's update.
    billboard.journal.clear();
    const_cast<CVector&>(billboard.GetPosition()) = CVector(5, 6, 7);
    const_cast<CVector&>(billboard.GetRotation()) = CVector(0, 90, 0);
    billboard.RegisterWithEngine();
    billboard.RegisterWithEngine();
    EXPECT_EQ(node->getPosition(), core::vector3df(0, 0, 0));
    EXPECT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(billboard.journal, (Strings{"Position", "Rotation", "Scale"}));
    EXPECT_EQ(node->getPosition(), core::vector3df(5, 6, 7));
    EXPECT_EQ(node->getRotation(), core::vector3df(0, 90, 0));
    // Once per registration.
    EXPECT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(billboard.journal.size(), 3u);
    // The direction vectors follow the rotation.
    EXPECT_NEAR(billboard.GetFrontVector().x, 1.0f, 1e-5f);
    EXPECT_NEAR(billboard.GetFrontVector().z, 0.0f, 1e-5f);
    EXPECT_NEAR(billboard.GetUpVector().y, 1.0f, 1e-5f);
}

// Bringing a node up to date touches the node only: a joined entity's body
// is neither moved nor rebuilt by the engine's Add, Update or frame, only
// by the entity's own changes.
template <class Entity> void ExpectNodeStepsStayInTheNode(Graphics::CGraphicsEngine& engine, Entity& entity)
{
    CPhysicsEngine physics(nullptr);
    CSoundEngine sound(nullptr);
    entity.Physical().Attach(physics);
    entity.Sonic().Attach(sound);
    const auto counts = [&]
    {
        return std::vector<int>{entity.Physical().placements, entity.Physical().rebuilds,
                                entity.Physical().updates, entity.Sonic().placements, entity.Sonic().updates};
    };
    const std::vector<int> none(5, 0);

    entity.SetScale(CVector(2, 2, 2));
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 0, 0, 0}));
    entity.Physical().rebuilds = 0;
    engine.Add(&entity, nullptr, "");
    ASSERT_NE(entity.GetSceneNode(), nullptr);
    engine.Update(&entity);
    EXPECT_EQ(counts(), none);

    // The body moved the entity: the node follows after the next frame,
    // and the body is not told of its own move.
    entity.MoveByBody(CVector(5, 6, 7), CVector(0, 90, 0));
    EXPECT_TRUE(engine.Draw(false, false, false));
    EXPECT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(counts(), none);
    EXPECT_EQ(entity.GetSceneNode()->getPosition().Z,
              7.0f + (entity.GetTypeId() == Misc::World::kTypeIdCamera ? 1.0f : 0.0f));

    // The entity's own changes reach every part.
    entity.SetPosition(CVector(1, 1, 1));
    entity.SetScale(CVector(3, 3, 3));
    entity.UpdateParts();
    EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(EntityUpdateTest, NodeStepsReachNoOtherPart)
{
    {
        SCOPED_TRACE("billboard");
        CTestBillboard billboard(kId);
        ExpectNodeStepsStayInTheNode(engine, billboard);
    }
    {
        SCOPED_TRACE("light");
        CTestLight light(kId);
        ExpectNodeStepsStayInTheNode(engine, light);
    }
    {
        SCOPED_TRACE("camera");
        CTestCameraEntity camera(kId);
        camera.SetOffset(CVector(0, 0, 1));
        ExpectNodeStepsStayInTheNode(engine, camera);
        // The offset places the node again, not the entity; a move of the
        // camera moves the entity.
        CPhysicsEngine physics(nullptr);
        camera.Physical().Attach(physics);
        camera.Physical().placements = 0;
        camera.SetOffset(CVector(0, 0, 2));
        EXPECT_EQ(camera.GetSceneNode()->getPosition().Z, 3.0f);
        EXPECT_EQ(camera.Physical().placements, 0);
        camera.MoveForward(CVector(1, 1, 1), 1.0f);
        EXPECT_EQ(camera.Physical().placements, 1);
    }
    {
        SCOPED_TRACE("particle system");
        CTestParticleSystem particles(kId);
        ExpectNodeStepsStayInTheNode(engine, particles);
    }
}

TEST_F(EntityUpdateTest, RenderFlagsAndMaterialsOnTheNode)
{
    CTestBillboard billboard(kId);
    billboard.SetSolid(false);
    billboard.SetZBufferWriteEnabled(false);
    billboard.SetLightingEnabled(true);
    billboard.SetMaterialType(-1, 0);
    billboard.SetMaterialDiffuseColor(CColor(1.0f, 0.5f, 0.0f, 1.0f), 0);
    EXPECT_EQ(billboard.GetMaterials()[0].type, -1);
    engine.Add(&billboard, nullptr, "");
    video::SMaterial& material = billboard.GetSceneNode()->getMaterial(0);
    EXPECT_TRUE(material.Wireframe);
    EXPECT_FALSE(material.ZWriteEnable);
    EXPECT_TRUE(material.Lighting);
    EXPECT_TRUE(material.NormalizeNormals);
    // Material 0 is unset: its stored colour is not applied.
    EXPECT_EQ(material.DiffuseColor, video::SColor(255, 255, 255, 255));
    billboard.SetMaterialType(3, 0);
    EXPECT_EQ(material.MaterialType, 3);
    billboard.SetMaterialDiffuseColor(CColor(1.0f, 0.5f, 0.0f, 1.0f), 0);
    EXPECT_EQ(material.DiffuseColor, video::SColor(255, 255, 127, 0));
    billboard.SetMaterialShininess(9.0f, 0);
    EXPECT_EQ(material.Shininess, 9.0f);
    // Material indices past the list throw; past the node's, they store.
    EXPECT_EQ(ErrorOf([&] { billboard.SetMaterialShininess(1.0f, 1); }),
              "[CMaterials::operator[]]Invalid material index:1");
    billboard.GetMaterials().Resize(2);
    billboard.SetMaterialShininess(4.0f, 1);
    EXPECT_EQ(billboard.GetMaterials()[1].shininess, 4.0f);
    EXPECT_EQ(ErrorOf([&] { billboard.SetMaterialTexture(L"a.png", 4, 0); }),
              "[CGraphicalEntity::SetMaterialTexture] Invalid texture layer:4");
    // A texture that does not exist leaves the layer empty.
    billboard.SetMaterialTexture(L"no such texture.png", 0, 0);
    EXPECT_EQ(material.getTexture(0), nullptr);
    EXPECT_EQ(billboard.GetMaterials()[0].textures[0].GetValue(), L"no such texture.png");
}

TEST_F(EntityUpdateTest, TexturesAreLoadedByNameOntoTheNodeAndTheMarkers)
{
    // A small image written at run time.
    CTestFolder folder;
    const std::string path = folder / "stone.png";
    video::IVideoDriver* driver = engine.GetDevice()->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(4, 4));
    image->fill(video::SColor(255, 10, 20, 30));
    ASSERT_TRUE(driver->writeImageToFile(image, path.c_str()));
    image->drop();

    CTestBillboard billboard(kId);
    billboard.SetMaterialTexture(Misc::Text::Utf8ToWide(path), 1, 0);
    engine.Add(&billboard, nullptr, "");
    // Material 0 is unset: nothing was applied yet.
    EXPECT_EQ(billboard.GetSceneNode()->getMaterial(0).getTexture(1), nullptr);
    billboard.SetMaterialType(0, 0);
    billboard.UpdateParts();
    video::ITexture* texture = billboard.GetSceneNode()->getMaterial(0).getTexture(1);
    ASSERT_NE(texture, nullptr);

    // Marker cubes wear texture 0 of material 0.
    CTestTrigger trigger("00000000-0000-4000-8000-0000000000ee");
    trigger.SetMaterialTexture(Misc::Text::Utf8ToWide(path), 0, 0);
    trigger.SetFlags(1);
    engine.Add(&trigger, nullptr, "");
    EXPECT_EQ(trigger.GetSceneNode()->getMaterial(0).getTexture(0), texture);
}

TEST_F(EntityUpdateTest, BillboardCornersLiveInTheNodeOnly)
{
    CTestBillboard billboard(kId);
    CColor color(0.3f, 0.3f, 0.3f, 0.3f);
    billboard.GetVertexColor(0, color);
    EXPECT_EQ(color.r, 0.0f);
    billboard.SetVertexColor(2, CColor(1, 0, 0, 1));
    billboard.SetVertexUV(2, CPoint(0.5f, 0.5f));
    engine.Add(&billboard, nullptr, "");
    // Nothing was kept from before the node.
    billboard.GetVertexColor(2, color);
    EXPECT_EQ(color.r, 1.0f);
    EXPECT_EQ(color.g, 1.0f);
    CPoint uv;
    billboard.GetVertexUV(2, uv);
    EXPECT_EQ(uv.x, 0.0f);
    billboard.SetVertexColor(2, CColor(1, 0, 0, 1));
    billboard.SetVertexUV(1, CPoint(0.25f, 0.75f));
    billboard.GetVertexColor(2, color);
    EXPECT_EQ(color.g, 0.0f);
    EXPECT_EQ(color.a, 1.0f);
    billboard.GetVertexUV(1, uv);
    EXPECT_EQ(uv.y, 0.75f);
    // Corners past 3 read black and change nothing.
    billboard.SetVertexColor(9, CColor(0, 1, 0, 1));
    billboard.GetVertexColor(9, color);
    EXPECT_EQ(color.g, 0.0f);
    // The quad faces the camera and is drawn with the corners' colours.
    CTestCameraEntity camera("00000000-0000-4000-8000-0000000000cc");
    camera.SetPosition(CVector(0, 0, -10));
    engine.Add(&camera, nullptr, "");
    EXPECT_TRUE(engine.Draw(false, false, false));
    auto* node = billboard.GetBillboardNode();
    EXPECT_EQ(node->GetCorner(2).Color, video::SColor(255, 255, 0, 0));
    EXPECT_NEAR(node->GetCorner(0).Pos.X, -node->GetCorner(3).Pos.X, 1e-5f);
}

// A mesh of two buffers with 4 and 6 vertices; the second holds vertices
// with two texture coordinate sets.
scene::SMesh* MakeTwoBufferMesh()
{
    auto* mesh = new scene::SMesh();
    auto* first = new scene::SMeshBuffer();
    for (int i = 0; i < 4; ++i)
        first->Vertices.push_back(
            video::S3DVertex(static_cast<f32>(i), 0, 0, 0, 1, 0, video::SColor(255, 0, 0, 0), 0, 0));
    first->Indices.push_back(0);
    first->Indices.push_back(1);
    first->Indices.push_back(2);
    auto* second = new scene::SMeshBufferLightMap();
    for (int i = 0; i < 6; ++i)
        second->Vertices.push_back(video::S3DVertex2TCoords(static_cast<f32>(10 + i), 0, 0,
                                                            video::SColor(255, 0, 0, 0), 0, 0, 0.5f, 0.5f));
    mesh->addMeshBuffer(first);
    mesh->addMeshBuffer(second);
    first->drop();
    second->drop();
    return mesh;
}

TEST_F(EntityUpdateTest, MeshVerticesCountAcrossBuffers)
{
    scene::SMesh* mesh = MakeTwoBufferMesh();
    using Graphics::CGraphicsEngine;
    EXPECT_EQ(CGraphicsEngine::GetNumberOfMeshVertices(mesh), 10u);
    EXPECT_EQ(CGraphicsEngine::GetNumberOfMeshVertices(nullptr), 0u);
    CVector position;
    EXPECT_TRUE(CGraphicsEngine::GetMeshVertexPosition(mesh, 5, position));
    EXPECT_EQ(position.x, 11.0f);
    // Index 10 lies past the last vertex: nothing changes, still true.
    position = CVector(-1, -1, -1);
    EXPECT_TRUE(CGraphicsEngine::GetMeshVertexPosition(mesh, 10, position));
    EXPECT_EQ(position.x, -1.0f);
    EXPECT_TRUE(CGraphicsEngine::SetMeshVertexColor(mesh, 10, CColor(1, 1, 1, 1)));

    CPoint uv;
    CGraphicsEngine::GetMeshVertexUV(mesh, 4, true, uv);
    EXPECT_EQ(uv.x, 0.5f);
    CGraphicsEngine::GetMeshVertexUV(mesh, 0, true, uv);
    EXPECT_EQ(uv.x, 0.0f);
    CGraphicsEngine::SetMeshVertexUV(mesh, 4, true, CPoint(0.25f, 0.75f));
    CGraphicsEngine::GetMeshVertexUV(mesh, 4, true, uv);
    EXPECT_EQ(uv.y, 0.75f);
    CGraphicsEngine::SetMeshVertexColor(mesh, 1, CColor(1, 0.5f, 0, 1));
    CColor color;
    CGraphicsEngine::GetMeshVertexColor(mesh, 1, color);
    EXPECT_FLOAT_EQ(color.g, 127.0f / 255.0f);
    CGraphicsEngine::SetMeshVertexNormal(mesh, 9, CVector(0, 0, 1));
    CVector normal;
    CGraphicsEngine::GetMeshVertexNormal(mesh, 9, normal);
    EXPECT_EQ(normal.z, 1.0f);

    // Through an entity: its mesh, or the no-mesh error.
    CKindEntity agent(Misc::World::kTypeIdAgent, kId);
    EXPECT_EQ(
        ErrorOf([&] { agent.GetNumberOfVertices(); }),
        std::string("[CGraphicalEntity::getMeshData] Graphical entity does not have a mesh defined [,") +
            kId + "]");
    agent.SetMesh(mesh);
    EXPECT_EQ(agent.GetNumberOfVertices(), 10u);
    agent.SetVertexPosition(0, CVector(3, 3, 3));
    agent.GetVertexPosition(0, position);
    EXPECT_EQ(position.y, 3.0f);

    // The body's vertices and faces: scaled, with the box around them.
    agent.SetScale(CVector(2, 1, 1));
    std::vector<CVector> vertices;
    CVector size, centre;
    EXPECT_EQ(agent.GetVertices(vertices, size, centre), 10u);
    EXPECT_EQ(vertices[0].x, 6.0f);
    EXPECT_EQ(size.x, 30.0f - 2.0f);
    std::vector<Misc::World::CTriangle> faces;
    // Vertices 0 (3,3,3), 1 (1,0,0), 2 (2,0,0) make one real triangle.
    EXPECT_EQ(agent.GetFaces(faces, size, centre, 0.000001f, 0), 1u);
    EXPECT_EQ(faces[0][1].x, 2.0f);
    mesh->drop();
    agent.SetMesh(nullptr);

    // Without a mesh: no points, the unit cube scaled.
    CTestLight light(kId);
    light.SetScale(CVector(2, -3, 4));
    EXPECT_EQ(light.GetVertices(vertices, size, centre), 0u);
    EXPECT_TRUE(vertices.empty());
    EXPECT_EQ(size.y, 3.0f);
}

TEST_F(EntityUpdateTest, AnEntityCopyIsNeverInitialised)
{
    CTestLight light(kId);
    light.SetSpotParams(CVector(5, 6, 7));
    light.SetVisible(false);
    light.SetPosition(CVector(1, 2, 3));
    engine.Add(&light, nullptr, "");
    CTestLight copy(light);
    EXPECT_EQ(copy.GetSceneNode(), nullptr);
    EXPECT_EQ(copy.GetEngine(), nullptr);
    EXPECT_FALSE(copy.IsVisible());
    EXPECT_EQ(copy.GetSpotParams().y, 6.0f);
    CTestLight assigned(kId);
    engine.Add(&assigned, nullptr, "");
    static_cast<Graphics::Scene::CGraphicalLight&>(assigned) = light;
    EXPECT_EQ(assigned.GetSceneNode(), nullptr);
    CVector position;
    assigned.GetAbsolutePosition(position);
    EXPECT_EQ(position.x, 0.0f);
}

} // namespace
