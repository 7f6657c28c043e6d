// The graphical entity's frame animation, its skeleton's joints and the
// entities it carries on its node or its joints.

#include "graphics/scene/GraphicalEntity.h"

#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "core/foundation/StringConversion.h"
#include "graphics/scene/GraphicalEntityAnimationCallback.h"
#include "irrlicht/IrrlichtConversions.h"

#include <irrlicht.h>

#include <array>

namespace Graphics::Scene
{

using namespace irr;
using Misc::Error::CKVOError;

namespace
{

// Irrlicht's MD2 animation types, in the order of their numbers.
constexpr std::array<const char*, 21> kMD2Animations = {
    "MD2_STAND",
    "MD2_RUN",
    "MD2_ATTACK",
    "MD2_PAIN_A",
    "MD2_PAIN_B",
    "MD2_PAIN_C",
    "MD2_JUMP",
    "MD2_FLIP",
    "MD2_SALUTE",
    "MD2_FALLBACK",
    "MD2_WAVE",
    "MD2_POINT",
    "MD2_CROUCH_STAND",
    "MD2_CROUCH_WALK",
    "MD2_CROUCH_ATTACK",
    "MD2_CROUCH_PAIN",
    "MD2_CROUCH_DEATH",
    "MD2_DEATH_FALLBACK",
    "MD2_DEATH_FALLFORWARD",
    "MD2_DEATH_FALLBACKSLOW",
    "MD2_BOOM",
};

// The joint modes by their texts; 0 (joints left alone) for any other.
scene::E_JOINT_UPDATE_ON_RENDER JointModeFromText(const std::string& text)
{
    if (text == "READ" || text == "read")
        return scene::EJUOR_READ;
    if (text == "WRITE" || text == "write")
        return scene::EJUOR_CONTROL;
    return scene::EJUOR_NONE;
}

// The number of frames of the node's mesh; 0 without a mesh.
u32 FrameCount(const scene::IAnimatedMeshSceneNode* node)
{
    const scene::IAnimatedMesh* mesh = const_cast<scene::IAnimatedMeshSceneNode*>(node)->getMesh();
    return mesh != nullptr ? mesh->getFrameCount() : 0;
}

// The node's relative transformation times the joint's; false when the
// node has no joint of that name.
bool JointTransformation(scene::IAnimatedMeshSceneNode* node, const std::string& joint,
                         core::matrix4& product)
{
    if (node == nullptr || joint.empty())
        return false;
    scene::IBoneSceneNode* jointNode = node->getJointNode(joint.c_str());
    if (jointNode == nullptr)
        return false;
    product = node->getRelativeTransformation() * jointNode->getRelativeTransformation();
    return true;
}

CVector Diagonal(const core::matrix4& matrix)
{
    return CVector(matrix[0], matrix[5], matrix[10]);
}

// Whether the node is the other node or hangs somewhere below it.
bool IsAtOrBelow(const scene::ISceneNode* node, const scene::ISceneNode* other)
{
    for (const scene::ISceneNode* step = node; step != nullptr; step = step->getParent())
    {
        if (step == other)
            return true;
    }
    return false;
}

} // namespace

int32_t convertMD2Animation(const std::string& name)
{
    for (size_t index = 0; index < kMD2Animations.size(); ++index)
    {
        if (name == kMD2Animations[index])
            return static_cast<int32_t>(index);
    }
    throw CKVOError::Format(L"[convertMD2Animation] Unknown MD2 animation type:%s",
                            Misc::Text::Utf8ToWide(name).c_str());
}

scene::IAnimatedMeshSceneNode* CGraphicalEntity::RequireAnimatedNode(const wchar_t* operation) const
{
    if (m_sceneNode == nullptr)
        throw CKVOError::Format(
            (L"[CGraphicalEntity::" + std::wstring(operation) + L"] Animated mesh not intialised [%s,%s]")
                .c_str(),
            GetName().c_str(), Misc::Text::Utf8ToWide(GetId()).c_str());
    if (m_sceneNode->getType() != scene::ESNT_ANIMATED_MESH)
        return nullptr;
    return static_cast<scene::IAnimatedMeshSceneNode*>(m_sceneNode);
}

void CGraphicalEntity::SetAnimationLooping(bool loop)
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"SetAnimationLooping");
    if (node == nullptr)
        return;
    node->setLoopMode(loop);
    if (!loop && m_animationCallback != nullptr)
        m_animationCallback->SetEnded(false);
}

