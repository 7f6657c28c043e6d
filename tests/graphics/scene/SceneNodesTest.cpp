// Entities get their nodes from the engine: node kind, name (entity id) and
// id (kind id), markers, parents and joints, re-applying, removing, the
// world box, and what a scene reset or an entity's end leaves behind.

#include "support/JoinedEntity.h"
#include "support/NullGraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "graphics/scene/BillboardSceneNode.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{

using namespace irr;
namespace World = Misc::World;

const char* const kIdA = "00000000-0000-4000-8000-00000000000a";
const char* const kIdB = "00000000-0000-4000-8000-00000000000b";

// The children of a node with the given name.
int CountChildrenNamed(scene::ISceneNode* node, const char* name)
{
    int count = 0;
    for (scene::ISceneNode* child : node->getChildren())
        count += core::stringc(child->getName()) == name ? 1 : 0;
    return count;
}

// An animated mesh with one joint "hand", cached under the name agent.x.
void CacheAgentMesh(scene::ISceneManager* scene)
{
    scene::ISkinnedMesh* mesh = scene->createSkinnedMesh();
    scene::ISkinnedMesh::SJoint* root = mesh->addJoint(nullptr);
    root->Name = "root";
    scene::ISkinnedMesh::SJoint* hand = mesh->addJoint(root);
    hand->Name = "hand";
    hand->LocalMatrix.setTranslation(core::vector3df(0, 2, 0));
    mesh->finalize();
    scene->getMeshCache()->addMesh("agent.x", mesh);
    mesh->drop();
}

class SceneNodesTest : public ::testing::Test
{
protected:
    scene::ISceneManager* Scene() const { return null.Scene(); }
    scene::ISceneNode* Root() const { return Scene()->getRootSceneNode(); }

    CNullEngine null;
    Graphics::CGraphicsEngine& engine = null.engine;
};

struct SKindCase
{
    const char* kind;
    std::function<std::unique_ptr<Graphics::Scene::CGraphicalEntity>()> make;
    uint32_t flags;
    scene::ESCENE_NODE_TYPE nodeType;
    s32 nodeId;
};

TEST_F(SceneNodesTest, EveryKindGetsItsNodeNamedByItsIdWithItsKindAsNodeId)
{
    const std::vector<SKindCase> cases = {
        {"light", [] { return std::make_unique<CTestLight>(kIdA); }, 0, scene::ESNT_LIGHT, 128},
        {"camera", [] { return std::make_unique<CTestCameraEntity>(kIdA); }, 0, scene::ESNT_CAMERA, -1},
        {"billboard", [] { return std::make_unique<CTestBillboard>(kIdA); }, 0, scene::ESNT_BILLBOARD, 1024},
        {"particle system", [] { return std::make_unique<CTestParticleSystem>(kIdA); }, 0,
         scene::ESNT_PARTICLE_SYSTEM, 64},
        // Waypoints, triggers and cursors show their marker cube as node.
        {"waypoint", [] { return std::make_unique<CTestWaypoint>(kIdA); }, 1, scene::ESNT_CUBE, 256},
        {"trigger", [] { return std::make_unique<CTestTrigger>(kIdA); }, 1, scene::ESNT_CUBE, 512},
        {"cursor", [] { return std::make_unique<CTestCursor>(kIdA); }, 1, scene::ESNT_CUBE, 32768},
        // An agent without a model is a cube placeholder.
        {"agent", [] { return std::make_unique<CKindEntity>(World::kTypeIdAgent, kIdA); }, 0,
         scene::ESNT_CUBE, 16},
    };
    for (const SKindCase& kindCase : cases)
    {
        SCOPED_TRACE(kindCase.kind);
        std::unique_ptr<Graphics::Scene::CGraphicalEntity> entity = kindCase.make();
        entity->SetFlags(kindCase.flags);
        entity->SetPosition(CVector(1, 2, 3));
        engine.Add(entity.get(), nullptr, "");
        scene::ISceneNode* node = entity->GetSceneNode();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->getType(), kindCase.nodeType);
        EXPECT_EQ(node->getID(), kindCase.nodeId);
        EXPECT_STREQ(node->getName(), kIdA);
        EXPECT_EQ(node->getParent(), Root());
        EXPECT_EQ(entity->GetEngine(), &engine);
        EXPECT_EQ(entity->GetSceneManager(), Scene());
        EXPECT_EQ(node->getPosition(), core::vector3df(1, 2, 3));
        engine.Remove(entity.get());
        EXPECT_EQ(entity->GetSceneNode(), nullptr);
        EXPECT_TRUE(Root()->getChildren().empty());
    }
}

