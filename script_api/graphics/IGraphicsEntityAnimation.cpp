// IGraphics functions on the animated side of world entities: the animation
// played, its frames, speed and looping, the joints of skinned meshes, one
// entity hung under another or under one of its joints, and absolute
// placement. Entities are named by their ids; each function works on the
// entity's graphical part, whose operations raise the "Animated mesh not
// intialised" errors for an entity without a scene node.

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalEntity.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsFunctions.h"
#include "script_api/world/EntityArguments.h"

#include <irrlicht.h>

#include <cstdint>
#include <optional>
#include <string>

using Graphics::Scene::CGraphicalEntity;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using ScriptWorld::GraphicalPart;

namespace
{

void setEntityAnimation(LuaState*, GraphicalPart part, const std::wstring& animation, bool looping,
                        float framesPerSecond)
{
    // The animation first, so that speed and looping apply to it.
    part->SetAnimation(Misc::Text::WideToUtf8(animation));
    part->SetAnimationFrameRate(framesPerSecond);
    part->SetAnimationLooping(looping);
}

void setEntityAnimationEx(LuaState*, GraphicalPart part, int32_t startFrame, int32_t endFrame, bool looping,
                          float framesPerSecond)
{
    part->SetAnimationSpeed(startFrame, endFrame);
    part->SetAnimationFrameRate(framesPerSecond);
    part->SetAnimationLooping(looping);
}

LuaObject getEntityJointName(LuaState* state, GraphicalPart part, uint32_t index)
{
    LuaObject name;
    if (const std::optional<std::string> joint = part->GetAnimatedMeshJointName(index))
        name.Assign(state, std::string_view(*joint));
    return name;
}

// The joint queries leave their outputs alone for a joint the mesh lacks;
// a script gets the error instead of a made-up value. A node that is no
// animated mesh has no joints to ask for: the zero vectors stand.
void RequireJoint(const CGraphicalEntity& part, const std::string& joint, const wchar_t* operation)
{
    irr::scene::ISceneNode* node = part.GetSceneNode();
    if (node == nullptr || node->getType() != irr::scene::ESNT_ANIMATED_MESH)
        return;
    auto* animated = static_cast<irr::scene::IAnimatedMeshSceneNode*>(node);
    for (irr::u32 index = 0; index < animated->getJointCount(); ++index)
    {
        const irr::scene::IBoneSceneNode* bone = animated->getJointNode(index);
        if (bone != nullptr && joint == bone->getName())
            return;
    }
    throw Misc::Error::CKVOError::Format(L"[CGraphicalEntity::%s] Joint not found:%s", operation,
                                         Misc::Text::Utf8ToWide(joint).c_str());
}

CVector getEntityJointPosition(LuaState*, GraphicalPart part, const std::string& joint)
{
    CVector position;
    part->GetAnimatedMeshJointPosition(joint, position);
    RequireJoint(*part, joint, L"GetAnimatedMeshJointPosition");
    return position;
}

CVector getEntityJointRotation(LuaState*, GraphicalPart part, const std::string& joint)
{
    CVector rotation;
    part->GetAnimatedMeshJointRotation(joint, rotation);
    RequireJoint(*part, joint, L"GetAnimatedMeshJointRotation");
    return rotation;
}

CVector getEntityJointScale(LuaState*, GraphicalPart part, const std::string& joint)
{
    CVector scale(0.0f, 0.0f, 0.0f);
    part->GetAnimatedMeshJointScale(joint, scale);
    RequireJoint(*part, joint, L"GetAnimatedMeshJointScale");
    return scale;
}

LuaObject getEntityJointTransformation(LuaState* state, GraphicalPart part, const std::string& joint)
{
    CVector position;
    CVector rotation;
    CVector scale(0.0f, 0.0f, 0.0f);
    part->GetAnimatedMeshJointTransformation(joint, position, rotation, scale);
    RequireJoint(*part, joint, L"GetAnimatedMeshJointTransformation");
    LuaObject table;
    table.AssignNewTable(state, 0, 3);
    table.Set("position", CVectorScript::CreateLuaObject(state, position));
    table.Set("rotation", CVectorScript::CreateLuaObject(state, rotation));
    table.Set("scale", CVectorScript::CreateLuaObject(state, scale));
    return table;
}

// The set lives in the engine that drew the entity's node, which forgets
// the entity when the entity goes; an entity outside any scene has no
// joints to animate and joins no set.
void animateEntityJointsAuto(LuaState*, GraphicalPart part, bool on)
{
    Graphics::CGraphicsEngine* engine = part->GetEngine();
    if (engine == nullptr)
        return;
    if (on)
        engine->AddAutoAnimatedEntity(part);
    else
        engine->RemoveAutoAnimatedEntity(part);
}

// The parent is looked up before the child.
void attachToEntity(LuaState*, GraphicalPart parent, GraphicalPart child, const std::string& joint)
{
    parent->AttachChild(child, joint);
}

void removeEntityAttachment(LuaState*, GraphicalPart part)
{
    GetScriptGraphicsEngine().RemoveChild(part->GetSceneNode());
}

LuaObject getEntityAttachment(LuaState* state, GraphicalPart part)
{
    LuaObject result;
    std::string parent;
    if (part->GetAttachmentParent(parent))
        result.Assign(state, std::string_view(parent));
    return result;
}

CVector getEntityAbsolutePosition(LuaState*, GraphicalPart part)
{
    CVector position;
    part->GetAbsolutePosition(position);
    return position;
}

CVector getEntityAbsoluteRotation(LuaState*, GraphicalPart part)
{
    CVector rotation;
    part->GetAbsoluteRotation(rotation);
    return rotation;
}

CVector getEntityAbsoluteScale(LuaState*, GraphicalPart part)
{
    CVector scale;
    part->GetAbsoluteScale(scale);
    return scale;
}

} // namespace

