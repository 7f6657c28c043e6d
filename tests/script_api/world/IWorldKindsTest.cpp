// The functions of IWorld that belong to one kind of entity, against managed
// entities of a small world of the test's own and the program's graphics
// engine on the NULL driver: every setting read back as set, each kind's
// lookup and its documented error, the values a projection cannot take,
// and hostile arguments.
#include "support/ScriptApiTestState.h"
#include "world/ManagedKinds.h"

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/ScriptInterface.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include <irrlicht.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace World = Misc::World;

namespace
{

// Managed entities of every kind, keyed by their ids; found across kinds in
// the group's order.
class CKindsWorld final : public ScriptWorld::IEntityLookup
{
public:
    CKindsWorld() : m_previous(ScriptWorld::SetEntityLookup(this)) {}
    ~CKindsWorld() { ScriptWorld::SetEntityLookup(m_previous); }
    CKindsWorld(const CKindsWorld&) = delete;
    CKindsWorld& operator=(const CKindsWorld&) = delete;

    IEntityInterface& Make(uint32_t typeId)
    {
        for (const SManagedKind& kind : ManagedKinds())
        {
            if (kind.typeId != typeId)
                continue;
            std::unique_ptr<IEntityInterface> entity = kind.make();
            IEntityInterface& made = *entity;
            m_units[typeId][made.GetId()] = std::move(entity);
            return made;
        }
        throw std::logic_error("no such kind");
    }
    void Clear() { m_units.clear(); }

    IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        auto& units = m_units[typeId];
        const auto found = units.find(id);
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
    std::map<uint32_t, std::map<std::string, std::unique_ptr<IEntityInterface>, std::less<>>> m_units;
    ScriptWorld::IEntityLookup* m_previous;
};

std::string Text(const CVector& v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g %g %g", v.x, v.y, v.z);
    return text;
}

class IWorldKinds : public ScriptApiTestState
{
protected:
    void SetUp() override
    {
        ScriptApiTestState::SetUp();
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        m_engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(m_engine.get());
        graphics = m_engine->GetPart<Graphics::CGraphicsEngine>();
        ASSERT_TRUE(graphics->Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true));
        graphics->SetBackgroundRenderingEnabled(true);
        m_world = std::make_unique<CKindsWorld>();
        PublishScriptInterface(state, "IWorld",
                               {&RegisterIWorldCameraFunctions, &RegisterIWorldLightFunctions,
                                &RegisterIWorldUnitFunctions, &RegisterIWorldWaterFunctions,
                                &RegisterIWorldTerrainFunctions, &RegisterIWorldAgentFunctions,
                                &RegisterIWorldParticleSystemFunctions});
    }
    void TearDown() override
    {
        m_world.reset();
        m_engine.reset();
        CScriptManager::SetInstance(nullptr);
        ScriptApiTestState::TearDown();
    }

    // A new entity of the kind, its id as the script global of that name.
    IEntityInterface& Make(uint32_t typeId, const char* global)
    {
        IEntityInterface& entity = m_world->Make(typeId);
        EXPECT_EQ(Run(std::string(global) + " = '" + entity.GetId() + "'"), "");
        return entity;
    }
    // Each expression shown must read as expected.
    void ExpectAll(const std::vector<std::pair<std::string, std::string>>& cases)
    {
        for (const auto& [expression, expected] : cases)
            EXPECT_EQ(Show(expression), expected) << expression;
    }
    // The message of an id's not-found error.
    static std::string NotFound(const char* error, const IEntityInterface& entity)
    {
        return std::string("error: test:1: [") + error + "] Unit not found [" + entity.GetId() + "]";
    }

    Graphics::CGraphicsEngine* graphics = nullptr;
    std::unique_ptr<CKindsWorld> m_world;

private:
    std::unique_ptr<CScriptManager> m_engine;
};

