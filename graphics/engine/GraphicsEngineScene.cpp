// The graphics engine's scene entities: building, re-applying and removing
// their nodes, and pushing their settings into them.

#include "graphics/engine/GraphicsEngine.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Math3D.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "irrlicht/IrrlichtConversions.h"
#include "irrlicht/IrrlichtFile.h"
#include "irrlicht/SilentLog.h"
#include "graphics/meshes/MeshGate.h"
#include "graphics/engine/RenderTarget.h"
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
#include <cstdio>
#include <cstring>
#include <limits>

namespace Graphics
{

using namespace irr;
using Misc::Error::CKVOError;
using Scene::CGraphicalEntity;
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

core::stringc Narrow(const std::wstring& text)
{
    return core::stringc(Misc::Text::WideToUtf8(text).c_str());
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

// The kinds that show marker cubes in place of a node of their own.
bool IsMarkerOnlyKind(uint32_t kind)
{
    return kind == World::kTypeIdWaypoint || kind == World::kTypeIdTrigger || kind == World::kTypeIdCursor;
}

// Keeps a node alive for a scope.
class CNodeHold
{
public:
    explicit CNodeHold(scene::ISceneNode* node) : m_node(node)
    {
        if (m_node != nullptr)
            m_node->grab();
    }
    ~CNodeHold()
    {
        if (m_node != nullptr)
            m_node->drop();
    }
    CNodeHold(const CNodeHold&) = delete;
    CNodeHold& operator=(const CNodeHold&) = delete;

private:
    scene::ISceneNode* m_node;
};

} // namespace

bool CGraphicsEngine::GetActiveCameraView(CVector& position, CVector& target, CVector& up) const
{
    const auto* camera = dynamic_cast<const Scene::CGraphicalCamera*>(m_activeCamera);
    if (camera == nullptr)
        return false;
    position = camera->GetPosition();
    target = camera->GetLookAt();
    up = camera->GetUpVector();
    return true;
}

void CGraphicsEngine::Add(CGraphicalEntity* entity, CGraphicalEntity* parent, const std::string& jointName)
{
    if (entity == nullptr || m_device == nullptr)
        return;
    CScopedLock lock(m_sceneLock);
    if (parent != nullptr && !jointName.empty() && parent->GetTypeId() != World::kTypeIdAgent)
        throw CKVOError(
            L"[CGraphicsEngine::Add] When specifying a parent joint, the parent must be an Agent.");
    scene::ISceneNode* parentNode = nullptr;
    if (parent != nullptr)
    {
        ForgetStaleNode(parent);
        parentNode = parent->GetSceneNode();
        if (!jointName.empty())
        {
            scene::ISceneNode* joint = nullptr;
            if (parentNode != nullptr && parentNode->getType() == scene::ESNT_ANIMATED_MESH)
                joint =
                    static_cast<scene::IAnimatedMeshSceneNode*>(parentNode)->getJointNode(jointName.c_str());
            if (joint == nullptr)
                throw CKVOError::Format(L"Joint not found:%s", Misc::Text::Utf8ToWide(jointName).c_str());
            parentNode = joint;
        }
    }
    AddByType(entity, parentNode);
}

const CGraphicsEngine::SSceneKind* CGraphicsEngine::FindSceneKind(uint32_t typeId)
{
    using Engine = CGraphicsEngine;
    static const SSceneKind kinds[] = {
        {World::kTypeIdAgent, &Engine::AddAgent, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdUnit, &Engine::AddUnit, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdParticleSystem, &Engine::AddParticleSystem, &Engine::RemoveParticleSystem,
         &Engine::UpdateParticleSystem},
        {World::kTypeIdLight, &Engine::AddLight, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdWaypoint, &Engine::AddWaypoint, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdTrigger, &Engine::AddTrigger, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdBillboard, &Engine::AddBillboard, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdSky, &Engine::AddSky, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdTerrain, &Engine::AddTerrain, &Engine::RemoveNode, &Engine::UpdateTerrain},
        {World::kTypeIdWater, &Engine::AddWater, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdCamera, &Engine::AddCamera, &Engine::RemoveNode, &Engine::UpdateEntityNode},
        {World::kTypeIdCursor, &Engine::AddCursor, &Engine::RemoveNode, &Engine::UpdateEntityNode},
    };
    for (const SSceneKind& kind : kinds)
    {
        if (kind.typeId == typeId)
            return &kind;
    }
    return nullptr;
}

void CGraphicsEngine::ThrowInvalidKind(const wchar_t* message)
{
    throw CKVOError(message);
}

void CGraphicsEngine::AddByType(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity != nullptr)
        ForgetStaleNode(entity);
    const SSceneKind* kind = FindSceneKind(entity != nullptr ? entity->GetTypeId() : 0);
    if (kind == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Typeid not recognised");
    (this->*kind->add)(entity, parentNode);
}

void CGraphicsEngine::ForgetStaleNode(CGraphicalEntity* entity) const
{
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
        return;
    const scene::ISceneNode* root =
        m_device != nullptr ? m_device->getSceneManager()->getRootSceneNode() : nullptr;
    if (root == nullptr || node == root || !m_sceneTree.Reaches(node->getParent(), root))
        entity->SetSceneNode(nullptr);
}

void CGraphicsEngine::SetModelLoaderParameters(const std::wstring& modelName)
{
    std::wstring folder;
    if (GetOwner() != nullptr && GetOwner()->GetApplication() != nullptr)
        folder = GetOwner()->GetApplication()->FindFileFolder(modelName);
    const core::stringc path = Narrow(folder);
    io::IAttributes* parameters = m_device->getSceneManager()->getParameters();
    parameters->setAttribute("DMF_MaterialsDir", false);
    parameters->setAttribute("DMF_TexturePath", path.c_str());
    parameters->setAttribute("CSM_TexturePath", path.c_str());
    parameters->setAttribute("LMTS_TexturePath", path.c_str());
    parameters->setAttribute("MY3D_TexturePath", path.c_str());
    parameters->setAttribute("COLLADA_CreateSceneInstances", false);
}

scene::IAnimatedMesh* CGraphicsEngine::LoadMesh(const std::wstring& fileName)
{
    if (m_device == nullptr || fileName.empty())
        return nullptr;
    scene::ISceneManager* scene = m_device->getSceneManager();
    const core::stringc name = Narrow(fileName);
    if (scene::IAnimatedMesh* cached = scene->getMeshCache()->getMeshByName(name))
        return cached;
    CApplication* application = GetOwner() != nullptr ? GetOwner()->GetApplication() : nullptr;
    if (application == nullptr)
        return nullptr;
    CIrrlichtFile* file = CIrrlichtFile::Adopt(application->OpenFile(fileName));
    if (file == nullptr)
    {
        ReportModelRefusal(fileName, "file not found");
        return nullptr;
    }
    // Irrlicht chooses its loaders by the name of the file as opened; the
    // mesh gate is the first, and answers a refused file with its refusal.
    scene::IAnimatedMesh* mesh = nullptr;
    {
        // A refusal is reported below, with its reason.
        const CSilentLog silent(m_device->getLogger());
        mesh = scene->getMesh(file);
    }
    file->drop();
    if (mesh != nullptr && m_meshGate != nullptr && m_meshGate->IsRefusal(mesh))
    {
        scene->getMeshCache()->removeMesh(mesh);
        mesh = nullptr;
    }
    if (mesh == nullptr)
        ReportModelRefusal(fileName, CMeshGate::LastRefusal().empty() ? std::string("no mesh in the file")
                                                                      : CMeshGate::LastRefusal());
    return mesh;
}

void CGraphicsEngine::ReportModelRefusal(const std::wstring& fileName, const std::string& reason)
{
    // One line in the log and one on standard error (the log goes nowhere
    // until its console is shown); the entity shows the placeholder cube.
    Misc::CLogger::WriteSystem(L"[CGraphicsEngine::LoadMesh] Mesh file refused [%s]: %S", fileName, reason);
    std::fprintf(stderr, "[CGraphicsEngine::LoadMesh] Mesh file refused [%s]: %s\n",
                 Misc::Text::WideToUtf8(fileName).c_str(), reason.c_str());
}

video::ITexture* CGraphicsEngine::FindEntityTexture(const std::wstring& name)
{
    if (m_device == nullptr || name.empty())
        return nullptr;
    video::ITexture* texture = GetTexture(name, false);
    // A material may show what a render target draws.
    if (texture == nullptr && RenderTargetExists(name))
        texture = GetRenderTarget(name).GetTexture();
    return texture;
}

void CGraphicsEngine::GrowWorldBox(scene::ISceneNode* node)
{
    if (node == nullptr)
        return;
    const core::aabbox3df& box = node->getBoundingBox();
    BoxExtendBox(m_worldMin, m_worldMax, ToVector(box.MinEdge), ToVector(box.MaxEdge));
}

void CGraphicsEngine::AddAgent(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    SetModelLoaderParameters(entity->GetModelName());
    scene::IAnimatedMesh* mesh = LoadMesh(entity->GetModelName());
    scene::ISceneManager* scene = m_device->getSceneManager();
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
    GrowWorldBox(node);
    BindNode(entity, node, parentNode, false);
    if (node->getType() == scene::ESNT_ANIMATED_MESH)
    {
        auto* animated = static_cast<scene::IAnimatedMeshSceneNode*>(node);
        entity->SetAnimatedMesh(mesh);
        // Start the mesh's own animation, still, played once.
        animated->setMD2Animation("");
        animated->setAnimationSpeed(0.0f);
        animated->setLoopMode(false);
        if (m_shadows)
        {
            if (auto* agent = dynamic_cast<Scene::CGraphicalAgent*>(entity))
                agent->SetShadows(agent->GetShadows(), agent->GetShadowMesh());
        }
    }
    else
    {
        entity->SetAnimatedMesh(nullptr);
        entity->SetMesh(mesh);
    }
}

void CGraphicsEngine::AddParticleSystem(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    RequireKind<Scene::CGraphicalParticleSystem>(entity,
                                                 L"[CGraphicsEngine::Add] Invalid Particle system pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        node = m_device->getSceneManager()->addParticleSystemSceneNode(
            false, parentNode, static_cast<s32>(entity->GetTypeId()), core::vector3df(0, 0, 0),
            core::vector3df(0, 0, 0), core::vector3df(1, 1, 1));
        if (node == nullptr)
            return;
    }
    BindNode(entity, node, parentNode, false);
    node->setMaterialFlag(video::EMF_ZWRITE_ENABLE, false);
    Update(entity);
}

