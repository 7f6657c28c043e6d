#include "graphics/scene/GraphicalAgent.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

using namespace irr;

namespace
{

// The shadow volume the agent made below its node; null when there is none.
scene::ISceneNode* FindShadowVolume(scene::ISceneNode* node)
{
    for (scene::ISceneNode* child : node->getChildren())
    {
        if (child->getType() == scene::ESNT_SHADOW_VOLUME)
            return child;
    }
    return nullptr;
}

} // namespace

void CGraphicalAgent::SetShadows(bool shadows, const std::wstring& shadowMesh)
{
    m_shadows = shadows;
    m_shadowMesh = shadowMesh;
    scene::ISceneNode* node = GetSceneNode();
    if (node == nullptr || node->getType() != scene::ESNT_ANIMATED_MESH)
        return;
    scene::ISceneNode* volume = FindShadowVolume(node);
    if (volume != nullptr)
    {
        // Hidden, not removed: switching shadows on again shows it again.
        volume->setVisible(shadows);
        return;
    }
    if (!shadows)
        return;
    scene::IMesh* mesh = nullptr;
    if (GetEngine() != nullptr)
    {
        if (scene::IAnimatedMesh* animated = GetEngine()->LoadMesh(shadowMesh))
            mesh = animated->getMesh(0, 255, -1, -1);
    }
    volume = static_cast<scene::IAnimatedMeshSceneNode*>(node)->addShadowVolumeSceneNode(
        mesh, static_cast<s32>(GetTypeId()), false, 10000.0f);
    if (volume != nullptr)
        volume->setName(GetId());
}

void CGraphicalAgent::UpdateTransformation()
{
    CGraphicalEntity::UpdateTransformation();
    AnimateJoints();
}

bool CGraphicalAgent::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    archive.WriteKeyBool("-Shadows", m_shadows);
    archive.WriteKeyWString("-ShadowMesh", m_shadowMesh);
    return true;
}

bool CGraphicalAgent::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    m_shadows = false;
    if (archive.IsVersionAtLeast(FileVersion::kShadowSwitches))
        archive.ReadKeyBool("-Shadows", m_shadows);
    m_shadowMesh.clear();
    if (archive.IsVersionAtLeast(FileVersion::kAgentShadowMesh))
        archive.ReadKeyWString("-ShadowMesh", m_shadowMesh);
    return true;
}

} // namespace Graphics::Scene