TEST_F(IWorldKinds, EveryEmitterSettingRoundTrips)
{
    Make(World::kTypeIdParticleSystem, "ps");
    const IEntityInterface& light = Make(World::kTypeIdLight, "light");
    ExpectAll({
        {"IWorld:getParticleSystemEmitterLifetimeMin(ps)", "5000"},
        {"IWorld:getParticleSystemEmitterDirection(ps)", "V(0.000000 0.001000 0.000000)"},
    });
    struct Setting
    {
        const char* name;
        const char* value;
        const char* expected;
    };
    const Setting settings[] = {
        {"Direction", "IMisc:vectorCreate(1, 2, 3)", "V(1.000000 2.000000 3.000000)"},
        {"Gravity", "'0 -9.5 0.25'", "V(0.000000 -9.500000 0.250000)"},
        {"GravityTime", "750", "750"},
        {"FadeoutColor", "IMisc:colorCreate(0.1, 0.2, 0.3, 0.4)", "C(0.10 0.20 0.30 0.40)"},
        {"FadeoutTime", "120", "120"},
        {"StartColorMin", "'0.5 0.25 1 0.75'", "C(0.50 0.25 1.00 0.75)"},
        {"StartColorMax", "IMisc:colorCreate(1, 0, 0, 1)", "C(1.00 0.00 0.00 1.00)"},
        {"SizeMin", "0.5", "0.5"},
        {"SizeMax", "3.25", "3.25"},
        {"ParticlesPerSecondMin", "10", "10"},
        {"ParticlesPerSecondMax", "250.5", "250.5"},
        {"LifetimeMin", "1234", "1234"},
        {"LifetimeMax", "9876", "9876"},
        {"AngleVariance", "15", "15"},
    };
    for (const Setting& setting : settings)
    {
        const std::string suffix = std::string("ParticleSystemEmitter") + setting.name;
        EXPECT_EQ(Show("IWorld:set" + suffix + "(ps, " + setting.value + ")"), "") << setting.name;
        EXPECT_EQ(Show("IWorld:get" + suffix + "(ps)"), setting.expected) << setting.name;
        // Another kind's id names no particle system; nothing changes.
        EXPECT_EQ(Show("IWorld:set" + suffix + "(light, " + setting.value + ")"),
                  NotFound("CWorldMap::GetUnit", light))
            << setting.name;
    }
}

TEST_F(IWorldKinds, AgentsUnitsAndWatersKeepTheirSettings)
{
    const IEntityInterface& agent = Make(World::kTypeIdAgent, "agent");
    const IEntityInterface& light = Make(World::kTypeIdLight, "light");
    const IEntityInterface& water = Make(World::kTypeIdWater, "water");
    Make(World::kTypeIdUnit, "unit");
    ExpectAll({
        {"IWorld:getAgentShadowsEnabled(agent), IWorld:getAgentShadowMeshName(agent)", "false, "},
        {"IWorld:setAgentShadowsEnabled(agent, true, 'shadow.x')", ""},
        {"IWorld:getAgentShadowsEnabled(agent), IWorld:getAgentShadowMeshName(agent)", "true, shadow.x"},
        // The agent functions name entities of every kind, but only an agent
        // answers: a light's id is no agent's.
        {"IWorld:setAgentShadowsEnabled(light, true, 'x')", NotFound("CWorldMapGroup::GetUnit", light)},
        {"IWorld:getAgentShadowMeshName(light)", NotFound("CWorldMapGroup::GetUnit", light)},
        {"IWorld:getAgentShadowsEnabled('gone')",
         "error: test:1: [CWorldMapGroup::GetUnit] Unit not found [gone]"},
        {"IWorld:getUnitOctree(unit), IWorld:setUnitOctree(unit, true), IWorld:getUnitOctree(unit)",
         "false, nil, true"},
        {"IWorld:setUnitOctree(water, true)", NotFound("CWorldMap::GetUnit", water)},
        {"IWorld:getWaterWaveHeight(water), IWorld:getWaterWaveLength(water), "
         "IWorld:getWaterWaveSpeed(water)",
         "2, 10, 300"},
        {"IWorld:setWaterWaveLength(water, 42.5)", ""},
        {"IWorld:getWaterWaveHeight(water), IWorld:getWaterWaveLength(water), "
         "IWorld:getWaterWaveSpeed(water)",
         "2, 42.5, 300"},
        {"IWorld:setWaterWaveHeight(water, 0.5), IWorld:setWaterWaveSpeed(water, 60)", "nil"},
        {"IWorld:getWaterWaveHeight(water), IWorld:getWaterWaveSpeed(water)", "0.5, 60"},
        {"IWorld:getWaterWaveSpeed(agent)", NotFound("CWorldMap::GetUnit", agent)},
    });
}

