// The IWorld table: every function in the interface's order, and what a
// second add of one entity leaves in the scene and the physics world.
#include "support/ScriptApiTestState.h"

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "script_api/world/IWorld.h"
#include "world/World.h"

#include <irrlicht.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{

const char* const kWorldFunctions =
    "load save unload exists getPath getName getPathLong getNameLong getDataFilename getScriptName "
    "setScriptName dataExists getData getDataInt getDataFloat getDataBool setData setDataInt setDataFloat "
    "setDataBool deleteData clearData getDataCount forEachData";
const char* const kSkyAndFogFunctions =
    "isSkyEnabled setSkyEnabled getSkyType getSkyTop getSkyBottom getSkyLeft getSkyRight getSkyFront "
    "getSkyBack "
    "getSkyDome getSkyDomeHorizontalResolution getSkyDomeVerticalResolution getSkyDomePercentage "
    "getSkyDomeSpherePercentage setSkyBox setSkyDome setFog getFogStart getFogEnd getFogColor";
const char* const kEntityFunctions =
    "selectEntity deselectEntity isEntitySelected deselectAll getNumberOfSelectedEntities getSelectedEntity "
    "forEachSelectedEntity copySelectedEntities deleteSelectedEntities manipulateSelectedEntities "
    "entityExists getNumberOfEntities getEntityTypeId getEntityName setEntityName getEntityModelName "
    "setEntityModelName getEntityPosition setEntityPosition getEntityScale setEntityScale getEntityRotation "
    "setEntityRotation getEntityFrontVector getEntityUpVector getEntityEditMode setEntityEditMode "
    "refreshEntity getEntityScript setEntityScript callEntityScript callEntityScript1 copyEntity saveEntity "
    "deleteEntity forEachEntity manipulateEntity dataExistsEntity getEntityData getEntityDataInt "
    "getEntityDataFloat getEntityDataBool setEntityData setEntityDataInt setEntityDataFloat "
    "setEntityDataBool deleteEntityData clearEntityData getEntityDataCount forEachEntityData";
// The functions of a kind of its own, after its block.
const std::map<std::string, const char*> kOwnFunctions = {
    {"Camera",
     "getCameraLookAt getCameraLookAtVector setCameraLookAt getCameraLookVector getCameraUpVector "
     "setCameraUpVector getCameraOffset setCameraOffset getCameraNearClip setCameraNearClip getCameraFarClip "
     "setCameraFarClip getCameraAspectRatio setCameraAspectRatio getCameraFOV setCameraFOV "
     "setCameraOrthogonal "
     "setCameraPerspective getCameraOrthogonal getCameraType setCameraType getCameraViewPort "
     "setCameraViewPort "
     "cameraMoveForward cameraStrafeLeft cameraStrafeUp cameraRotateLeft cameraRotateUp addSecondaryCamera "
     "removeSecondaryCamera setActiveCameraId getActiveCameraId getActiveCameraName changeActiveCameraId "
     "clearSecondaryCameras"},
    {"Light",
     "getLightShadowsEnabled setLightShadowsEnabled getLightRange setLightRange getLightType setLightType "
     "getLightSpotParameters setLightSpotParameters"},
    {"Unit", "setUnitOctree getUnitOctree"},
    {"Water", "setWaterWaveHeight getWaterWaveHeight setWaterWaveLength getWaterWaveLength setWaterWaveSpeed "
              "getWaterWaveSpeed"},
    {"Terrain",
     "getTerrainHeightMapName setTerrainHeightMapName getTerrainSmoothFactor setTerrainSmoothFactor "
     "getTerrainPatchSize setTerrainPatchSize getTerrainMaxLOD setTerrainMaxLOD getTerrainPhysicsLOD "
     "setTerrainPhysicsLOD setTerrainTextureScales getTerrainTextureScale1 getTerrainTextureScale2 "
     "getTerrainHeight getTerrainCenter setTerrainLODDistance setTerrainMovementDelta "
     "setTerrainRotationDelta"},
    {"Agent", "setAgentShadowsEnabled getAgentShadowsEnabled getAgentShadowMeshName"},
    {"ParticleSystem",
     "getParticleSystemEmitterDirection setParticleSystemEmitterDirection getParticleSystemEmitterGravity "
     "setParticleSystemEmitterGravity getParticleSystemEmitterGravityTime "
     "setParticleSystemEmitterGravityTime "
     "getParticleSystemEmitterFadeoutColor setParticleSystemEmitterFadeoutColor "
     "getParticleSystemEmitterFadeoutTime setParticleSystemEmitterFadeoutTime "
     "getParticleSystemEmitterStartColorMin setParticleSystemEmitterStartColorMin "
     "getParticleSystemEmitterStartColorMax setParticleSystemEmitterStartColorMax "
     "getParticleSystemEmitterSizeMin setParticleSystemEmitterSizeMin getParticleSystemEmitterSizeMax "
     "setParticleSystemEmitterSizeMax getParticleSystemEmitterParticlesPerSecondMin "
     "setParticleSystemEmitterParticlesPerSecondMin getParticleSystemEmitterParticlesPerSecondMax "
     "setParticleSystemEmitterParticlesPerSecondMax getParticleSystemEmitterLifetimeMin "
     "setParticleSystemEmitterLifetimeMin getParticleSystemEmitterLifetimeMax "
     "setParticleSystemEmitterLifetimeMax getParticleSystemEmitterAngleVariance "
     "setParticleSystemEmitterAngleVariance"},
};

