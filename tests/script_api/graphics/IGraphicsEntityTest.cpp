// IGraphics on world entities, from scripts on the program's engine object,
// with entities of the world's managed kinds found through a lookup of the
// test's own: materials and the negative-index rule, mesh handles and
// vertices, animation and joints of a skinned agent, one entity carried on
// another's joint, the camera lookups of render targets and screen
// positions, picking, and hostile arguments to every entity function.

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RenderTarget.h"
#include "graphics/meshes/WalkerMesh.h"
#include "script_api/world/EntityArguments.h"
#include "support/LuaTestState.h"
#include "world/ManagedCamera.h"
#include "world/ManagedEntity.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace irr;
using Misc::World::IEntityInterface;
namespace Scene = Graphics::Scene;
namespace World = Misc::World;

const char* const kUnit = "00000000-0000-4000-8000-000000000001";
const char* const kAgent = "00000000-0000-4000-8000-000000000002";
const char* const kLight = "00000000-0000-4000-8000-000000000003";
const char* const kBillboard = "00000000-0000-4000-8000-000000000004";
const char* const kCamera = "00000000-0000-4000-8000-000000000005";
const char* const kLoose = "00000000-0000-4000-8000-000000000006";

// The collections of a world map, searched across in the group's order;
// the lookup in place of the program's world while installed.
class CTestWorld final : public ScriptWorld::IEntityLookup
{
public:
    CTestWorld() = default;
    ~CTestWorld() { Uninstall(); }
    CTestWorld(const CTestWorld&) = delete;
    CTestWorld& operator=(const CTestWorld&) = delete;

    void Install()
    {
        m_previous = ScriptWorld::SetEntityLookup(this);
        m_installed = true;
    }
    void Uninstall()
    {
        if (m_installed)
            ScriptWorld::SetEntityLookup(m_previous);
        m_installed = false;
    }

    template <class Graphical> CManagedEntity<Graphical>& Add(uint32_t typeId, const char* id)
    {
        auto entity = std::make_unique<CManagedEntity<Graphical>>();
        entity->SetId(id);
        CManagedEntity<Graphical>& added = *entity;
        m_units[typeId][id] = std::move(entity);
        return added;
    }
    void Delete(uint32_t typeId, const char* id) { m_units[typeId].erase(id); }
    // Entities go before the engine that drew them.
    void Clear() { m_units.clear(); }

    IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        auto& units = m_units[typeId];
        const auto found = units.find(std::string(id));
        return found != units.end() ? found->second.get() : nullptr;
    }
    IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        for (uint32_t typeId : World::kGroupSearchOrder)
        {
            if (IEntityInterface* entity = FindUnit(typeId, id))
                return entity;
        }
        return nullptr;
    }

private:
    std::map<uint32_t, std::map<std::string, std::unique_ptr<IEntityInterface>>> m_units;
    ScriptWorld::IEntityLookup* m_previous = nullptr;
    bool m_installed = false;
};

