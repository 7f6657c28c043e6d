// The graphics engine saved: the scene's attachment tree, one link per
// entity that hangs under another entity or on one of its joints.

#include "graphics/engine/GraphicsEngine.h"

#include "core/foundation/Logger.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/world/EntityInterface.h"
#include "graphics/scene/GraphicalEntity.h"

#include <irrlicht.h>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics
{

using namespace irr;

bool CGraphicsEngine::Write(Misc::Serialization::IArchive& archive)
{
    archive.EndLine(0);
    archive.WriteString("GraphicsTypes{");
    archive.EndLine(+1);
    scene::ISceneNode* root = nullptr;
    if (m_device != nullptr)
    {
        root = m_device->getSceneManager()->getRootSceneNode();
        WriteJointTree(archive, root, nullptr);
    }
    // Links read but not resolved yet (no scene when the world loaded) are
    // written back, unless the child hangs under a parent of its own now.
    for (const auto& [id, link] : m_jointMap)
    {
        scene::ISceneNode* node =
            root != nullptr ? m_device->getSceneManager()->getSceneNodeFromName(id.c_str()) : nullptr;
        if (node != nullptr && node->getParent() != root)
            continue;
        WriteJointLink(archive, id.c_str(), link.parentId.c_str(),
                       link.joint.empty() ? nullptr : link.joint.c_str());
    }
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

void CGraphicsEngine::WriteJointTree(Misc::Serialization::IArchive& archive, scene::ISceneNode* node,
                                     scene::ISceneNode* joint)
{
    if (node == nullptr)
        return;
    const core::stringc name = node->getName();
    // Writing leaves the scene as it is, so the node's own list is walked.
    const core::list<scene::ISceneNode*>& children = (joint != nullptr ? joint : node)->getChildren();
    for (scene::ISceneNode* child : children)
    {
        if (!IsAttachedEntity(child, node))
            continue;
        if (!name.empty())
            WriteJointLink(archive, child->getName(), name.c_str(),
                           joint != nullptr ? joint->getName() : nullptr);
        WriteJointTree(archive, child, nullptr);
        // Entities on the child's joints are links of the child too.
        if (child->getType() == scene::ESNT_ANIMATED_MESH)
            WriteJointLinks(archive, child, child);
    }
}

void CGraphicsEngine::WriteJointLink(Misc::Serialization::IArchive& archive, const char* id,
                                     const char* parentId, const char* joint)
{
    archive.WriteString("Joint{");
    archive.EndLine(+1);
    archive.WriteKeyCString("-Id", id);
    archive.WriteKeyCString("-ParentId", parentId);
    if (joint != nullptr)
        archive.WriteKeyCString("-Joint", joint);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
}

void CGraphicsEngine::WriteJointLinks(Misc::Serialization::IArchive& archive, scene::ISceneNode* owner,
                                      scene::ISceneNode* node)
{
    // The joint nodes hang below the animated node, each below its parent
    // joint. They are found by walking, not by asking the node for its
    // joints: that would switch it over to joints read from the animation.
    const core::list<scene::ISceneNode*>& children = node->getChildren();
    for (scene::ISceneNode* child : children)
    {
        if (dynamic_cast<scene::IBoneSceneNode*>(child) == nullptr)
            continue;
        WriteJointTree(archive, owner, child);
        WriteJointLinks(archive, owner, child);
    }
}

bool CGraphicsEngine::Read(Misc::Serialization::IArchive& archive)
{
    if (!archive.IsVersionAtLeast(FileVersion::kEngineRecords))
        return true;
    archive.ExpectToken("GraphicsTypes{");
    if (archive.IsVersionAtLeast(FileVersion::kGraphicsJointLinks))
    {
        while (archive.TestToken("Joint{"))
        {
            std::string id;
            SJointLink link;
            archive.ReadKeyString("-Id", id);
            archive.ReadKeyString("-ParentId", link.parentId);
            if (archive.TestToken("-Joint"))
                archive.ReadString(link.joint);
            m_jointMap[id] = link;
            archive.ExpectToken("}");
        }
    }
    archive.ExpectToken("}");
    return true;
}

void CGraphicsEngine::ResolveParents(IParentEntityLookup& world)
{
    // Each link goes before it is tried: one whose attachment throws is not
    // tried again, the ones after it stay for a later load or a save.
    while (!m_jointMap.empty())
    {
        const std::string id = m_jointMap.begin()->first;
        const SJointLink link = m_jointMap.begin()->second;
        m_jointMap.erase(m_jointMap.begin());
        Misc::World::IEntityInterface* child = world.FindEntity(id);
        Misc::World::IEntityInterface* parent = world.FindEntity(link.parentId);
        if (child == nullptr || parent == nullptr || child->GetGraphicalPart() == nullptr ||
            parent->GetGraphicalPart() == nullptr)
        {
            Misc::CLogger::WriteSystem(L"[CGraphicsEngine::ResolveParents] Unit not found [%S]",
                                       (child == nullptr ? id : link.parentId).c_str());
            continue;
        }
        parent->GetGraphicalPart()->AttachChild(child->GetGraphicalPart(), link.joint);
    }
}

} // namespace Graphics