TEST_F(SceneNodesTest, MarkerOnlyKindsWithoutFlagsHaveNoNode)
{
    CTestWaypoint waypoint(kIdA);
    CTestTrigger trigger(kIdA);
    CTestCursor cursor(kIdA);
    for (Graphics::Scene::CGraphicalEntity* entity :
         std::initializer_list<Graphics::Scene::CGraphicalEntity*>{&waypoint, &trigger, &cursor})
    {
        engine.Add(entity, nullptr, "");
        EXPECT_EQ(entity->GetSceneNode(), nullptr);
        EXPECT_FALSE(entity->UpdateParts());
    }
    EXPECT_TRUE(Root()->getChildren().empty());
}

TEST_F(SceneNodesTest, MarkersAreTwoWireframeCubesAndNeverPileUp)
{
    CTestLight light(kIdA);
    light.SetFlags(4);
    engine.Add(&light, nullptr, "");
    scene::ISceneNode* node = light.GetSceneNode();
    ASSERT_EQ(CountChildrenNamed(node, kIdA), 1);
    scene::ISceneNode* cube = *node->getChildren().begin();
    EXPECT_EQ(cube->getType(), scene::ESNT_CUBE);
    EXPECT_EQ(cube->getID(), 128);
    EXPECT_TRUE(cube->getMaterial(0).Wireframe);
    EXPECT_FALSE(cube->getMaterial(0).Lighting);
    EXPECT_FALSE(cube->getMaterial(0).FogEnable);
    ASSERT_EQ(cube->getChildren().size(), 1u);
    scene::ISceneNode* bar = *cube->getChildren().begin();
    EXPECT_EQ(bar->getPosition(), core::vector3df(0.5f, 0, 0));
    EXPECT_EQ(bar->getScale(), core::vector3df(1.0f, 0.5f, 0.5f));
    EXPECT_STREQ(bar->getName(), kIdA);
    EXPECT_EQ(node->isDebugDataVisible(), 4u);
    EXPECT_TRUE(node->isDebugObject());

    // Applying the light again keeps one marker; flags 0 remove it.
    engine.Add(&light, nullptr, "");
    light.SetType(Graphics::Scene::CGraphicalLight::CLightType(2));
    EXPECT_EQ(light.GetSceneNode(), node);
    EXPECT_EQ(CountChildrenNamed(node, kIdA), 1);
    light.SetFlags(0);
    engine.Add(&light, nullptr, "");
    EXPECT_EQ(CountChildrenNamed(node, kIdA), 0);

    // A waypoint's node is its marker cube: applied again, one bar.
    CTestWaypoint waypoint(kIdB);
    waypoint.SetFlags(1);
    engine.Add(&waypoint, nullptr, "");
    engine.Add(&waypoint, nullptr, "");
    EXPECT_EQ(CountChildrenNamed(waypoint.GetSceneNode(), kIdB), 1);
}

TEST_F(SceneNodesTest, ParentsAndJoints)
{
    CacheAgentMesh(Scene());
    CKindEntity agent(World::kTypeIdAgent, kIdA);
    agent.SetModelName(L"agent.x");
    engine.Add(&agent, nullptr, "");
    ASSERT_NE(agent.GetSceneNode(), nullptr);
    ASSERT_EQ(agent.GetSceneNode()->getType(), scene::ESNT_ANIMATED_MESH);
    EXPECT_NE(agent.GetAnimatedMesh(), nullptr);

    // An empty joint name hangs the child on the parent's node.
    CTestLight lamp(kIdB);
    engine.Add(&lamp, &agent, "");
    EXPECT_EQ(lamp.GetSceneNode()->getParent(), agent.GetSceneNode());

    // On a joint: the joint's node is the parent.
    CTestBillboard badge("00000000-0000-4000-8000-00000000000c");
    engine.Add(&badge, &agent, "hand");
    auto* animated = static_cast<scene::IAnimatedMeshSceneNode*>(agent.GetSceneNode());
    EXPECT_EQ(badge.GetSceneNode()->getParent(), animated->getJointNode("hand"));

    CTestCursor cursor(kIdA);
    EXPECT_EQ(ErrorOf([&] { engine.Add(&badge, &agent, "foot"); }), "Joint not found:foot");
    EXPECT_EQ(ErrorOf([&] { engine.Add(&cursor, &lamp, "hand"); }),
              "[CGraphicsEngine::Add] When specifying a parent joint, the parent must be an Agent.");

    // Removing the agent leaves the attached entities in the scene, at
    // the root.
    engine.Remove(&agent);
    EXPECT_EQ(agent.GetSceneNode(), nullptr);
    EXPECT_EQ(lamp.GetSceneNode()->getParent(), Root());
    EXPECT_EQ(badge.GetSceneNode()->getParent(), Root());
}