class IGraphicsEntity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        graphics = engine->GetPart<Graphics::CGraphicsEngine>();
        ASSERT_NE(graphics, nullptr);
        ASSERT_EQ(Run("assert(IGraphics:init('NULL', 640, 480, false, 16, false, false, false, 100, false))\n"
                      "IGraphics:setBackgroundRenderingEnabled(true)"),
                  "");
        CacheWalker(graphics->GetDevice()->getSceneManager());
        world.Install();

        unit = &world.Add<Scene::CGraphicalUnit>(World::kTypeIdUnit, kUnit);
        unit->GetMaterials().Resize(3);
        graphics->Add(unit, nullptr, "");
        agent = &world.Add<Scene::CGraphicalAgent>(World::kTypeIdAgent, kAgent);
        agent->SetModelName(L"walker.x");
        graphics->Add(agent, nullptr, "");
        ASSERT_EQ(agent->GetSceneNode()->getType(), scene::ESNT_ANIMATED_MESH);
        light = &world.Add<Scene::CGraphicalLight>(World::kTypeIdLight, kLight);
        graphics->Add(light, nullptr, "");
        billboard = &world.Add<Scene::CGraphicalBillboard>(World::kTypeIdBillboard, kBillboard);
        graphics->Add(billboard, nullptr, "");
        camera = &world.Add<Scene::CGraphicalCamera>(World::kTypeIdCamera, kCamera);
        graphics->Add(camera, nullptr, "");
        // Never added to the scene.
        loose = &world.Add<Scene::CGraphicalUnit>(World::kTypeIdUnit, kLoose);
        ASSERT_EQ(Run(std::string("U, A, L, B, C, N = '") + kUnit + "', '" + kAgent + "', '" + kLight +
                      "', '" + kBillboard + "', '" + kCamera + "', '" + kLoose + "'"),
                  "");
    }
    void TearDown() override
    {
        world.Clear();
        world.Uninstall();
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    std::string Run(const std::string& code) { return RunScript(state, code); }

    // The expression's first value through tostring, or "error: <message>"
    // (without the chunk's position).
    std::string Show(const std::string& expression)
    {
        lua_State* L = state->GetCState();
        LuaPlus::LuaStackRestore restore(L);
        if (CallScript(state, "return tostring((" + expression + "))", 1))
            return lua_tostring(L, -1);
        std::string message = lua_isstring(L, -1) ? lua_tostring(L, -1) : "?";
        const std::string where = "test:1: ";
        if (message.rfind(where, 0) == 0)
            message.erase(0, where.size());
        return "error: " + message;
    }

    struct Case
    {
        const char* expression;
        const char* expected;
    };
    void Expect(const std::vector<Case>& cases)
    {
        for (const Case& c : cases)
            EXPECT_EQ(Show(c.expression), c.expected) << c.expression;
    }

    scene::IAnimatedMeshSceneNode* AgentNode() const
    {
        return static_cast<scene::IAnimatedMeshSceneNode*>(agent->GetSceneNode());
    }

    CTestWorld world;
    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
    Graphics::CGraphicsEngine* graphics = nullptr;
    CManagedEntity<Scene::CGraphicalUnit>* unit = nullptr;
    CManagedEntity<Scene::CGraphicalAgent>* agent = nullptr;
    CManagedEntity<Scene::CGraphicalLight>* light = nullptr;
    CManagedEntity<Scene::CGraphicalBillboard>* billboard = nullptr;
    CManagedEntity<Scene::CGraphicalCamera>* camera = nullptr;
    CManagedEntity<Scene::CGraphicalUnit>* loose = nullptr;
};

TEST_F(IGraphicsEntity, MaterialGettersTakeOneIndexAndSettersTakeANegativeIndexAsEveryMaterial)
{
    const std::string badIndex = "error: [CMaterials::operator[]]Invalid material index:";
    Expect({
        {"IGraphics:getEntityMaterialCount(U)", "3"},
        {"IGraphics:getEntityAmbientColor(U, 2)", "0.50 0.50 0.50 1.00"},
        {"IGraphics:getEntityDiffuseColor(U, 0)", "1.00 1.00 1.00 1.00"},
        {"IGraphics:getEntityEmissiveColor(U, 1)", "0.00 0.00 0.00 0.00"},
        {"IGraphics:getEntitySpecularColor(U, 1)", "0.00 0.00 0.00 0.00"},
        {"IGraphics:getEntityShininess(U, 0)", "20"},
        {"IGraphics:getEntityMaterialType(U, 0)", "-1"},
        {"IGraphics:getEntityMaterialTypeParam(U, 0)", "0.5"},
        {"IGraphics:getEntityTextureName(U, 3, 2)", ""},
        {"IGraphics:getEntityDiffuseColor(U, -1)", (badIndex + "-1").c_str()},
        {"IGraphics:getEntityShininess(U, 3)", (badIndex + "3").c_str()},
        {"IGraphics:setEntityShininess(U, 3, 1)", (badIndex + "3").c_str()},
        {"IGraphics:getEntityTextureName(U, 4, 0)",
         "error: [CGraphicalEntity::GetMaterialTexture] Invalid texture layer:4"},
        {"IGraphics:setEntityTextureName(U, -1, -1, 'a.png')",
         "error: [CGraphicalEntity::SetMaterialTexture] Invalid texture layer:4294967295"},
        {"IGraphics:getEntityAmbientColor('nobody', 0)",
         "error: [CWorldMapGroup::GetUnit] Unit not found [nobody]"},
    });
    // Every material, in order; then one.
    ASSERT_EQ(Run("IGraphics:setEntityDiffuseColor(U, -1, '0.2 0.4 0.6 1')\n"
                  "IGraphics:setEntityShininess(U, 1, 7)\n"
                  "IGraphics:setEntityTextureName(U, 1, -1, 'missing.png')\n"
                  "IGraphics:setEntityMaterialType(U, 0, 5)\n"
                  // Negative as 16 bits: ignored, the index not even read.
                  "IGraphics:setEntityMaterialType(U, 99, -1)\n"
                  "IGraphics:setEntityMaterialType(U, 99, 65535)\n"
                  "IGraphics:setEntityMaterialTypeParam(U, -1, 0.25)"),
              "");
    Expect({
        {"IGraphics:getEntityDiffuseColor(U, 0)", "0.20 0.40 0.60 1.00"},
        {"IGraphics:getEntityDiffuseColor(U, 2)", "0.20 0.40 0.60 1.00"},
        {"IGraphics:getEntityShininess(U, 0)", "20"},
        {"IGraphics:getEntityShininess(U, 1)", "7"},
        {"IGraphics:getEntityTextureName(U, 1, 2)", "missing.png"},
        {"IGraphics:getEntityMaterialType(U, 0)", "5"},
        {"IGraphics:getEntityMaterialTypeParam(U, 2)", "0.25"},
    });
    // The node (one material) takes what reaches its index; a texture
    // that neither loads nor names a render target leaves it without one.
    const video::SMaterial& material = unit->GetSceneNode()->getMaterial(0);
    EXPECT_EQ(material.DiffuseColor, video::SColor(255, 51, 102, 153));
    EXPECT_EQ(material.MaterialType, static_cast<video::E_MATERIAL_TYPE>(5));
    EXPECT_EQ(material.getTexture(1), nullptr);
    // No materials: a setter over all does nothing, a count of 0.
    unit->GetMaterials().Resize(0);
    Expect({{"IGraphics:setEntityShininess(U, -1, 3)", "nil"}, {"IGraphics:getEntityMaterialCount(U)", "0"}});
}