// The block, with X for the stem and Xs for the plural.
const char* const kBlock = "clearXs areXsVisible setXsVisible getSelectedX getNumberOfSelectedXs getXTypeId "
                           "getNumberOfXs createX xExists loadX forEachSelectedX forEachX addX deleteX";

std::string Block(const std::string& stem)
{
    std::string lower = stem;
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    std::istringstream names(kBlock);
    std::string name;
    std::string out;
    while (names >> name)
    {
        if (name == "xExists")
            name = lower + "Exists";
        else
            name.replace(name.find('X'), 1, stem);
        out += " " + name;
    }
    return out;
}

// After the waypoints' block: the graph, then its navigators.
const char* const kWaypointFunctions =
    " getWaypointType setWaypointType createWaypointConnection deleteWaypointConnection "
    "getWaypointConnectionCount getWaypointConnectionId getWaypointConnectionDestinationId "
    "getWaypointConnectionDestinationName getWaypointConnectionCost setWaypointConnectionDestinationId "
    "setWaypointConnectionDestinationName setWaypointConnectionCost createWaypointNavigator "
    "destroyWaypointNavigator addWaypointNavigatorStart setWaypointNavigatorGoal resetWaypointNavigator "
    "doWaypointNavigatorSearch doWaypointNavigatorSearchStep isWaypointNavigatorSearchComplete "
    "getWaypointNavigatorSearchIterations getWaypointNavigatorSolutionCount getWaypointNavigatorSolutionCost "
    "moveWaypointNavigatorSolutionStart moveWaypointNavigatorSolutionEnd moveWaypointNavigatorSolutionNext "
    "moveWaypointNavigatorSolutionPrevious isWaypointNavigatorSolutionValid "
    "getWaypointNavigatorSolutionCurrentId";

std::string ExpectedOrder()
{
    std::string order = std::string(kWorldFunctions) + " " + kSkyAndFogFunctions + " " + kEntityFunctions;
    for (const char* stem : {"Cursor", "Camera", "Light", "Trigger", "Unit", "Billboard", "Water", "Terrain",
                             "Agent", "ParticleSystem", "Waypoint"})
    {
        order += Block(stem);
        const auto own = kOwnFunctions.find(stem);
        if (own != kOwnFunctions.end())
            order += std::string(" ") + own->second;
    }
    return order + kWaypointFunctions;
}

class IWorldTest : public ScriptApiTestState
{
};

// The nodes named after the id anywhere under the node.
int CountNodes(irr::scene::ISceneNode* node, const std::string& name)
{
    int count = name == node->getName() ? 1 : 0;
    for (irr::scene::ISceneNode* child : node->getChildren())
        count += CountNodes(child, name);
    return count;
}

// The table holds exactly the listed functions (the list is in the
// interface's order), and its metatable is hidden.
TEST_F(IWorldTest, HoldsExactlyTheInterfaceFunctions)
{
    RegisterIWorld(state);
    EXPECT_EQ(
        RunScript(state,
                  "local expected, count = {}, 0\n"
                  "for name in ('" +
                      ExpectedOrder() +
                      "'):gmatch('%S+') do\n"
                      "  assert(not expected[name], 'listed twice: ' .. name)\n"
                      "  expected[name], count = true, count + 1\n"
                      "  assert(type(IWorld[name]) == 'function', name)\n"
                      "end\n"
                      "assert(count == 377, count)\n"
                      "local mt = debug.getmetatable(IWorld)\n"
                      "for name in pairs(mt.__index) do assert(expected[name], 'unlisted: ' .. name) end\n"
                      "assert(getmetatable(IWorld) == 'Metatable is readonly')\n"
                      "assert(not pcall(setmetatable, IWorld, {}))"),
        "");
}