TEST_F(IWorldKinds, TerrainSettingsAndTheirNodeQueries)
{
    IEntityInterface& terrain = Make(World::kTypeIdTerrain, "terrain");
    const IEntityInterface& unit = Make(World::kTypeIdUnit, "unit");
    const std::pair<const char*, const char*> patchSizes[] = {
        {"9", "9"},      {"10", "17"}, {"17", "17"},  {"18", "33"},        {"64", "65"}, {"66", "129"},
        {"1000", "129"}, {"0", "9"},   {"-1", "129"}, {"2^32 + 9", "129"}, {"0/0", "9"}, {"'33'", "33"},
    };
    for (const auto& [requested, stored] : patchSizes)
        EXPECT_EQ(Show("IWorld:setTerrainPatchSize(terrain, " + std::string(requested) +
                       "), IWorld:getTerrainPatchSize(terrain)"),
                  std::string("nil, ") + stored)
            << requested;
    ExpectAll({
        {"IWorld:setTerrainHeightMapName(terrain, 'maps/h\xc3\xa9ight.png'), "
         "IWorld:getTerrainHeightMapName(terrain)",
         "nil, maps/h\xc3\xa9ight.png"},
        {"IWorld:setTerrainSmoothFactor(terrain, 3), IWorld:getTerrainSmoothFactor(terrain)", "nil, 3"},
        {"IWorld:setTerrainMaxLOD(terrain, 4), IWorld:getTerrainMaxLOD(terrain)", "nil, 4"},
        {"IWorld:getTerrainPhysicsLOD(terrain)", "5"},
        {"IWorld:setTerrainPhysicsLOD(terrain, 2), IWorld:getTerrainPhysicsLOD(terrain)", "nil, 2"},
        {"IWorld:setTerrainTextureScales(terrain, 4, 8)", ""},
        {"IWorld:getTerrainTextureScale1(terrain), IWorld:getTerrainTextureScale2(terrain)", "4, 8"},
        {"IWorld:getTerrainPatchSize(unit)", NotFound("CWorldMap::GetUnit", unit)},
        {"IWorld:setTerrainPhysicsLOD(unit, 1)", NotFound("CWorldMap::GetUnit", unit)},
    });
    EXPECT_EQ(terrain.GetPhysicalPart()->GetDetailLevel(), 2u);
    EXPECT_EQ(terrain.GetGraphicalPart()->GetSceneNode(), nullptr);
    // The node queries need the terrain in the scene.
    const std::pair<const char*, const char*> nodeCalls[] = {
        {"getTerrainHeight(terrain, 1, 2)", "GetHeight"},
        {"getTerrainCenter(terrain)", "GetCenter"},
        {"setTerrainLODDistance(terrain, 1, 100)", "SetLODDistance"},
        {"setTerrainMovementDelta(terrain, 1)", "SetCameraMoveDelta"},
        {"setTerrainRotationDelta(terrain, 1)", "SetCameraRotationDelta"},
    };
    for (const auto& [call, method] : nodeCalls)
        EXPECT_EQ(Show(std::string("IWorld:") + call), std::string("error: test:1: [CGraphicalTerrain::") +
                                                           method + "] Graphical scene node not initialised")
            << call;
}