TEST_F(IGraphicsEntity, VisibilitySceneMembershipAndRenderFlags)
{
    Expect({
        {"IGraphics:isEntityInitialised(N)", "false"},
        {"IGraphics:setEntityVisible(N, false)", "nil"},
        {"IGraphics:isEntityVisible(N)", "false"},
        {"IGraphics:refreshEntity(N)", "nil"},
        {"IGraphics:isEntityInitialised(N)", "true"},
        {"IGraphics:getEntityLightingEnabled(U)", "false"},
        {"IGraphics:getEntityFogEnabled(U)", "true"},
        {"IGraphics:setEntitySolid(U, false)", "nil"},
        {"IGraphics:getEntitySolid(U)", "false"},
        {"IGraphics:setEntityGouraud(U, false)", "nil"},
        {"IGraphics:getEntityGouraud(U)", "false"},
        {"IGraphics:setEntityZBufferEnabled(U, false)", "nil"},
        {"IGraphics:getEntityZBufferEnabled(U)", "false"},
        {"IGraphics:setEntityZBufferWriteEnabled(U, false)", "nil"},
        {"IGraphics:getEntityZBufferWriteEnabled(U)", "false"},
        {"IGraphics:setEntityLightingEnabled(U, true)", "nil"},
        {"IGraphics:getEntityLightingEnabled(U)", "true"},
    });
    ASSERT_NE(loose->GetSceneNode(), nullptr);
    EXPECT_FALSE(loose->GetSceneNode()->isVisible());
    // Lighting reaches the node now; solid only when the node is made again.
    EXPECT_TRUE(unit->GetSceneNode()->getMaterial(0).Lighting);
    EXPECT_FALSE(unit->GetSceneNode()->getMaterial(0).Wireframe);
    ASSERT_EQ(Run("IGraphics:refreshEntity(U)"), "");
    EXPECT_TRUE(unit->GetSceneNode()->getMaterial(0).Wireframe);
}

