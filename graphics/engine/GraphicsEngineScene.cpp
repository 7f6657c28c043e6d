// The graphics engine's scene entities: handing each to its kind's node
// builders (graphics/scene/KindNodes.h), binding and removing nodes.

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
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalEntity.h"
#include "graphics/scene/KindNodes.h"

#include <irrlicht.h>

#include <cstdio>
#include <cstring>

namespace Graphics
{

using namespace irr;
using Misc::Error::CKVOError;
using Scene::CGraphicalEntity;
namespace World = Misc::World;

namespace
{

core::stringc Narrow(const std::wstring& text)
{
    return core::stringc(Misc::Text::WideToUtf8(text).c_str());
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

void CGraphicsEngine::AddByType(CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    if (entity != nullptr)
        ForgetStaleNode(entity);
    const Scene::SKindNodes* kind = Scene::FindKindNodes(entity != nullptr ? entity->GetTypeId() : 0);
    if (kind == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Add] Typeid not recognised");
    kind->add(*this, entity, parentNode);
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
    // No file has an empty name: an entity without a model has no folder,
    // and the file system is not searched for one.
    if (!modelName.empty() && GetOwner() != nullptr && GetOwner()->GetApplication() != nullptr)
        folder = GetOwner()->GetApplication()->FindFileFolder(modelName);
    const core::stringc path = Narrow(folder);
    // Nothing but this sets the parameters: values set already stay.
    if (m_loaderFolder == path.c_str())
        return;
    m_loaderFolder = path.c_str();
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
    const Scene::SKindNodes* kind = Scene::FindKindNodes(entity->GetTypeId());
    if (kind == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Remove] Typeid not recognised");
    kind->remove(*this, entity);
}

void CGraphicsEngine::LetGo(CGraphicalEntity* entity)
{
    if (entity == nullptr)
        return;
    CScopedLock lock(m_sceneLock);
    ForgetEntity(entity);
    entity->SetSceneNode(nullptr);
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
    const Scene::SKindNodes* kind = Scene::FindKindNodes(entity->GetTypeId());
    if (kind == nullptr)
        throw CKVOError(L"[CGraphicsEngine::Update] Typeid not recognised");
    kind->update(*this, entity);
}

} // namespace Graphics