bool CGraphicalEntity::GetAnimationLooping()
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimationLooping");
    return node != nullptr && node->getLoopMode();
}

void CGraphicalEntity::SetAnimationFrameRate(float framesPerSecond)
{
    if (scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"SetAnimationFrameRate"))
        node->setAnimationSpeed(framesPerSecond);
}

void CGraphicalEntity::SetAnimationSpeed(int32_t startFrame, int32_t endFrame)
{
    if (scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"SetAnimationSpeed"))
        node->setFrameLoop(startFrame, endFrame);
}

int32_t CGraphicalEntity::GetAnimationStartFrame()
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimationStartFrame");
    return node != nullptr && FrameCount(node) > 1 ? node->getStartFrame() : 0;
}

int32_t CGraphicalEntity::GetAnimationEndFrame()
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimationEndFrame");
    return node != nullptr ? node->getEndFrame() : 0;
}

int32_t CGraphicalEntity::GetAnimationFrameRate()
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimationFrameRate");
    if (node == nullptr || FrameCount(node) <= 1)
        return 0;
    const float speed = node->getAnimationSpeed();
    // Truncated; a speed beyond the integers (or not a number) is none.
    if (!(speed > -2147483648.0f && speed < 2147483648.0f))
        return 0;
    return static_cast<int32_t>(speed);
}

int32_t CGraphicalEntity::GetAnimationFrameCount()
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimationFrameCount");
    const u32 count = node != nullptr ? FrameCount(node) : 0;
    return count > 1 ? static_cast<int32_t>(count) : 0;
}

float CGraphicalEntity::GetAnimationFrame()
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimationFrame");
    return node != nullptr ? node->getFrameNr() : 0.0f;
}

void CGraphicalEntity::SetAnimationFrame(float frame, uint32_t transitionMilliseconds)
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"SetAnimationFrame");
    if (node == nullptr)
        return;
    node->setTransitionTime(static_cast<float>(transitionMilliseconds) / 1000.0f);
    // Irrlicht drops the joint mode to "none" when the transition time
    // becomes 0: the mode the entity chose stays.
    if (transitionMilliseconds == 0 && m_jointMode != scene::EJUOR_NONE)
        node->setJointMode(static_cast<scene::E_JOINT_UPDATE_ON_RENDER>(m_jointMode));
    node->setCurrentFrame(frame);
}

void CGraphicalEntity::SetAnimation(const std::string& name)
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"SetAnimation");
    if (node == nullptr)
        return;
    if (name.compare(0, 3, "MD2") == 0)
        node->setMD2Animation(static_cast<scene::EMD2_ANIMATION_TYPE>(convertMD2Animation(name)));
    else
        node->setMD2Animation(name.c_str());
}

std::optional<std::string> CGraphicalEntity::GetAnimatedMeshJointName(uint32_t index)
{
    scene::IAnimatedMeshSceneNode* node = RequireAnimatedNode(L"GetAnimatedMeshJointName");
    // Asked by the count first: Irrlicht logs a warning for an index past it.
    if (node == nullptr || index >= node->getJointCount())
        return std::nullopt;
    scene::IBoneSceneNode* joint = node->getJointNode(index);
    if (joint == nullptr)
        return std::nullopt;
    return std::string(joint->getName());
}

void CGraphicalEntity::GetAnimatedMeshJointPosition(const std::string& joint, CVector& position)
{
    core::matrix4 product;
    if (JointTransformation(RequireAnimatedNode(L"GetAnimatedMeshJointPosition"), joint, product))
        position = ToVector(product.getTranslation());
}