TEST_F(IGraphicsEntity, MeshHandlesAndVerticesOfMeshesAndEntities)
{
    ASSERT_EQ(Run("H = IGraphics:getMeshId('walker.x', 0)\nassert(H ~= 0)"), "");
    Expect({
        {"IGraphics:getMeshId('walker.x', 0) == H", "true"},
        {"IGraphics:getMeshId('absent.x', 0)", "0"},
        {"IGraphics:getMeshId('walker.x', 1000)", "0"},
        {"IGraphics:getMeshId('walker.x', -1)", "0"},
        {"IGraphics:getNumberOfMeshVertices(H)", "3"},
        {"IGraphics:getMeshVertexPosition(H, 1)", "1.000000 0.000000 0.000000"},
        {"IGraphics:getMeshVertexNormal(H, 1)", "0.000000 0.000000 -1.000000"},
        {"IGraphics:getMeshVertexColor(H, 0)", "1.00 1.00 1.00 1.00"},
        // The second set of a standard vertex is its first.
        {"IGraphics:getMeshVertexUV(H, 2, 1)", "0.000000 1.000000"},
        // Past the end and handle 0: the defaults.
        {"IGraphics:getMeshVertexColor(H, 3)", "0.00 0.00 0.00 1.00"},
        {"IGraphics:getMeshVertexPosition(0, 0)", "0.000000 0.000000 0.000000"},
        {"IGraphics:getMeshVertexUV(0, 0, 0)", "0.000000 0.000000"},
        {"IGraphics:getNumberOfMeshVertices(0)", "0"},
        {"#IGraphics:getEntityVertices(0)", "0"},
        {"#IGraphics:getEntityFaces(0, -1)", "0"},
        {"#IGraphics:getEntityVertices(H)", "3"},
        {"#IGraphics:getEntityFaces(H, 0)", "3"},
        {"IGraphics:getEntityFaces(H, 0)[2]", "1.000000 0.000000 0.000000"},
        // Forged and mistaken handles, and neither number nor text.
        {"IGraphics:getNumberOfMeshVertices(12345)",
         "error: [IGraphics::getNumberOfMeshVertices] Invalid mesh handle: 12345"},
        {"IGraphics:getMeshVertexColor(nil, 0)",
         "error: [IGraphics::getMeshVertexColor] Mesh handle or entity id expected, got nil"},
        {"IGraphics:getEntityVertices({})",
         "error: [IGraphics::getEntityVertices] Mesh handle or entity id expected, got table"},
    });
    // Not whole, or a text: no handle (a text is an entity id).
    EXPECT_EQ(Show("IGraphics:getMeshVertexPosition(H + 0.5, 0)")
                  .rfind("error: [IGraphics::getMeshVertexPosition] Invalid mesh handle: ", 0),
              0u);
    EXPECT_EQ(Show("IGraphics:getNumberOfMeshVertices(tostring(H))")
                  .rfind("error: [CWorldMapGroup::GetUnit] Unit not found [", 0),
              0u);
}

TEST_F(IGraphicsEntity, VerticesWrittenThroughAHandleAreTheEntitysAndBillboardCornersAreChecked)
{
    ASSERT_EQ(Run("H = IGraphics:getMeshId('walker.x', 0)\n"
                  "IGraphics:setMeshVertexPosition(H, 2, '0 5 0')\n"
                  "IGraphics:setMeshVertexColor(H, 2, '1 0 0 1')\n"
                  "IGraphics:setMeshVertexUV(H, 2, 0, '0.5 0.25')\n"
                  "IGraphics:setMeshVertexNormal(A, 2, '0 1 0')\n"
                  "IGraphics:setMeshVertexPosition(H, 3, '9 9 9')"),
              "");
    Expect({
        {"IGraphics:getNumberOfMeshVertices(A)", "3"},
        {"IGraphics:getMeshVertexPosition(A, 2)", "0.000000 5.000000 0.000000"},
        {"IGraphics:getMeshVertexColor(A, 2)", "1.00 0.00 0.00 1.00"},
        {"IGraphics:getMeshVertexUV(A, 2, 0)", "0.500000 0.250000"},
        {"IGraphics:getMeshVertexNormal(H, 2)", "0.000000 1.000000 0.000000"},
        {"IGraphics:getNumberOfMeshVertices(L)",
         (std::string(
              "error: [CGraphicalEntity::getMeshData] Graphical entity does not have a mesh defined [,") +
          kLight + "]")
             .c_str()},
        {"IGraphics:setBillboardVertexColor(B, 3, '0 1 0 1')", "nil"},
        {"IGraphics:getBillboardVertexColor(B, 3)", "0.00 1.00 0.00 1.00"},
        {"IGraphics:setBillboardVertexUV(B, 0, '0.5 0.5')", "nil"},
        {"IGraphics:getBillboardVertexUV(B, 0)", "0.500000 0.500000"},
        {"IGraphics:getBillboardVertexColor(B, 4)",
         "error: [CGraphicalBillboard::GetVertexColor] Invalid billboard vertex:4"},
        {"IGraphics:setBillboardVertexUV(B, -1, '0 0')",
         "error: [CGraphicalBillboard::SetVertexUV] Invalid billboard vertex:4294967295"},
        {"IGraphics:getBillboardVertexUV(U, 0)",
         (std::string("error: [CWorldMap::GetUnit] Unit not found [") + kUnit + "]").c_str()},
        // Bounding boxes: none without a node.
        {"IGraphics:getBoundingBox(N).max", "0.000000 0.000000 0.000000"},
        {"IGraphics:getBoundingBox(U).max", "0.500000 0.500000 0.500000"},
    });
    // Clearing the cache lets go of the mesh: its handle goes with it.
    EXPECT_EQ(Show("IGraphics:clearCache()"), "nil");
    EXPECT_EQ(Show("IGraphics:getNumberOfMeshVertices(H)")
                  .rfind("error: [IGraphics::getNumberOfMeshVertices] Invalid mesh handle: ", 0),
              0u);
}

