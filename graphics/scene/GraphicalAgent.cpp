#include "graphics/scene/GraphicalAgent.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"
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

namespace Field = Misc::Serialization::StoredField;

// Agents of files without the shadow switch cast none.
const Misc::Serialization::SStoredField<CGraphicalAgent> CGraphicalAgent::kStoredFields[] = {
    Field::DefaultedBool<&CGraphicalAgent::m_shadows, false>("-Shadows", FileVersion::kShadowSwitches),
    Field::ClearedWideText<&CGraphicalAgent::m_shadowMesh>("-ShadowMesh", FileVersion::kAgentShadowMesh),
};

bool CGraphicalAgent::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalAgent::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