TEST_F(IWorldKinds, LightTypesRangesSpotsAndShadows)
{
    IEntityInterface& light = Make(World::kTypeIdLight, "light");
    const IEntityInterface& camera = Make(World::kTypeIdCamera, "camera");
    const std::pair<const char*, const char*> types[] = {
        {"spot", "spot"},   {"Spot", "null"}, {"directional", "directional"},
        {"point", "point"}, {"", "null"},     {"point ", "null"},
        {"42", "null"},
    };
    for (const auto& [name, read] : types)
        EXPECT_EQ(Show(std::string("IWorld:setLightType(light, '") + name + "'), IWorld:getLightType(light)"),
                  std::string("nil, ") + read)
            << name;
    EXPECT_EQ(Show("IWorld:getLightRange(light)"), "1");
    const std::pair<const char*, const char*> ranges[] = {
        {"250", "250"}, {"0", "0"}, {"-3", "3"}, {"0.125", "0.125"}};
    for (const auto& [range, read] : ranges)
        EXPECT_EQ(
            Show(std::string("IWorld:setLightRange(light, ") + range + "), IWorld:getLightRange(light)"),
            std::string("nil, ") + read)
            << range;
    EXPECT_EQ(Text(light.GetScale()), "0.125 0.125 0.125");
    // The range is the scale's largest component, whatever set the scale.
    light.SetScale(CVector(1.0f, 3.0f, -7.0f));
    ExpectAll({
        {"IWorld:getLightRange(light)", "7"},
        {"IWorld:getLightSpotParameters(light)", "V(25.000000 45.000000 2.000000)"},
        {"IWorld:setLightSpotParameters(light, IMisc:vectorCreate(10, 20, 0.5))", ""},
        {"IWorld:getLightSpotParameters(light)", "V(10.000000 20.000000 0.500000)"},
        {"IWorld:getLightShadowsEnabled(light)", "true"},
        {"IWorld:setLightShadowsEnabled(light, false), IWorld:getLightShadowsEnabled(light)", "nil, false"},
        // The shadow functions name entities of every kind; only a light
        // answers. The others look in the lights alone.
        {"IWorld:setLightShadowsEnabled(camera, true)", NotFound("CWorldMapGroup::GetUnit", camera)},
        {"IWorld:getLightShadowsEnabled(camera)", NotFound("CWorldMapGroup::GetUnit", camera)},
        {"IWorld:getLightRange(camera)", NotFound("CWorldMap::GetUnit", camera)},
        {"IWorld:setLightType(camera, 'spot')", NotFound("CWorldMap::GetUnit", camera)},
    });
    // In the scene the node follows: shadows at once, a new type through a
    // new build of the node.
    graphics->Add(light.GetGraphicalPart(), nullptr, "");
    auto* node = static_cast<irr::scene::ILightSceneNode*>(light.GetGraphicalPart()->GetSceneNode());
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->getType(), irr::scene::ESNT_LIGHT);
    EXPECT_EQ(Run("IWorld:setLightShadowsEnabled(light, true) IWorld:setLightType(light, 'directional')"),
              "");
    node = static_cast<irr::scene::ILightSceneNode*>(light.GetGraphicalPart()->GetSceneNode());
    EXPECT_TRUE(node->getLightData().CastShadows);
    EXPECT_EQ(node->getLightType(), irr::video::ELT_DIRECTIONAL);
    EXPECT_EQ(Run("IWorld:setLightRange(light, 40)"), "");
    EXPECT_FLOAT_EQ(node->getLightData().Radius, 40.0f);
}