TEST_F(IGraphicsEntity, AnimationFramesSpeedLoopingAndTheEnd)
{
    const std::string noNode = std::string("] Animated mesh not intialised [,") + kLoose + "]";
    Expect({
        {"IGraphics:setEntityAnimationEx(A, 0, 10, false, 10.5)", "nil"},
        {"IGraphics:getEntityAnimationStartFrame(A)", "0"},
        {"IGraphics:getEntityAnimationEndFrame(A)", "10"},
        {"IGraphics:getEntityAnimationFrameRate(A)", "10"},
        {"IGraphics:getEntityAnimationLooping(A)", "false"},
        {"IGraphics:getEntityAnimationFrameCount(A) > 1", "true"},
        {"IGraphics:isAnimationComplete(A)", "false"},
        {"IGraphics:setEntityAnimation(A, 'MD2_DANCE', true, 30)",
         "error: [convertMD2Animation] Unknown MD2 animation type:MD2_DANCE"},
        {"IGraphics:getEntityAnimationFrame(N)",
         ("error: [CGraphicalEntity::GetAnimationFrame" + noNode).c_str()},
        {"IGraphics:setEntityAnimationFrames(N, 1, 2)",
         ("error: [CGraphicalEntity::SetAnimationSpeed" + noNode).c_str()},
        {"IGraphics:isAnimationComplete(N)", "false"},
        // Not an animated mesh: nothing, without an error.
        {"IGraphics:getEntityAnimationEndFrame(U)", "0"},
        {"IGraphics:setEntityAnimationSpeed(U, 3)", "nil"},
    });
    AgentNode()->OnAnimate(1000);
    AgentNode()->OnAnimate(3000);
    EXPECT_EQ(Show("IGraphics:getEntityAnimationFrame(A)"), "10");
    EXPECT_EQ(Show("IGraphics:isAnimationComplete(A)"), "true");
    EXPECT_EQ(Show("IGraphics:setEntityAnimationLooping(A, false)"), "nil");
    EXPECT_EQ(Show("IGraphics:isAnimationComplete(A)"), "false");
    // A quarter-second blend into frame 4.
    EXPECT_EQ(Show("IGraphics:setEntityAnimationFrame(A, 4, 250)"), "nil");
    EXPECT_EQ(Show("IGraphics:getEntityAnimationFrame(A)"), "4");
}