void CGraphicsEngine::AddLight(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* light =
        RequireKind<Scene::CGraphicalLight>(entity, L"[CGraphicsEngine::Add] Invalid light pointer");
    const float radius = LargestAbsolute(entity->GetScale());
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        node = m_device->getSceneManager()->addLightSceneNode(parentNode, ToIrrlicht(entity->GetPosition()),
                                                              ToLightColor(entity->GetMaterials()[0].diffuse),
                                                              radius, static_cast<s32>(entity->GetTypeId()));
        if (node == nullptr)
            return;
    }
    BindNode(entity, node, parentNode, true);
    if (node->getType() != scene::ESNT_LIGHT)
        return;

    auto* lightNode = static_cast<scene::ILightSceneNode*>(node);
    const uint32_t type = light->GetType().GetValue();
    if (type == Scene::CGraphicalLight::CLightType::kSpot)
    {
        lightNode->setLightType(video::ELT_SPOT);
        const CVector& spot = light->GetSpotParams();
        lightNode->getLightData().InnerCone = spot.x;
        lightNode->getLightData().OuterCone = spot.y;
        lightNode->getLightData().Falloff = spot.z;
    }
    else if (type == Scene::CGraphicalLight::CLightType::kDirectional)
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
    const Scene::CMaterial& material = entity->GetMaterials()[0];
    data.AmbientColor = ToLightColor(material.ambient);
    data.DiffuseColor = ToLightColor(material.diffuse);
    data.SpecularColor = ToLightColor(material.specular);
    data.Attenuation = ToIrrlicht(light->GetAttenuation());
}