// The program's engine object on the NULL driver, with a physics world and
// IWorld on the test's state.
class IWorldEngineTest : public IWorldTest
{
protected:
    void SetUp() override
    {
        IWorldTest::SetUp();
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        m_engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(m_engine.get());
        graphics = m_engine->GetPart<Graphics::CGraphicsEngine>();
        ASSERT_TRUE(graphics->Init("NULL", 64, 64, false, 16, false, false, false, 60, 0, 0, -1, -1, true));
        physics = m_engine->GetPart<CPhysicsEngine>();
        ASSERT_TRUE(physics->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
        world = m_engine->GetPart<CWorld>();
        RegisterIWorld(state);
    }
    void TearDown() override
    {
        m_engine.reset();
        CScriptManager::SetInstance(nullptr);
        IWorldTest::TearDown();
    }

    // The first result of the expression as text.
    std::string Text(const std::string& expression)
    {
        return EvalScript(state, "return tostring(" + expression + ")").GetString();
    }

    Graphics::CGraphicsEngine* graphics = nullptr;
    CPhysicsEngine* physics = nullptr;
    CWorld* world = nullptr;

private:
    std::unique_ptr<CScriptManager> m_engine;
};

TEST_F(IWorldEngineTest, ASecondAddLeavesOneNodeAndOneBody)
{
    const std::string id = EvalScript(state, "unit = IWorld:createUnit() return unit").GetString();
    CUnitMap::ManagedEntity* unit = nullptr;
    world->GetData().GetUnits().GetUnit(id, unit);
    unit->SetMass(1.0f);
    irr::scene::ISceneNode* root = graphics->GetDevice()->getSceneManager()->getRootSceneNode();
    for (int add = 0; add < 2; ++add)
    {
        ASSERT_EQ(RunScript(state, "IWorld:addUnit(unit, '', '')"), "");
        EXPECT_EQ(CountNodes(root, id), 1);
        EXPECT_EQ(physics->GetParts().GetCount(), 1u);
        ASSERT_NE(unit->GetBody(), nullptr);
    }
    // Deleting takes it out of both.
    ASSERT_EQ(RunScript(state, "IWorld:deleteUnit(unit)"), "");
    EXPECT_EQ(CountNodes(root, id), 0);
    EXPECT_EQ(physics->GetParts().GetCount(), 0u);
}

// A camera at the origin looking along (x, 0, z); the entity at the origin
// with scale 2 and no rotation.
TEST_F(IWorldEngineTest, ManipulatesAlongWorldOrCameraAxes)
{
    // Without an active camera the camera-relative step fails first.
    ASSERT_EQ(RunScript(state, "unit = IWorld:createUnit()"), "");
    EXPECT_NE(RunScript(state, "IWorld:manipulateEntity(unit, 'move', 0, 0, 0, false)")
                  .find("[CWorldMap::GetUnit] Unit not found []"),
              std::string::npos);
    ASSERT_EQ(RunScript(state, "camera = IWorld:createCamera() IWorld:addCamera(camera, '', '')"), "");
    const std::string cameraId = EvalScript(state, "return camera").GetString();
    world->SetActiveCamera(cameraId);
    ASSERT_EQ(world->GetActiveCameraId(), cameraId);
    CCameraMap::ManagedEntity* camera = nullptr;
    world->GetData().GetCameras().GetUnit(cameraId, camera);

    struct Step
    {
        float lookX, lookZ;
        const char* operation;
        const char* vector;
        bool worldAxes;
        const char* position;
        const char* scale;
    };
    const Step cases[] = {
        {1, 0, "move", "1, 2, 3", true, "1.000000 2.000000 3.000000", "2.000000 2.000000 2.000000"},
        // Facing -X: forward is -X, right is +Z.
        {-1, 0, "move", "1, 0, 0", false, "-1.000000 0.000000 0.000000", "2.000000 2.000000 2.000000"},
        {-1, 0, "move", "0, 0, 1", false, "0.000000 0.000000 1.000000", "2.000000 2.000000 2.000000"},
        // Facing +X: right is -Z.
        {1, 0.5f, "move", "1, 5, 1", false, "1.000000 5.000000 -1.000000", "2.000000 2.000000 2.000000"},
        // Facing +Z, and a tie between X and Z counts as Z.
        {0, 1, "move", "1, 0, 1", false, "1.000000 0.000000 1.000000", "2.000000 2.000000 2.000000"},
        {-1, -1, "move", "1, 0, 0", false, "0.000000 0.000000 -1.000000", "2.000000 2.000000 2.000000"},
        // Scale adds; "Move" and other words change nothing.
        {1, 0, "scale", "1, 1, 1", true, "0.000000 0.000000 0.000000", "3.000000 3.000000 3.000000"},
        {1, 0, "Move", "1, 1, 1", true, "0.000000 0.000000 0.000000", "2.000000 2.000000 2.000000"},
        {1, 0, "spin", "1, 1, 1", false, "0.000000 0.000000 0.000000", "2.000000 2.000000 2.000000"},
    };
    for (const Step& c : cases)
    {
        camera->SetLookAt(CVector(c.lookX, 0.0f, c.lookZ));
        ASSERT_EQ(RunScript(state, "IWorld:setEntityPosition(unit, IMisc:vectorCreate(0, 0, 0))\n"
                                   "IWorld:setEntityScale(unit, IMisc:vectorCreate(2, 2, 2))"),
                  "");
        EXPECT_EQ(Text(std::string("IWorld:manipulateEntity(unit, '") + c.operation + "', " + c.vector +
                       ", " + (c.worldAxes ? "true" : "false") + ")"),
                  "true")
            << c.operation << " " << c.vector;
        EXPECT_EQ(Text("IWorld:getEntityPosition(unit)"), c.position) << c.operation << " " << c.vector;
        EXPECT_EQ(Text("IWorld:getEntityScale(unit)"), c.scale) << c.operation << " " << c.vector;
    }

    // The selection moves step by step; the result is its count.
    ASSERT_EQ(RunScript(state, "IWorld:setEntityPosition(unit, IMisc:vectorCreate(0, 0, 0))\n"
                               "IWorld:selectEntity(unit) IWorld:selectEntity(camera)"),
              "");
    EXPECT_EQ(Text("IWorld:manipulateSelectedEntities('move', 0, 1, 0, true)"), "2");
    EXPECT_EQ(Text("IWorld:getEntityPosition(unit)"), "0.000000 1.000000 0.000000");

    // Deleting the active camera forgets its id.
    ASSERT_EQ(RunScript(state, "IWorld:deleteCamera(camera)"), "");
    EXPECT_EQ(world->GetActiveCameraId(), "");
}

// Deleting a waypoint, by any of the three deletes, drops the connections
// that led to it; deleting another kind leaves them.
TEST_F(IWorldEngineTest, DeletingAWaypointDropsTheConnectionsToIt)
{
    CWaypointMap& waypoints = world->GetData().GetWaypoints();
    std::vector<std::string> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(EvalScript(state, "return IWorld:createWaypoint()").GetString());
    CWaypointMap::ManagedEntity* hub = nullptr;
    waypoints.GetUnit(ids[0], hub);
    for (int i = 1; i < 4; ++i)
    {
        // Two in a row to the same waypoint.
        for (int twice = 0; twice < 2; ++twice)
        {
            CWaypointConnection connection;
            connection.SetWaypoint(ids[i]);
            hub->AddConnection(connection);
        }
    }
    const std::string light = EvalScript(state, "return IWorld:createLight()").GetString();
    ASSERT_EQ(RunScript(state, "IWorld:deleteEntity('" + light + "')"), "");
    EXPECT_EQ(hub->GetConnections().size(), 6u);
    const char* const deletes[] = {"IWorld:deleteWaypoint('%s')", "IWorld:deleteEntity('%s')",
                                   "IWorld:selectEntity('%s') IWorld:deleteSelectedEntities()"};
    size_t left = 6;
    for (int i = 0; i < 3; ++i)
    {
        std::string call = deletes[i];
        call.replace(call.find("%s"), 2, ids[i + 1]);
        if (call.find("%s") != std::string::npos)
            call.replace(call.find("%s"), 2, ids[i + 1]);
        ASSERT_EQ(RunScript(state, call), "") << call;
        left -= 2;
        EXPECT_EQ(hub->GetConnections().size(), left) << call;
    }
}

} // namespace