TEST_F(IGraphicsEntity, JointsAndAUnitCarriedOnAnAgentsJoint)
{
    Expect({
        {"IGraphics:getEntityJointName(A, 1)", "hand"},
        {"IGraphics:getEntityJointName(A, 2)", "nil"},
        {"IGraphics:getEntityJointName(U, 0)", "nil"},
        {"IGraphics:getEntityJointPosition(A, 'nope')",
         "error: [CGraphicalEntity::GetAnimatedMeshJointPosition] Joint not found:nope"},
        {"IGraphics:getEntityJointTransformation(A, '')",
         "error: [CGraphicalEntity::GetAnimatedMeshJointTransformation] Joint not found:"},
        {"IGraphics:getEntityJointScale(U, 'hand')", "0.000000 0.000000 0.000000"},
        {"IGraphics:getEntityJointTransformation(U, 'hand').scale", "0.000000 0.000000 0.000000"},
        {"IGraphics:setEntityJointMode(N, 'write')", "nil"},
        {"IGraphics:animateEntityJoints(N)", "nil"},
        {"IGraphics:animateEntityJointsAuto(U, false)", "nil"},
        {"IGraphics:getEntityAttachment(U)", "nil"},
        {"IGraphics:attachToEntity(A, U, 'elbow')",
         "error: [CGraphicalEntity::AttachChild] Joint not found:elbow"},
        {"IGraphics:attachToEntity('nobody', U, '')",
         "error: [CWorldMapGroup::GetUnit] Unit not found [nobody]"},
        {"IGraphics:attachToEntity(A, 'nobody', '')",
         "error: [CWorldMapGroup::GetUnit] Unit not found [nobody]"},
        // A child not in the scene has no node to hang: nothing changes.
        {"IGraphics:attachToEntity(A, N, '')", "nil"},
        {"IGraphics:attachToEntity(A, N, 'hand')", "nil"},
        {"IGraphics:attachToEntity(A, N, 'elbow')",
         "error: [CGraphicalEntity::AttachChild] Joint not found:elbow"},
        {"IGraphics:removeEntityAttachment(N)",
         "error: [CGraphicsEngine::RemoveChild] Graphical entity not initialised"},
        {"IGraphics:getEntityAttachment(N)",
         (std::string("error: [CGraphicalEntity::GetAttachmentParent] Graphical entity not intialised [,") +
          kLoose + "]")
             .c_str()},
    });
    // The unit rides on the hand: it rises with the frames.
    ASSERT_EQ(Run("IGraphics:setEntityAnimationEx(A, 0, 20, false, 10)\n"
                  "IGraphics:setEntityAnimationFrame(A, 0, 0)\n"
                  "IGraphics:setEntityJointMode(A, 'READ')\n"
                  "IGraphics:attachToEntity(A, U, 'hand')\n"
                  "IGraphics:animateEntityJointsAuto(U, true)"),
              "");
    EXPECT_EQ(Show("IGraphics:getEntityAttachment(U)"), "hand");
    EXPECT_EQ(Show("IGraphics:getEntityJointPosition(A, 'hand')"), "0.000000 2.000000 0.000000");
    ASSERT_EQ(Run("IGraphics:setEntityAnimationFrame(A, 10, 0)\nIGraphics:animateEntityJoints(A)"), "");
    EXPECT_EQ(Show("IGraphics:getEntityJointPosition(A, 'hand')"), "0.000000 3.000000 0.000000");
    unit->GetSceneNode()->updateAbsolutePosition();
    EXPECT_EQ(Show("IGraphics:getEntityAbsolutePosition(U)"), "0.000000 3.000000 0.000000");
    EXPECT_EQ(Show("IGraphics:getEntityAbsoluteScale(U)"), "1.000000 1.000000 1.000000");
    EXPECT_EQ(Show("IGraphics:removeEntityAttachment(U)"), "nil");
    EXPECT_EQ(Show("IGraphics:getEntityAttachment(U)"), "nil");
    // The auto-animated unit goes before the engine: no step touches it.
    world.Delete(World::kTypeIdUnit, kUnit);
    EXPECT_TRUE(graphics->Draw(false, false, false));
}