TEST_F(SceneNodesTest, RefreshMakesTheNodeAgainUnderItsParent)
{
    CacheAgentMesh(Scene());
    CTestLight lamp(kIdA);
    lamp.Refresh();
    EXPECT_EQ(lamp.GetSceneNode(), nullptr);
    engine.Add(&lamp, nullptr, "");
    CKindEntity agent(World::kTypeIdAgent, kIdB);
    engine.Add(&agent, &lamp, "");
    ASSERT_EQ(agent.GetSceneNode()->getType(), scene::ESNT_CUBE);
    // A new model takes effect when the node is made again, under the
    // same parent.
    agent.SetModelName(L"agent.x");
    agent.Refresh();
    ASSERT_NE(agent.GetSceneNode(), nullptr);
    EXPECT_EQ(agent.GetSceneNode()->getType(), scene::ESNT_ANIMATED_MESH);
    EXPECT_EQ(agent.GetSceneNode()->getParent(), lamp.GetSceneNode());
    EXPECT_EQ(lamp.GetSceneNode()->getChildren().size(), 1u);
}

TEST_F(SceneNodesTest, AddingTwiceReappliesTheSameNode)
{
    CTestBillboard billboard(kIdA);
    billboard.SetScale(CVector(2, 1, 3));
    engine.Add(&billboard, nullptr, "");
    scene::ISceneNode* node = billboard.GetSceneNode();
    billboard.SetVisible(false);
    billboard.GetMaterials()[0].diffuse = CColor(0, 1, 0, 1);
    engine.Add(&billboard, nullptr, "");
    EXPECT_EQ(billboard.GetSceneNode(), node);
    EXPECT_EQ(Root()->getChildren().size(), 1u);
    EXPECT_FALSE(node->isVisible());
    auto* quad = static_cast<scene::IBillboardSceneNode*>(node);
    EXPECT_EQ(quad->getSize(), core::dimension2df(2, 3));
    // Scaling a billboard makes the node take the new size.
    billboard.SetScale(CVector(4, 1, 5));
    EXPECT_EQ(static_cast<scene::IBillboardSceneNode*>(billboard.GetSceneNode())->getSize(),
              core::dimension2df(4, 5));
    // Scaling a waypoint does not remake its node.
    CTestWaypoint waypoint(kIdB);
    waypoint.SetFlags(1);
    engine.Add(&waypoint, nullptr, "");
    scene::ISceneNode* marker = waypoint.GetSceneNode();
    waypoint.SetScale(CVector(3, 3, 3));
    EXPECT_EQ(waypoint.GetSceneNode(), marker);
    EXPECT_EQ(marker->getScale(), core::vector3df(3, 3, 3));
}

TEST_F(SceneNodesTest, LightNodeTakesTheLightsValues)
{
    CTestLight light(kIdA);
    light.SetScale(CVector(2, -5, 1));
    light.GetMaterials()[0].diffuse = CColor(1, 0.5f, 0, 1);
    light.GetMaterials()[0].ambient = CColor(0.2f, 0.2f, 0.2f, 1);
    light.SetAttenuation(CVector(1, 0.5f, 0.25f));
    engine.Add(&light, nullptr, "");
    auto* node = static_cast<scene::ILightSceneNode*>(light.GetSceneNode());
    const video::SLight& data = node->getLightData();
    EXPECT_FLOAT_EQ(data.Radius, 5.0f);
    EXPECT_EQ(data.Type, video::ELT_POINT);
    EXPECT_EQ(data.Attenuation, core::vector3df(1, 0.5f, 0.25f));
    // Colours pass through 8 bits per channel: 0.5 becomes 127/255.
    EXPECT_FLOAT_EQ(data.DiffuseColor.g, 127.0f / 255.0f);
    EXPECT_FLOAT_EQ(data.AmbientColor.r, 51.0f / 255.0f);
    EXPECT_TRUE(data.CastShadows);

    light.SetSpotParams(CVector(10, 20, 3));
    light.SetType(Graphics::Scene::CGraphicalLight::CLightType(2));
    EXPECT_EQ(light.GetSceneNode(), node);
    EXPECT_EQ(node->getLightData().Type, video::ELT_SPOT);
    EXPECT_FLOAT_EQ(node->getLightData().InnerCone, 10.0f);
    EXPECT_FLOAT_EQ(node->getLightData().OuterCone, 20.0f);
    EXPECT_FLOAT_EQ(node->getLightData().Falloff, 3.0f);
    light.SetShadows(false);
    EXPECT_FALSE(node->getLightData().CastShadows);
    light.SetScale(CVector(7, 1, 1));
    EXPECT_FLOAT_EQ(node->getLightData().Radius, 7.0f);
    light.Clear();
    EXPECT_EQ(light.GetType().GetValue(), 1u);
}