void CGraphicalEntity::GetAnimatedMeshJointRotation(const std::string& joint, CVector& rotation)
{
    core::matrix4 product;
    if (JointTransformation(RequireAnimatedNode(L"GetAnimatedMeshJointRotation"), joint, product))
        rotation = ToVector(product.getRotationDegrees());
}

void CGraphicalEntity::GetAnimatedMeshJointScale(const std::string& joint, CVector& scale)
{
    core::matrix4 product;
    if (JointTransformation(RequireAnimatedNode(L"GetAnimatedMeshJointScale"), joint, product))
        scale = Diagonal(product);
}

void CGraphicalEntity::GetAnimatedMeshJointTransformation(const std::string& joint, CVector& position,
                                                          CVector& rotation, CVector& scale)
{
    core::matrix4 product;
    if (!JointTransformation(RequireAnimatedNode(L"GetAnimatedMeshJointTransformation"), joint, product))
        return;
    position = ToVector(product.getTranslation());
    rotation = ToVector(product.getRotationDegrees());
    scale = Diagonal(product);
}

void CGraphicalEntity::SetJointMode(const std::string& mode)
{
    if (m_sceneNode == nullptr || m_sceneNode->getType() != scene::ESNT_ANIMATED_MESH)
        return;
    auto* node = static_cast<scene::IAnimatedMeshSceneNode*>(m_sceneNode);
    const scene::E_JOINT_UPDATE_ON_RENDER jointMode = JointModeFromText(mode);
    m_jointMode = jointMode;
    node->setJointMode(jointMode);
    node->animateJoints(true);
}

void CGraphicalEntity::AttachChild(CGraphicalEntity* child, const std::string& joint)
{
    const bool animated = m_sceneNode != nullptr && m_sceneNode->getType() == scene::ESNT_ANIMATED_MESH;
    if (m_sceneNode == nullptr || (!joint.empty() && !animated))
        throw CKVOError::Format(L"[CGraphicalEntity::AttachChild] Graphical entity not intialised [%s,%s]",
                                GetName().c_str(), Misc::Text::Utf8ToWide(GetId()).c_str());
    scene::ISceneNode* parent = m_sceneNode;
    if (!joint.empty())
    {
        parent = static_cast<scene::IAnimatedMeshSceneNode*>(m_sceneNode)->getJointNode(joint.c_str());
        if (parent == nullptr)
            throw CKVOError::Format(L"[CGraphicalEntity::AttachChild] Joint not found:%s",
                                    Misc::Text::Utf8ToWide(joint).c_str());
    }
    // A child without a scene node (not in the scene yet) has nothing to
    // hang: nothing changes.
    if (child != nullptr && child->GetSceneNode() == nullptr)
        return;
    // A node hung below itself would make the scene a loop that every walk
    // of the tree follows for ever.
    scene::ISceneNode* childNode = child != nullptr ? child->GetSceneNode() : nullptr;
    if (childNode == nullptr || IsAtOrBelow(parent, childNode))
        throw CKVOError::Format(L"[CGraphicalEntity::AttachChild] Invalid child entity [%s,%s]",
                                child != nullptr ? child->GetName().c_str() : L"",
                                child != nullptr ? Misc::Text::Utf8ToWide(child->GetId()).c_str() : L"");
    parent->addChild(childNode);
    // The child may now hang below a node that is no longer in the scene.
    if (Graphics::CGraphicsEngine* engine = GetEngine())
        engine->NoteSceneTreeChange();
}

bool CGraphicalEntity::GetAttachmentParent(std::string& parent)
{
    if (m_sceneNode == nullptr)
        throw CKVOError::Format(
            L"[CGraphicalEntity::GetAttachmentParent] Graphical entity not intialised [%s,%s]",
            GetName().c_str(), Misc::Text::Utf8ToWide(GetId()).c_str());
    const scene::ISceneNode* node = m_sceneNode->getParent();
    if (node == nullptr || node == m_sceneNode->getSceneManager()->getRootSceneNode())
        return false;
    parent = node->getName();
    return true;
}

} // namespace Graphics::Scene