void CGraphicsEngine::AddWaypoint(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid waypoint pointer");
    BindNode(entity, entity->GetSceneNode(), parentNode, true);
}

void CGraphicsEngine::AddTrigger(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid trigger pointer");
    BindNode(entity, entity->GetSceneNode(), parentNode, true);
}

void CGraphicsEngine::AddCursor(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid cursor pointer");
    BindNode(entity, entity->GetSceneNode(), parentNode, true);
}

void CGraphicsEngine::AddBillboard(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Invalid billboard pointer");
    const CVector& scale = entity->GetScale();
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        scene::ISceneManager* scene = m_device->getSceneManager();
        auto* billboard = new Scene::CBillboardSceneNode(
            parentNode != nullptr ? parentNode : scene->getRootSceneNode(), scene,
            static_cast<s32>(entity->GetTypeId()), ToIrrlicht(entity->GetPosition()),
            core::dimension2df(scale.x, scale.z), video::SColor(0xFFFFFFFF), video::SColor(0xFFFFFFFF));
        // The parent holds the node now.
        billboard->drop();
        node = billboard;
    }
    BindNode(entity, node, parentNode, false);
    if (node->getType() == scene::ESNT_BILLBOARD)
        static_cast<scene::IBillboardSceneNode*>(node)->setSize(core::dimension2df(scale.x, scale.z));
}