TEST_F(SceneNodesTest, ParticleSystemGetsItsEmitterAndAffectors)
{
    CTestParticleSystem particles(kIdA);
    particles.SetScale(CVector(4, -2, 2));
    particles.SetPosition(CVector(1, 1, 1));
    particles.SetEmitterFadeoutTime(500);
    particles.SetEmitterParticlesPerSecondMax(2.9f);
    engine.Add(&particles, nullptr, "");
    auto* node = static_cast<scene::IParticleSystemSceneNode*>(particles.GetSceneNode());
    ASSERT_NE(node, nullptr);
    ASSERT_NE(node->getEmitter(), nullptr);
    EXPECT_EQ(node->getEmitter()->getType(), scene::EPET_BOX);
    auto* box = static_cast<scene::IParticleBoxEmitter*>(node->getEmitter());
    EXPECT_EQ(box->getBox().MinEdge, core::vector3df(-2, 0, -1));
    EXPECT_EQ(box->getBox().MaxEdge, core::vector3df(2, 0, 1));
    EXPECT_EQ(box->getMaxParticlesPerSecond(), 2u);
    EXPECT_EQ(node->getAffectors().size(), 2u);
    // Particles do not write depth (until the entity's own z-write setting
    // is applied again).
    EXPECT_FALSE(node->getMaterial(0).ZWriteEnable);
    // The node itself is not scaled, also after the entity is scaled.
    EXPECT_EQ(node->getScale(), core::vector3df(1, 1, 1));
    particles.SetScale(CVector(8, 8, 8));
    particles.UpdateParts();
    EXPECT_EQ(node->getScale(), core::vector3df(1, 1, 1));
    EXPECT_EQ(node->getPosition(), core::vector3df(1, 1, 1));
    engine.Remove(&particles);
    EXPECT_EQ(particles.GetSceneNode(), nullptr);

    // Clearing resets the emitter and keeps the base's settings.
    particles.SetModelName(L"smoke");
    particles.Clear();
    EXPECT_EQ(particles.GetModelName(), L"smoke");
    EXPECT_FLOAT_EQ(particles.GetEmitter().particlesPerSecondMax, 100.0f);
    EXPECT_EQ(particles.GetEmitter().fadeoutTime, 0u);
}

TEST_F(SceneNodesTest, WorldBoxGrowsOnlyWithMeshKinds)
{
    CTestLight light(kIdA);
    light.SetPosition(CVector(50, 0, 0));
    engine.Add(&light, nullptr, "");
    EXPECT_EQ(engine.GetWorldMax().x, 1.0f);
    CKindEntity agent(World::kTypeIdAgent, kIdB);
    agent.SetScale(CVector(6, 6, 6));
    engine.Add(&agent, nullptr, "");
    // The cube's own box, not moved or scaled.
    EXPECT_FLOAT_EQ(engine.GetWorldMax().x, 1.0f);
    engine.ClearScene();
    EXPECT_EQ(engine.GetWorldMin().x, -1.0f);
    EXPECT_EQ(engine.GetWorldMax().z, 1.0f);
}