TEST_F(IGraphicsEntity, RenderTargetsAndScreenPositionsNameWorldCamerasAndForgetDeletedOnes)
{
    camera->SetPosition(CVector(0, 0, -10));
    Expect({
        // The NULL driver makes no texture to draw into: the target
        // exists, unbound.
        {"IGraphics:createRenderTarget('view', '64 64', C, 0)", "false"},
        {"IGraphics:getRenderTargetCameraId('view')", ""},
        {"IGraphics:createRenderTarget('view', '64 64', U, 0)",
         (std::string("error: [CWorldMap::GetUnit] Unit not found [") + kUnit + "]").c_str()},
        {"IGraphics:setRenderTargetCameraId('none', C, 0)",
         "error: [CGraphicsEngine::GetRenderTarget] Render target id not found"},
        {"IGraphics:setRenderTargetCameraId('view', C, 25)", "true"},
        {"IGraphics:getRenderTargetCameraId('view')", kCamera},
        {"IGraphics:getRenderTargetCameraId('none')",
         "error: [CGraphicsEngine::GetRenderTarget] Render target id not found"},
        {"IGraphics:getScreenPosFrom3DPos('0 0 0', 'nobody')",
         "error: [CWorldMap::GetUnit] Unit not found [nobody]"},
    });
    EXPECT_EQ(graphics->GetRenderTarget(L"view").GetPeriod(), 40u);
    // The target draws the camera's view; without the camera it stops.
    EXPECT_TRUE(graphics->Draw(false, false, false));
    world.Delete(World::kTypeIdCamera, kCamera);
    EXPECT_EQ(Show("IGraphics:getRenderTargetCameraId('view')"), "");
    EXPECT_TRUE(graphics->Draw(false, false, false));
}

TEST_F(IGraphicsEntity, ScreenPositionsInsideTestsAndPolygonCastsFindWorldEntities)
{
    camera->SetPosition(CVector(0, 0, -10));
    unit->SetPosition(CVector(0, 0, 0));
    unit->GetSceneNode()->updateAbsolutePosition();
    camera->Scene::CGraphicalCamera::Activate();
    graphics->Draw(false, false, false);
    Expect({
        {"IGraphics:getScreenPosFrom3DPos('0 0 0', C)", "0.500000 0.500000"},
        // The cursor's ray leaves the active world camera.
        {"IMouse:setPosition(0.5, 0.5)", "nil"},
        {"IGraphics:rayCastMousePosition(false)", kUnit},
        {"IGraphics:rayCastMousePositionAll(-1, false)[1].entity", kUnit},
        {"IGraphics:isInside(U, '0.1 0.1 0.1')", "true"},
        {"IGraphics:isInside(U, '2 0 0')", "false"},
        {"IGraphics:isInside(N, '0 0 0')", "false"},
        {"IGraphics:rayCastPolygon('0 0 -5', '0 0 5', {U}, true)[1].entity", kUnit},
        {"IGraphics:rayCastPolygon('0 0 -5', '0 0 5', U, false)[1].distance", "4.5"},
        {"IGraphics:rayCastPolygon('0 0 -5', '0 0 5', {}, true)", "nil"},
        {"IGraphics:rayCastPolygon('0 0 -5', '0 0 5', {U, 'nobody'}, true)",
         "error: [CWorldMapGroup::GetUnit] Unit not found [nobody]"},
    });
}

// Every entity function with hostile arguments: an error with a message or
// a result, never a crash (the sanitizers watch).
TEST_F(IGraphicsEntity, HostileArgumentsEndInErrorsOrResults)
{
    ASSERT_EQ(Run(R"(
        local names = {}
        for name, f in pairs(debug.getmetatable(IGraphics)) do
            if type(f) == "function" and (name:find("Entit") or name:find("Mesh") or name:find("Billboard")
                or name:find("Animation") or name:find("RenderTarget") or name == "isInside"
                or name == "rayCastPolygon" or name == "getScreenPosFrom3DPos" or name == "getBoundingBox"
                or name == "attachToEntity") then
                names[#names + 1] = name
            end
        end
        table.sort(names)
        assert(#names > 70, #names)
        local co = coroutine.create(function() end)
        local weak = setmetatable({U}, {__mode = "v"})
        local argumentLists = {
            {}, {nil, nil, nil}, {U, 0 / 0, 0 / 0, 0 / 0}, {A, 1e300, -1e300, 2 ^ 53}, {B, -2 ^ 31, 4294967296},
            {{}, {}, {}}, {co, co}, {weak, weak}, {A, "hand", "hand", "hand", "hand"}, {C, "1 2", C, 1e9},
            {print, print}, {A, A, ""}, {U, -1, "x y z", true}, {"\0", "\0"},
        }
        for _, name in ipairs(names) do
            for _, args in ipairs(argumentLists) do
                local ok, message = pcall(IGraphics[name], IGraphics, unpack(args, 1, 5))
                if not ok and (type(message) ~= "string" or message:sub(1, 1) ~= "[") then
                    error(name .. ": " .. tostring(message))
                end
            end
        end
    )"),
              "");
    EXPECT_TRUE(graphics->Draw(false, false, false));
}

} // namespace
