// The nodes of the kinds built straight from the scene manager: agents,
// particle systems, lights, billboards, cameras and the marker-only kinds;
// and the table that finds each kind's builders by its id.

#include "graphics/scene/KindNodes.h"

#include "core/foundation/KVOError.h"
#include "core/world/TypeId.h"
#include "graphics/engine/GraphicsEngine.h"
#include "irrlicht/IrrlichtConversions.h"
#include "graphics/scene/BillboardSceneNode.h"
#include "graphics/scene/GraphicalAgent.h"
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalEntity.h"
#include "graphics/scene/GraphicalLight.h"
#include "graphics/scene/GraphicalParticleSystem.h"
#include "graphics/scene/GraphicalTerrain.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Graphics::Scene
{

using namespace irr;
using Misc::Error::CKVOError;
namespace World = Misc::World;

namespace
{

constexpr float kPi = 3.14159265358979323846f;

// A float truncated toward zero into the range of T; not a number gives 0.
template <class T> T Truncated(float value)
{
    if (!(value == value))
        return 0;
    const double truncated = std::trunc(static_cast<double>(value));
    const double low = static_cast<double>(std::numeric_limits<T>::min());
    const double high = static_cast<double>(std::numeric_limits<T>::max());
    return static_cast<T>(std::clamp(truncated, low, high));
}

video::SColorf ToLightColor(const CColor& color)
{
    // Through 8 bits per channel, as every colour handed to Irrlicht.
    return video::SColorf(ToIrrlichtColor(color));
}

float LargestAbsolute(const CVector& v)
{
    return std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
}

// In the kind table's order, by id.
constexpr SKindNodes kKindNodes[] = {
    {World::kTypeIdAgent, &AddAgentNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdUnit, &AddUnitNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdParticleSystem, &AddParticleSystemNode, &RemoveParticleSystemNode,
     &UpdateParticleSystemNode},
    {World::kTypeIdLight, &AddLightNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdWaypoint, &AddWaypointNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdTrigger, &AddTriggerNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdBillboard, &AddBillboardNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdSky, &AddSkyNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdTerrain, &AddTerrainNode, &RemoveEntityNode, &UpdateTerrainNode},
    {World::kTypeIdWater, &AddWaterNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdCamera, &AddCameraNode, &RemoveEntityNode, &UpdateEntityNode},
    {World::kTypeIdCursor, &AddCursorNode, &RemoveEntityNode, &UpdateEntityNode},
};

constexpr bool RowsFollowKindTable()
{
    if (std::size(kKindNodes) != World::kKindCount)
        return false;
    for (size_t index = 0; index < World::kKindCount; ++index)
    {
        if (kKindNodes[index].typeId != World::kKinds[index].typeId)
            return false;
    }
    return true;
}
static_assert(RowsFollowKindTable(), "every kind has its nodes, in the kind table's order");

} // namespace

const SKindNodes* FindKindNodes(uint32_t typeId)
{
    const size_t index = World::FindKindIndex(typeId);
    return index < World::kKindCount ? &kKindNodes[index] : nullptr;
}

void ThrowInvalidKind(const wchar_t* message)
{
    throw CKVOError(message);
}

void AddAgentNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    engine.SetModelLoaderParameters(entity->GetModelName());
    scene::IAnimatedMesh* mesh = engine.LoadMesh(entity->GetModelName());
    scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        const s32 id = static_cast<s32>(entity->GetTypeId());
        const core::vector3df position = ToIrrlicht(entity->GetPosition());
        const core::vector3df rotation = ToIrrlicht(entity->GetRotation());
        const core::vector3df scale = ToIrrlicht(entity->GetScale());
        if (mesh != nullptr)
            node = scene->addAnimatedMeshSceneNode(
                mesh, parentNode != nullptr ? parentNode : scene->getRootSceneNode(), id, position, rotation,
                scale);
        else
            node = scene->addCubeSceneNode(1.0f, parentNode, id, position, rotation, scale);
        if (node == nullptr)
            return;
    }
    engine.GrowWorldBox(node);
    engine.BindNode(entity, node, parentNode, false);
    if (node->getType() == scene::ESNT_ANIMATED_MESH)
    {
        auto* animated = static_cast<scene::IAnimatedMeshSceneNode*>(node);
        entity->SetAnimatedMesh(mesh);
        // Start the mesh's own animation, still, played once.
        animated->setMD2Animation("");
        animated->setAnimationSpeed(0.0f);
        animated->setLoopMode(false);
        if (engine.IsShadowsEnabled())
        {
            if (auto* agent = dynamic_cast<CGraphicalAgent*>(entity))
                agent->SetShadows(agent->GetShadows(), agent->GetShadowMesh());
        }
    }
    else
    {
        entity->SetAnimatedMesh(nullptr);
        entity->SetMesh(mesh);
    }
}

void AddParticleSystemNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    RequireKind<CGraphicalParticleSystem>(entity, L"[CGraphicsEngine::Add] Invalid Particle system pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        node = engine.GetDevice()->getSceneManager()->addParticleSystemSceneNode(
            false, parentNode, static_cast<s32>(entity->GetTypeId()), core::vector3df(0, 0, 0),
            core::vector3df(0, 0, 0), core::vector3df(1, 1, 1));
        if (node == nullptr)
            return;
    }
    engine.BindNode(entity, node, parentNode, false);
    node->setMaterialFlag(video::EMF_ZWRITE_ENABLE, false);
    engine.Update(entity);
}

void AddLightNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* light = RequireKind<CGraphicalLight>(entity, L"[CGraphicsEngine::Add] Invalid light pointer");
    const float radius = LargestAbsolute(entity->GetScale());
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        node = engine.GetDevice()->getSceneManager()->addLightSceneNode(
            parentNode, ToIrrlicht(entity->GetPosition()), ToLightColor(entity->GetMaterials()[0].diffuse),
            radius, static_cast<s32>(entity->GetTypeId()));
        if (node == nullptr)
            return;
    }
    engine.BindNode(entity, node, parentNode, true);
    if (node->getType() != scene::ESNT_LIGHT)
        return;

    auto* lightNode = static_cast<scene::ILightSceneNode*>(node);
    const uint32_t type = light->GetType().GetValue();
    if (type == CGraphicalLight::CLightType::kSpot)
    {
        lightNode->setLightType(video::ELT_SPOT);
        const CVector& spot = light->GetSpotParams();
        lightNode->getLightData().InnerCone = spot.x;
        lightNode->getLightData().OuterCone = spot.y;
        lightNode->getLightData().Falloff = spot.z;
    }
    else if (type == CGraphicalLight::CLightType::kDirectional)
    {
        lightNode->setLightType(video::ELT_DIRECTIONAL);
    }
    else
    {
        lightNode->setLightType(video::ELT_POINT);
    }
    lightNode->enableCastShadow(light->GetShadows());
    // The radius first: Irrlicht derives an attenuation from it.
    lightNode->setRadius(radius);
    video::SLight& data = lightNode->getLightData();
    const CMaterial& material = entity->GetMaterials()[0];
    data.AmbientColor = ToLightColor(material.ambient);
    data.DiffuseColor = ToLightColor(material.diffuse);
    data.SpecularColor = ToLightColor(material.specular);
    data.Attenuation = ToIrrlicht(light->GetAttenuation());
}

void AddWaypointNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid waypoint pointer");
    engine.BindNode(entity, entity->GetSceneNode(), parentNode, true);
}

void AddTriggerNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid trigger pointer");
    engine.BindNode(entity, entity->GetSceneNode(), parentNode, true);
}

void AddCursorNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid cursor pointer");
    engine.BindNode(entity, entity->GetSceneNode(), parentNode, true);
}

void AddBillboardNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid billboard pointer");
    const CVector& scale = entity->GetScale();
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
        auto* billboard = new CBillboardSceneNode(
            parentNode != nullptr ? parentNode : scene->getRootSceneNode(), scene,
            static_cast<s32>(entity->GetTypeId()), ToIrrlicht(entity->GetPosition()),
            core::dimension2df(scale.x, scale.z), video::SColor(0xFFFFFFFF), video::SColor(0xFFFFFFFF));
        // The parent holds the node now.
        billboard->drop();
        node = billboard;
    }
    engine.BindNode(entity, node, parentNode, false);
    if (node->getType() == scene::ESNT_BILLBOARD)
        static_cast<scene::IBillboardSceneNode*>(node)->setSize(core::dimension2df(scale.x, scale.z));
}

void AddCameraNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* camera = RequireKind<CGraphicalCamera>(entity, L"[CGraphicsEngine::Add] Invalid camera pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    bool created = false;
    if (node == nullptr)
    {
        // Not made active here: which camera is active is the engine's call.
        node = engine.GetDevice()->getSceneManager()->addCameraSceneNode(
            parentNode, ToIrrlicht(entity->GetPosition()), ToIrrlicht(camera->GetLookAt()), -1, false);
        created = true;
    }
    if (node != nullptr && node->getType() == scene::ESNT_CAMERA)
    {
        auto* cameraNode = static_cast<scene::ICameraSceneNode*>(node);
        camera->ApplyClipDistances(cameraNode);
        cameraNode->setFOV(kPi / camera->GetFOV());
        cameraNode->setUpVector(ToIrrlicht(camera->GetUpVector()));
        cameraNode->setAspectRatio(camera->GetAspectRatio());
    }
    if (node != nullptr)
        engine.BindNode(entity, node, parentNode, true);
    // Making a node must not change which camera is active; the first
    // camera becomes the active one.
    if (created)
        engine.SetActiveCamera(engine.GetActiveCamera() != nullptr ? engine.GetActiveCamera() : camera);
}

void RemoveParticleSystemNode(CGraphicsEngine& engine, CGraphicalEntity* entity)
{
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node != nullptr && node->getType() == scene::ESNT_PARTICLE_SYSTEM)
    {
        auto* particles = static_cast<scene::IParticleSystemSceneNode*>(node);
        particles->removeAllAffectors();
        particles->setEmitter(nullptr);
    }
    engine.RemoveNode(entity);
}

void RemoveEntityNode(CGraphicsEngine& engine, CGraphicalEntity* entity)
{
    engine.RemoveNode(entity);
}

void UpdateEntityNode(CGraphicsEngine&, CGraphicalEntity* entity)
{
    entity->UpdateNode();
}

void UpdateTerrainNode(CGraphicsEngine&, CGraphicalEntity* entity)
{
    auto* terrain =
        RequireKind<CGraphicalTerrain>(entity, L"[CGraphicsEngine::Update] Invalid terrain pointer");
    terrain->SetTextureScales(terrain->GetTextureScale1(), terrain->GetTextureScale2());
}

void UpdateParticleSystemNode(CGraphicsEngine&, CGraphicalEntity* entity)
{
    auto* system = RequireKind<CGraphicalParticleSystem>(
        entity, L"[CGraphicsEngine::Update] Invalid Particle system pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr || node->getType() != scene::ESNT_PARTICLE_SYSTEM)
        return;
    auto* particles = static_cast<scene::IParticleSystemSceneNode*>(node);
    const CGraphicalParticleSystem::CEmitter& emitter = system->GetEmitter();

    // The scale sizes the emitter's box; a side not above 0 is 0.
    const CVector& scale = entity->GetScale();
    const core::vector3df half(scale.x > 0.0f ? scale.x * 0.5f : 0.0f, scale.y > 0.0f ? scale.y * 0.5f : 0.0f,
                               scale.z > 0.0f ? scale.z * 0.5f : 0.0f);
    scene::IParticleEmitter* box = particles->createBoxEmitter(
        core::aabbox3df(-half, half), ToIrrlicht(emitter.direction),
        Truncated<u32>(emitter.particlesPerSecondMin), Truncated<u32>(emitter.particlesPerSecondMax),
        ToIrrlichtColor(emitter.colorMin), ToIrrlichtColor(emitter.colorMax), emitter.lifetimeMin,
        emitter.lifetimeMax, Truncated<s32>(emitter.angleVariance),
        core::dimension2df(emitter.particleSizeMin, emitter.particleSizeMin),
        core::dimension2df(emitter.particleSizeMax, emitter.particleSizeMax));
    particles->setEmitter(box);
    box->drop();

    particles->removeAllAffectors();
    if (emitter.gravityTime > 0)
    {
        scene::IParticleAffector* gravity =
            particles->createGravityAffector(ToIrrlicht(emitter.gravity), emitter.gravityTime);
        particles->addAffector(gravity);
        gravity->drop();
    }
    if (emitter.fadeoutTime > 0)
    {
        scene::IParticleAffector* fade = particles->createFadeOutParticleAffector(
            ToIrrlichtColor(emitter.fadeoutColor), emitter.fadeoutTime);
        particles->addAffector(fade);
        fade->drop();
    }
    particles->setScale(core::vector3df(1.0f, 1.0f, 1.0f));
    particles->setPosition(ToIrrlicht(entity->GetPosition()));
    particles->setRotation(ToIrrlicht(entity->GetRotation()));
}

} // namespace Graphics::Scene