void CGraphicsEngine::AddCamera(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* camera =
        RequireKind<Scene::CGraphicalCamera>(entity, L"[CGraphicsEngine::Add] Invalid camera pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    bool created = false;
    if (node == nullptr)
    {
        // Not made active here: which camera is active is the engine's call.
        node = m_device->getSceneManager()->addCameraSceneNode(parentNode, ToIrrlicht(entity->GetPosition()),
                                                               ToIrrlicht(camera->GetLookAt()), -1, false);
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
        BindNode(entity, node, parentNode, true);
    // Making a node must not change which camera is active; the first
    // camera becomes the active one.
    if (created)
        SetActiveCamera(m_activeCamera != nullptr ? m_activeCamera : camera);
}

scene::ISceneNode* CGraphicsEngine::BuildMarkers(CGraphicalEntity* entity, scene::ISceneNode* node,
                                                 scene::ISceneNode* parentNode)
{
    scene::ISceneManager* scene = m_device->getSceneManager();
    const s32 id = static_cast<s32>(entity->GetTypeId());
    video::ITexture* texture = FindEntityTexture(entity->GetMaterials()[0].textures[0].GetValue());
    auto dress = [&](scene::ISceneNode* cube)
    {
        cube->setMaterialFlag(video::EMF_WIREFRAME, true);
        cube->setMaterialFlag(video::EMF_LIGHTING, false);
        cube->setMaterialFlag(video::EMF_FOG_ENABLE, false);
        cube->setMaterialTexture(0, texture);
        cube->setName(entity->GetId());
    };
    scene::ISceneNode* cube = nullptr;
    if (node == nullptr)
    {
        cube = scene->addCubeSceneNode(1.0f, parentNode, id, ToIrrlicht(entity->GetPosition()),
                                       ToIrrlicht(entity->GetRotation()), ToIrrlicht(entity->GetScale()));
        node = cube;
    }
    else if (IsMarkerOnlyKind(entity->GetTypeId()) && node->getType() == scene::ESNT_CUBE)
    {
        // The node is the marker cube already: only its bar is made anew.
        cube = node;
    }
    else
    {
        cube = scene->addCubeSceneNode(1.0f, node, id, core::vector3df(0, 0, 0), core::vector3df(0, 0, 0),
                                       core::vector3df(1, 1, 1));
    }
    if (cube == nullptr)
        return node;
    dress(cube);
    // A small bar pointing along +x shows the way the entity faces.
    if (scene::ISceneNode* bar =
            scene->addCubeSceneNode(0.1f, cube, id, core::vector3df(0.5f, 0, 0), core::vector3df(0, 0, 0),
                                    core::vector3df(1.0f, 0.5f, 0.5f)))
        dress(bar);
    return node;
}

void CGraphicsEngine::RemoveMarkers(scene::ISceneNode* node)
{
    const core::list<scene::ISceneNode*> children = node->getChildren();
    for (scene::ISceneNode* child : children)
    {
        if (core::stringc(child->getName()) == node->getName())
            child->remove();
    }
}

void CGraphicsEngine::BindNode(CGraphicalEntity* entity, scene::ISceneNode* node,
                               scene::ISceneNode* parentNode, bool markersAllowed)
{
    if (markersAllowed)
    {
        // Earlier markers go first, so that applying an entity again never
        // piles up cubes.
        if (node != nullptr)
            RemoveMarkers(node);
        if (entity->GetFlags() != 0)
            node = BuildMarkers(entity, node, parentNode);
    }
    entity->SetVideoDriver(m_device->getVideoDriver());
    entity->SetSceneManager(m_device->getSceneManager());
    entity->SetSceneNode(node);
    entity->SetEngine(this);
    if (node != nullptr)
    {
        node->setName(entity->GetId());
        node->setIsDebugObject(markersAllowed);
    }
    entity->UpdateNode();
}

void CGraphicsEngine::Remove(CGraphicalEntity* entity)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Remove] Graphical entity not initialised");
    CScopedLock lock(m_sceneLock);
    ForgetEntity(entity);
    const SSceneKind* kind = FindSceneKind(entity->GetTypeId());
    if (kind == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Remove] Typeid not recognised");
    (this->*kind->remove)(entity);
}