void RegisterIGraphicsEntityAnimation(CScriptMetaTable& table)
{
    table.RegisterHelper("setEntityAnimation", &setEntityAnimation);
    table.RegisterHelper("setEntityAnimationEx", &setEntityAnimationEx);
    table.RegisterMethod<GraphicalPart>("setEntityAnimationSpeed", &CGraphicalEntity::SetAnimationFrameRate);
    table.RegisterMethod<GraphicalPart>("setEntityAnimationLooping", &CGraphicalEntity::SetAnimationLooping);
    table.RegisterMethod<GraphicalPart>("setEntityAnimationFrames", &CGraphicalEntity::SetAnimationSpeed);
    table.RegisterMethod<GraphicalPart>("getEntityAnimationStartFrame",
                                        &CGraphicalEntity::GetAnimationStartFrame);
    table.RegisterMethod<GraphicalPart>("getEntityAnimationEndFrame",
                                        &CGraphicalEntity::GetAnimationEndFrame);
    table.RegisterMethod<GraphicalPart>("getEntityAnimationFrameCount",
                                        &CGraphicalEntity::GetAnimationFrameCount);
    table.RegisterMethod<GraphicalPart>("getEntityAnimationFrameRate",
                                        &CGraphicalEntity::GetAnimationFrameRate);
    table.RegisterMethod<GraphicalPart>("getEntityAnimationLooping", &CGraphicalEntity::GetAnimationLooping);
    table.RegisterMethod<GraphicalPart>("getEntityAnimationFrame", &CGraphicalEntity::GetAnimationFrame);
    table.RegisterMethod<GraphicalPart>("setEntityAnimationFrame", &CGraphicalEntity::SetAnimationFrame);
    table.RegisterMethod<GraphicalPart>("isAnimationComplete", &CGraphicalEntity::HasAnimationEnded);

    table.RegisterHelper("getEntityJointName", &getEntityJointName);
    table.RegisterHelper("getEntityJointPosition", &getEntityJointPosition);
    table.RegisterHelper("getEntityJointRotation", &getEntityJointRotation);
    table.RegisterHelper("getEntityJointScale", &getEntityJointScale);
    table.RegisterHelper("getEntityJointTransformation", &getEntityJointTransformation);
    table.RegisterMethod<GraphicalPart>("setEntityJointMode", &CGraphicalEntity::SetJointMode);
    table.RegisterMethod<GraphicalPart>("animateEntityJoints", &CGraphicalEntity::AnimateJoints);
    table.RegisterHelper("animateEntityJointsAuto", &animateEntityJointsAuto);

    table.RegisterHelper("attachToEntity", &attachToEntity);
    table.RegisterHelper("removeEntityAttachment", &removeEntityAttachment);
    table.RegisterHelper("getEntityAttachment", &getEntityAttachment);
    table.RegisterHelper("getEntityAbsolutePosition", &getEntityAbsolutePosition);
    table.RegisterHelper("getEntityAbsoluteRotation", &getEntityAbsoluteRotation);
    table.RegisterHelper("getEntityAbsoluteScale", &getEntityAbsoluteScale);
}