TEST_F(SceneNodesTest, UnknownKindsAndNullEntities)
{
    CKindEntity odd(2, kIdA);
    EXPECT_EQ(ErrorOf([&] { engine.Add(&odd, nullptr, ""); }),
              "[CGraphicsEngine::Add] Typeid not recognised");
    EXPECT_EQ(ErrorOf([&] { engine.Remove(&odd); }), "[CGraphicsEngine::Remove] Typeid not recognised");
    EXPECT_EQ(ErrorOf([&] { engine.Update(&odd); }), "[CGraphicsEngine::Update] Typeid not recognised");
    EXPECT_EQ(ErrorOf([&] { engine.Remove(nullptr); }),
              "[CGraphicsEngine::Remove] Graphical entity not initialised");
    EXPECT_EQ(ErrorOf([&] { engine.Update(nullptr); }),
              "[CGraphicsEngine::Update] Graphical entity not initialised");
    EXPECT_EQ(ErrorOf([&] { engine.Add(nullptr, nullptr, ""); }), "(no error)");
    // Kinds whose builders come with them are not recognised yet either.
    CKindEntity particlesOfNoClass(World::kTypeIdParticleSystem, kIdA);
    EXPECT_EQ(ErrorOf([&] { engine.Add(&particlesOfNoClass, nullptr, ""); }),
              "[CGraphicsEngine::Add] Invalid Particle system pointer");
    CTestLight light(kIdA);
    engine.Add(&light, nullptr, "");
    EXPECT_EQ(ErrorOf([&] { engine.Update(&light); }), "(no error)");
}

TEST_F(SceneNodesTest, NodesLetGoOfByTheSceneAreBuiltAgain)
{
    CTestLight light(kIdA);
    engine.Add(&light, nullptr, "");
    // Held here too, so that the new node cannot take the old one's address.
    scene::ISceneNode* old = light.GetSceneNode();
    old->grab();
    engine.ClearScene();
    // The entity still holds the node it had: its setters stay harmless.
    light.SetPosition(CVector(3, 3, 3));
    light.SetVisible(false);
    light.SetMaterialDiffuseColor(CColor(1, 0, 0, 1), 0);
    EXPECT_EQ(old->getParent(), nullptr);
    // The next Add builds a node in the scene again and lets go of the old.
    engine.Add(&light, nullptr, "");
    ASSERT_NE(light.GetSceneNode(), nullptr);
    EXPECT_NE(light.GetSceneNode(), old);
    EXPECT_EQ(light.GetSceneNode()->getParent(), Root());
    EXPECT_EQ(light.GetSceneNode()->getPosition(), core::vector3df(3, 3, 3));
    EXPECT_EQ(old->getReferenceCount(), 1);
    EXPECT_EQ(old->getParent(), nullptr);
    old->drop();
}

TEST_F(SceneNodesTest, AnEntityGoingAwayLeavesTheEnginesLists)
{
    {
        auto light = std::make_unique<CTestLight>(kIdA);
        engine.Add(light.get(), nullptr, "");
        light->RegisterWithEngine();
        engine.AddAutoAnimatedEntity(light.get());
    }
    {
        auto camera = std::make_unique<CTestCameraEntity>(kIdB);
        engine.Add(camera.get(), nullptr, "");
        ASSERT_EQ(engine.GetActiveCamera(), camera.get());
        engine.AddSecondaryCamera(camera.get());
    }
    EXPECT_EQ(engine.GetActiveCamera(), nullptr);
    EXPECT_TRUE(engine.GetSecondaryCameras().empty());
    // The frame calls nobody that is gone (the sanitizers watch).
    EXPECT_TRUE(engine.Draw(false, false, false));

    // Clearing an entity lets go of the engine, and of its lists too.
    CTestLight cleared(kIdA);
    engine.Add(&cleared, nullptr, "");
    cleared.RegisterWithEngine();
    cleared.Clear();
    EXPECT_EQ(cleared.GetEngine(), nullptr);
    EXPECT_TRUE(engine.Draw(false, false, false));
}

TEST_F(SceneNodesTest, TheAnimationCallbackOutlivesItsEntitySafely)
{
    CacheAgentMesh(Scene());
    scene::ISceneNode* node = nullptr;
    {
        CKindEntity agent(World::kTypeIdAgent, kIdA);
        agent.SetModelName(L"agent.x");
        engine.Add(&agent, nullptr, "");
        node = agent.GetSceneNode();
        ASSERT_EQ(node->getType(), scene::ESNT_ANIMATED_MESH);
    }
    // The node still holds the callback; it ends its animation without the
    // entity that made it.
    auto* animated = static_cast<scene::IAnimatedMeshSceneNode*>(node);
    animated->setLoopMode(false);
    animated->setAnimationSpeed(1000.0f);
    animated->OnAnimate(0);
    animated->OnAnimate(100000);
    node->remove();
}