void CGraphicsEngine::LetGo(CGraphicalEntity* entity)
{
    if (entity == nullptr)
        return;
    CScopedLock lock(m_sceneLock);
    ForgetEntity(entity);
    entity->SetSceneNode(nullptr);
}

void CGraphicsEngine::RemoveParticleSystem(CGraphicalEntity* entity)
{
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node != nullptr && node->getType() == scene::ESNT_PARTICLE_SYSTEM)
    {
        auto* particles = static_cast<scene::IParticleSystemSceneNode*>(node);
        particles->removeAllAffectors();
        particles->setEmitter(nullptr);
    }
    RemoveNode(entity);
}

void CGraphicsEngine::RemoveNode(CGraphicalEntity* entity)
{
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
        return;
    if (node->getType() == scene::ESNT_ANIMATED_MESH)
    {
        auto* animated = static_cast<scene::IAnimatedMeshSceneNode*>(node);
        for (u32 index = 0; index < animated->getJointCount(); ++index)
        {
            if (scene::ISceneNode* joint = animated->getJointNode(index))
                DetachChildren(joint);
        }
    }
    DetachChildren(node);
    m_sceneTree.Remove(node);
    entity->SetSceneNode(nullptr);
}

void CGraphicsEngine::DetachChildren(scene::ISceneNode* node)
{
    if (node == nullptr)
        return;
    // A copy: moving a child changes the node's list.
    const core::list<scene::ISceneNode*> children = node->getChildren();
    for (scene::ISceneNode* child : children)
    {
        if (IsAttachedEntity(child, node))
            RemoveChild(child);
    }
}

bool CGraphicsEngine::IsAttachedEntity(const scene::ISceneNode* child, const scene::ISceneNode* owner)
{
    const char* name = child->getName();
    return name[0] != '\0' && std::strcmp(name, owner->getName()) != 0 &&
           (child->getID() > 0 || child->getType() == scene::ESNT_CAMERA);
}

void CGraphicsEngine::Rebuild(CGraphicalEntity* entity)
{
    if (entity == nullptr || m_device == nullptr)
        return;
    CScopedLock lock(m_sceneLock);
    ForgetStaleNode(entity);
    scene::ISceneNode* parentNode =
        entity->GetSceneNode() != nullptr ? entity->GetSceneNode()->getParent() : nullptr;
    // The parent stays alive while the node hanging on it is rebuilt.
    CNodeHold hold(parentNode);
    Remove(entity);
    AddByType(entity, parentNode);
}

void CGraphicsEngine::Update(CGraphicalEntity* entity)
{
    if (entity == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Update] Graphical entity not initialised");
    const SSceneKind* kind = FindSceneKind(entity->GetTypeId());
    if (kind == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Update] Typeid not recognised");
    (this->*kind->update)(entity);
}

void CGraphicsEngine::UpdateEntityNode(CGraphicalEntity* entity)
{
    entity->UpdateNode();
}

void CGraphicsEngine::UpdateTerrain(CGraphicalEntity* entity)
{
    auto* terrain =
        RequireKind<Scene::CGraphicalTerrain>(entity, L"[CGraphicsEngine::Update] Invalid terrain pointer");
    terrain->SetTextureScales(terrain->GetTextureScale1(), terrain->GetTextureScale2());
}

void CGraphicsEngine::UpdateParticleSystem(CGraphicalEntity* entity)
{
    auto* system = RequireKind<Scene::CGraphicalParticleSystem>(
        entity, L"[CGraphicsEngine::Update] Invalid Particle system pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr || node->getType() != scene::ESNT_PARTICLE_SYSTEM)
        return;
    auto* particles = static_cast<scene::IParticleSystemSceneNode*>(node);
    const Scene::CGraphicalParticleSystem::CEmitter& emitter = system->GetEmitter();

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

} // namespace Graphics