TEST_F(IWorldKinds, CameraSettingsAndTheirNode)
{
    IEntityInterface& camera = Make(World::kTypeIdCamera, "camera");
    Make(World::kTypeIdCamera, "other");
    const IEntityInterface& light = Make(World::kTypeIdLight, "light");
    camera.SetPosition(CVector(0.0f, 0.0f, 4.0f));
    // Not in the scene: setters only store.
    ExpectAll({
        {"IWorld:getCameraType(camera), IWorld:getCameraFOV(camera)", "unknown, 2.5"},
        {"IWorld:setCameraOrthogonal(camera, 10, 10), IWorld:getCameraOrthogonal(camera)", "nil, false"},
        {"IWorld:setCameraLookAt(camera, IMisc:vectorCreate(0, 0, 10))", ""},
        {"IWorld:getCameraLookAt(camera), IWorld:getCameraLookAtVector(camera)",
         "V(0.000000 0.000000 10.000000), V(0.000000 0.000000 6.000000)"},
        // The script gives the entity's up vector from its rotation; the
        // camera keeps its own, which the entity interface answers.
        {"IWorld:setCameraUpVector(camera, IMisc:vectorCreate(1, 0, 0))", ""},
        {"IWorld:getCameraUpVector(camera)", "V(0.000000 1.000000 0.000000)"},
        {"IWorld:setCameraOffset(camera, '1 2 3'), IWorld:getCameraOffset(camera)",
         "nil, V(1.000000 2.000000 3.000000)"},
        {"IWorld:setCameraViewPort(camera, IMisc:rectCreate(0, 0, 0.5, 0.5)), "
         "IWorld:getCameraViewPort(camera)",
         "nil, R(0.000000 0.000000 0.500000 0.500000)"},
        {"IWorld:setCameraNearClip(camera, 2), IWorld:setCameraFarClip(camera, 500)", "nil"},
        {"IWorld:getCameraNearClip(camera), IWorld:getCameraFarClip(camera)", "2, 500"},
        {"IWorld:setCameraAspectRatio(camera, 2), IWorld:getCameraAspectRatio(camera)", "nil, 2"},
        {"IWorld:getCameraFOV(light)", NotFound("CWorldMap::GetUnit", light)},
    });
    EXPECT_EQ(Text(camera.GetUpVector()), "1 0 0");
    camera.SetRotation(CVector(0.0f, 0.0f, 90.0f));
    EXPECT_EQ(Show("IWorld:getCameraUpVector(camera)"), "V(-1.000000 -0.000000 0.000000)");
    camera.SetRotation(CVector(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(Run("IWorld:setCameraUpVector(camera, IMisc:vectorCreate(0, 1, 0)) "
                  "IWorld:setCameraOffset(camera, IMisc:vectorCreate(0, 0, 0)) "
                  "IWorld:setCameraViewPort(camera, IMisc:rectCreate(0, 0, 1, 1))"),
              "");

    // In the scene.
    graphics->Add(camera.GetGraphicalPart(), nullptr, "");
    auto* node = static_cast<irr::scene::ICameraSceneNode*>(camera.GetGraphicalPart()->GetSceneNode());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(Show("IWorld:setCameraFOV(camera, 2.5), IWorld:getCameraFOV(camera)"), "nil, 2.5");
    EXPECT_FLOAT_EQ(node->getFOV(), 3.14159265f / 2.5f);
    EXPECT_FLOAT_EQ(node->getNearValue(), 2.0f);
    EXPECT_EQ(Show("IWorld:setCameraOrthogonal(camera, 10, 10), IWorld:getCameraOrthogonal(camera)"),
              "nil, true");
    EXPECT_EQ(Show("IWorld:setCameraPerspective(camera), IWorld:getCameraOrthogonal(camera)"), "nil, false");
    // The ray through the middle of the screen runs along the look, once a
    // frame has placed the active camera's view.
    dynamic_cast<Graphics::Scene::CGraphicalCamera&>(camera).Activate();
    ASSERT_TRUE(graphics->Draw(false, false, false));
    EXPECT_EQ(Show("IWorld:getCameraLookVector(camera, 0.5, 0.5, false).start ~= nil"), "true");
    EXPECT_EQ(Run(R"lua(
        local ray = IWorld:getCameraLookVector(camera, 0.5, 0.5, false)
        local s, e = ray.start, ray["end"]
        assert(math.abs(s:getX()) < 1e-3 and math.abs(s:getY()) < 1e-3, tostring(s))
        assert(math.abs(e:getX()) < 1e-2 and math.abs(e:getY()) < 1e-2 and e:getZ() > 400, tostring(e))
    )lua"),
              "");
    // Movement carries the target along.
    EXPECT_EQ(Show("IWorld:cameraMoveForward(camera, IMisc:vectorCreate(1, 1, 1), 2), "
                   "IWorld:getCameraLookAtVector(camera)"),
              "nil, V(0.000000 0.000000 6.000000)");
    EXPECT_EQ(Text(camera.GetPosition()), "0 0 6");

    // Secondary cameras.
    ExpectAll({
        {"IWorld:addSecondaryCamera(camera), IWorld:addSecondaryCamera(camera)", "true, false"},
        {"IWorld:addSecondaryCamera(other)", "true"},
        {"IWorld:removeSecondaryCamera(camera), IWorld:removeSecondaryCamera(camera)", "true, false"},
        {"IWorld:clearSecondaryCameras(), IWorld:removeSecondaryCamera(other)", "nil, false"},
        {"IWorld:addSecondaryCamera(light)", NotFound("CWorldMap::GetUnit", light)},
    });
    EXPECT_TRUE(graphics->GetSecondaryCameras().empty());
}

// A projection value that would make the camera's projection infinite or not
// a number is refused, and the stored value stays.
TEST_F(IWorldKinds, ProjectionsThatCannotBeBuiltAreRefused)
{
    IEntityInterface& camera = Make(World::kTypeIdCamera, "camera");
    graphics->Add(camera.GetGraphicalPart(), nullptr, "");
    const std::pair<const char*, const char*> refused[] = {
        {"setCameraFOV(camera, 0)", "[IWorld::setCameraFOV] Invalid field of view: 0"},
        {"setCameraFOV(camera, 0/0)", "[IWorld::setCameraFOV] Invalid field of view: nan"},
        {"setCameraFOV(camera, 1/0)", "[IWorld::setCameraFOV] Invalid field of view: inf"},
        {"setCameraFOV(camera, 'x')", "[IWorld::setCameraFOV] Invalid field of view: 0"},
        {"setCameraAspectRatio(camera, 0)", "[IWorld::setCameraAspectRatio] Invalid aspect ratio: 0"},
        {"setCameraAspectRatio(camera, -1/0)", "[IWorld::setCameraAspectRatio] Invalid aspect ratio: -inf"},
        {"setCameraNearClip(camera, 0)",
         "[IWorld::setCameraNearClip] Invalid near clip distance: 0 (must be above 0)"},
        {"setCameraNearClip(camera, -1)",
         "[IWorld::setCameraNearClip] Invalid near clip distance: -1 (must be above 0)"},
        {"setCameraNearClip(camera, 1e39)",
         "[IWorld::setCameraNearClip] Invalid near clip distance: inf (must be above 0)"},
        {"setCameraFarClip(camera, -0.5)",
         "[IWorld::setCameraFarClip] Invalid far clip distance: -0.5 (must be above 0)"},
        {"setCameraFarClip(camera, 0/0)",
         "[IWorld::setCameraFarClip] Invalid far clip distance: nan (must be above 0)"},
        {"setCameraOrthogonal(camera, 0, 10)", "[IWorld::setCameraOrthogonal] Invalid width: 0"},
        {"setCameraOrthogonal(camera, 10, 1e39)", "[IWorld::setCameraOrthogonal] Invalid height: inf"},
    };
    for (const auto& [call, message] : refused)
        EXPECT_EQ(Show(std::string("IWorld:") + call), std::string("error: test:1: ") + message) << call;
    ExpectAll({
        {"IWorld:getCameraFOV(camera), IWorld:getCameraAspectRatio(camera)", "2.5, 1.33333"},
        {"IWorld:getCameraNearClip(camera), IWorld:getCameraFarClip(camera), "
         "IWorld:getCameraOrthogonal(camera)",
         "1, 2000, false"},
        // Negative values are no division by zero: a script may turn its view.
        {"IWorld:setCameraFOV(camera, -4), IWorld:getCameraFOV(camera)", "nil, -4"},
    });
    const irr::core::matrix4& projection =
        static_cast<irr::scene::ICameraSceneNode*>(camera.GetGraphicalPart()->GetSceneNode())
            ->getProjectionMatrix();
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(std::isfinite(projection[i])) << i;
}

// The clip distances may be set in either order: the camera's node takes them
// when the near lies below the far, and keeps its last projection while it
// does not.
TEST_F(IWorldKinds, ClipDistancesMayBeSetInEitherOrder)
{
    IEntityInterface& camera = Make(World::kTypeIdCamera, "camera");
    graphics->Add(camera.GetGraphicalPart(), nullptr, "");
    auto* node = static_cast<irr::scene::ICameraSceneNode*>(camera.GetGraphicalPart()->GetSceneNode());
    const auto clips = [node]
    { return std::to_string(node->getNearValue()) + " " + std::to_string(node->getFarValue()); };
    ASSERT_EQ(Run("IWorld:setCameraNearClip(camera, 1) IWorld:setCameraFarClip(camera, 100)"), "");
    EXPECT_EQ(clips(), "1.000000 100.000000");
    // Beyond the far one first, then the far one beyond it.
    ASSERT_EQ(Run("IWorld:setCameraNearClip(camera, 5000) IWorld:setCameraFarClip(camera, 10000)"), "");
    EXPECT_EQ(Show("IWorld:getCameraNearClip(camera), IWorld:getCameraFarClip(camera)"), "5000, 10000");
    EXPECT_EQ(clips(), "5000.000000 10000.000000");
    // A far one below the near one is stored; the node keeps its projection.
    ASSERT_EQ(Run("IWorld:setCameraFarClip(camera, 10)"), "");
    EXPECT_EQ(Show("IWorld:getCameraFarClip(camera)"), "10");
    EXPECT_EQ(clips(), "5000.000000 10000.000000");
    ASSERT_EQ(Run("IWorld:setCameraPerspective(camera) IWorld:setCameraOrthogonal(camera, 10, 10)"), "");
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(std::isfinite(node->getProjectionMatrix()[i])) << i;
    EXPECT_EQ(clips(), "5000.000000 10000.000000");
    ASSERT_EQ(Run("IWorld:setCameraNearClip(camera, 2)"), "");
    EXPECT_EQ(clips(), "2.000000 10.000000");
    // A camera added with near not below far keeps the node's own.
    IEntityInterface& other = Make(World::kTypeIdCamera, "other");
    ASSERT_EQ(Run("IWorld:setCameraNearClip(other, 3000)"), "");
    graphics->Add(other.GetGraphicalPart(), nullptr, "");
    auto* otherNode = static_cast<irr::scene::ICameraSceneNode*>(other.GetGraphicalPart()->GetSceneNode());
    EXPECT_LT(otherNode->getNearValue(), otherNode->getFarValue());
}

// Every function, given what no script should pass, answers or fails with a
// message in the "[...]" form; also from a coroutine and with a weak table
// whose value has gone, and with a callback that fails.
TEST_F(IWorldKinds, HostileArgumentsAnswerOrFailClearly)
{
    for (uint32_t typeId : {World::kTypeIdParticleSystem, World::kTypeIdAgent, World::kTypeIdUnit,
                            World::kTypeIdWater, World::kTypeIdTerrain, World::kTypeIdLight})
        Make(typeId, ("id" + std::to_string(typeId)).c_str());
    // A camera in the scene, so that its node takes what the calls give.
    graphics->Add(Make(World::kTypeIdCamera, "id16384").GetGraphicalPart(), nullptr, "");
    ASSERT_EQ(Run(R"lua(
        weak = setmetatable({}, {__mode = "v"})
        weak[1] = {}
        collectgarbage()
        ids = {id64, id16, id32, id8192, id4096, id128, id16384}
        values = {nil, false, true, 0, -1, 0/0, 1/0, -1/0, 1e308, 2^53, -(2^31) - 1, "", "\255\254",
                  string.rep("w", 20000), {}, weak, coroutine.create(function() end),
                  function() error("callback failed") end, IWorld, "1 2 3", "0 0 0 0"}
        for _, id in ipairs(ids) do values[#values + 1] = id end
        function sweep()
            local failures, calls = 0, 0
            for name, f in pairs(functions) do
                for i = 1, #values + 1, 2 do
                    for j = 1, #values + 1, 7 do
                        calls = calls + 1
                        local ok, message = pcall(f, IWorld, values[i], values[j], values[(i + j) % #values + 1],
                                                  values[j])
                        if not ok then
                            failures = failures + 1
                            assert(type(message) == "string" and message:find("[", 1, true),
                                   name .. ": " .. tostring(message))
                        end
                    end
                end
            end
            return failures, calls
        end
    )lua"),
              "");
    // The functions as the table holds them.
    lua_getglobal(L, "IWorld");
    ASSERT_TRUE(lua_getmetatable(L, -1));
    lua_getfield(L, -1, "__index");
    lua_setglobal(L, "functions");
    lua_pop(L, 2);
    EXPECT_EQ(Run("local count = 0 for _ in pairs(functions) do count = count + 1 end "
                  "assert(count > 70, count)"),
              "");
    EXPECT_GT(Eval("return (sweep())").GetNumber(), 0);
    EXPECT_EQ(Run("local co = coroutine.create(sweep) local ok, message = coroutine.resume(co) assert(ok, "
                  "message)"),
              "");
}

} // namespace