TEST_F(SceneNodesTest, BoundingBoxAndAbsoluteValues)
{
    CTestLight light(kIdA);
    CVector low(7, 7, 7), high(7, 7, 7);
    light.GetBoundingBox(low, high);
    EXPECT_EQ(low.x, 7.0f);
    CVector position;
    light.SetPosition(CVector(4, 5, 6));
    light.GetAbsolutePosition(position);
    EXPECT_EQ(position.y, 5.0f);

    light.SetScale(CVector(2, 2, -2));
    light.SetPosition(CVector(10, 0, 0));
    engine.Add(&light, nullptr, "");
    light.GetBoundingBox(low, high);
    EXPECT_EQ(low.x, 9.0f);
    EXPECT_EQ(high.x, 11.0f);
    EXPECT_EQ(low.z, -1.0f);
    EXPECT_EQ(high.z, 1.0f);

    CTestBillboard child(kIdB);
    child.SetPosition(CVector(1, 0, 0));
    child.SetScale(CVector(3, 1, 1));
    engine.Add(&child, &light, "");
    Root()->updateAbsolutePosition();
    light.GetSceneNode()->updateAbsolutePosition();
    child.GetSceneNode()->updateAbsolutePosition();
    child.GetAbsolutePosition(position);
    EXPECT_FLOAT_EQ(position.x, 12.0f);
    CVector scale;
    child.GetAbsoluteScale(scale);
    EXPECT_FLOAT_EQ(scale.x, 6.0f);
    EXPECT_FLOAT_EQ(scale.z, -2.0f);
}

// Large scenes are taken apart in whatever order a game deletes its
// entities: every order must leave the nodes still wanted in place, and none
// of the others anywhere in the scene, at the root or under a parent.
TEST_F(SceneNodesTest, EntitiesRemovedInAnyOrderLeaveNoNodeBehind)
{
    constexpr int kCount = 300;
    // The first entity is the parent of every tenth one.
    const auto parentOf = [](int index) { return index > 0 && index % 10 == 0 ? 0 : -1; };
    const auto idOf = [](int index)
    {
        char id[40];
        std::snprintf(id, sizeof id, "00000000-0000-4000-8000-%012x", index);
        return std::string(id);
    };
    std::vector<int> made(kCount);
    std::iota(made.begin(), made.end(), 0);
    std::vector<int> reverse(made.rbegin(), made.rend());
    std::vector<int> shuffled = made;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(61));
    std::vector<int> oddsFirst;
    for (int pass = 1; pass >= 0; --pass)
        for (int index = 0; index < kCount; ++index)
            if (index % 2 == pass)
                oddsFirst.push_back(index);
    const std::vector<std::pair<const char*, std::vector<int>>> orders = {
        {"as made", made}, {"reversed", reverse}, {"shuffled", shuffled}, {"odd ones first", oddsFirst}};
    for (const auto& [name, order] : orders)
    {
        SCOPED_TRACE(name);
        std::vector<std::unique_ptr<CTestBillboard>> entities;
        for (int index = 0; index < kCount; ++index)
        {
            entities.push_back(std::make_unique<CTestBillboard>(idOf(index).c_str()));
            const int parent = parentOf(index);
            engine.Add(entities.back().get(), parent < 0 ? nullptr : entities[parent].get(), "");
        }
        std::vector<bool> present(kCount, true);
        for (size_t step = 0; step < order.size(); ++step)
        {
            const int index = order[step];
            engine.Remove(entities[index].get());
            present[index] = false;
            EXPECT_EQ(entities[index]->GetSceneNode(), nullptr);
            // Halfway, what is left is found and shown, and nothing else is.
            if (step + 1 != order.size() / 2)
                continue;
            for (int other = 0; other < kCount; ++other)
            {
                scene::ISceneNode* found = Scene()->getSceneNodeFromName(idOf(other).c_str());
                ASSERT_EQ(found != nullptr, present[other]) << idOf(other);
                if (found == nullptr)
                    continue;
                EXPECT_EQ(found, entities[other]->GetSceneNode());
                EXPECT_TRUE(found->isVisible());
            }
            EXPECT_TRUE(engine.Draw(false, false, false));
        }
        EXPECT_TRUE(Root()->getChildren().empty());
        EXPECT_EQ(engine.GetLeftNodeCount(), 0u);
        EXPECT_TRUE(engine.Draw(false, false, false));
    }
}

} // namespace
