// The joint registry: the joints the engine owns, by id, and how they are
// made again when their bodies are rebuilt or a world has been loaded.
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/world/EntityInterface.h"
#include "physics/JointBallAndSocket.h"
#include "physics/JointCorkscrew.h"
#include "physics/JointEntityLookup.h"
#include "physics/JointFixed.h"
#include "physics/JointGear.h"
#include "physics/JointHinge.h"
#include "physics/JointSlider.h"
#include "physics/JointUpVector.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"

#include <algorithm>
#include <utility>

namespace
{

void LogNotMade(const std::string& id, const std::wstring& reason)
{
    Misc::CLogger::WriteSystem(L"[CPhysicsEngine::RecreateJoints] Joint %S not recreated: %s", id.c_str(),
                               reason.c_str());
}

} // namespace

CJoint* CPhysicsEngine::RegisterJoint(std::unique_ptr<CJoint> joint)
{
    if (joint == nullptr)
        return nullptr;
    const std::string id = joint->GetId();
    DestroyJoint(id);
    CJoint* registered = joint.get();
    m_joints[id] = std::move(joint);
    IndexJoint(*registered);
    return registered;
}

CJoint* CPhysicsEngine::RegisterCreated(std::unique_ptr<CJoint> joint)
{
    if (joint == nullptr || joint->GetNewtonJoint() == nullptr)
        return nullptr;
    return RegisterJoint(std::move(joint));
}

CJoint* CPhysicsEngine::CreateJointHinge(const std::string& id, const CVector& pivot, const CVector& pin,
                                         CPhysicalEntity* child, CPhysicalEntity* parent)
{
    return RegisterCreated(
        std::make_unique<CJointHinge>(id, pivot, pin, child, parent, false, -90.0f, 90.0f));
}

CJoint* CPhysicsEngine::CreateJointHingeLimited(const std::string& id, const CVector& pivot,
                                                const CVector& pin, CPhysicalEntity* child,
                                                CPhysicalEntity* parent, float minimum, float maximum)
{
    return RegisterCreated(
        std::make_unique<CJointHinge>(id, pivot, pin, child, parent, true, minimum, maximum));
}

CJoint* CPhysicsEngine::CreateJointCorkscrew(const std::string& id, const CVector& pivot, const CVector& pin,
                                             CPhysicalEntity* child, CPhysicalEntity* parent)
{
    return RegisterCreated(
        std::make_unique<CJointCorkscrew>(id, pivot, pin, child, parent, false, -1.0f, -1.0f));
}

CJoint* CPhysicsEngine::CreateJointCorkscrewLimited(const std::string& id, const CVector& pivot,
                                                    const CVector& pin, CPhysicalEntity* child,
                                                    CPhysicalEntity* parent, float minimum, float maximum)
{
    return RegisterCreated(
        std::make_unique<CJointCorkscrew>(id, pivot, pin, child, parent, true, minimum, maximum));
}

CJoint* CPhysicsEngine::CreateJointSlider(const std::string& id, const CVector& pivot, const CVector& pin,
                                          CPhysicalEntity* child, CPhysicalEntity* parent)
{
    return RegisterCreated(
        std::make_unique<CJointSlider>(id, pivot, pin, child, parent, false, -1.0f, 1.0f, 0.0f, 0.0f, 0.0f));
}

CJoint* CPhysicsEngine::CreateJointSliderLimited(const std::string& id, const CVector& pivot,
                                                 const CVector& pin, CPhysicalEntity* child,
                                                 CPhysicalEntity* parent, float minimum, float maximum)
{
    return RegisterCreated(std::make_unique<CJointSlider>(id, pivot, pin, child, parent, true, minimum,
                                                          maximum, 0.0f, 0.0f, 0.0f));
}

CJoint* CPhysicsEngine::CreateJointSpring(const std::string& id, const CVector& pivot, const CVector& pin,
                                          CPhysicalEntity* child, CPhysicalEntity* parent, float minimum,
                                          float maximum, float stiffness, float springFactor,
                                          float springDamping)
{
    return RegisterCreated(std::make_unique<CJointSlider>(id, pivot, pin, child, parent, true, minimum,
                                                          maximum, stiffness, springFactor, springDamping));
}

CJoint* CPhysicsEngine::CreateJointBallAndSocket(const std::string& id, const CVector& pivot,
                                                 CPhysicalEntity* child, CPhysicalEntity* parent)
{
    return RegisterCreated(
        std::make_unique<CJointBallAndSocket>(id, pivot, child, parent, false, 0.0f, CVector()));
}

CJoint* CPhysicsEngine::CreateJointBallAndSocketLimited(const std::string& id, const CVector& pivot,
                                                        CPhysicalEntity* child, CPhysicalEntity* parent,
                                                        float coneAngle, const CVector& twistDirection)
{
    return RegisterCreated(
        std::make_unique<CJointBallAndSocket>(id, pivot, child, parent, true, coneAngle, twistDirection));
}

CJoint* CPhysicsEngine::CreateJointUpVector(const std::string& id, const CVector& pin, CPhysicalEntity* child)
{
    return RegisterCreated(std::make_unique<CJointUpVector>(id, pin, child));
}

CJoint* CPhysicsEngine::CreateJointPulley(const std::string& id, const CVector& childPin,
                                          const CVector& parentPin, CPhysicalEntity* child,
                                          CPhysicalEntity* parent, float ratio)
{
    return RegisterCreated(std::make_unique<CJointPulley>(id, ratio, childPin, parentPin, child, parent));
}

CJoint* CPhysicsEngine::CreateJointGear(const std::string& id, const CVector& childPin,
                                        const CVector& parentPin, CPhysicalEntity* child,
                                        CPhysicalEntity* parent, float ratio)
{
    return RegisterCreated(std::make_unique<CJointGear>(id, ratio, childPin, parentPin, child, parent));
}

CJoint* CPhysicsEngine::CreateJointFixed(const std::string& id, CPhysicalEntity* child,
                                         CPhysicalEntity* parent)
{
    return RegisterCreated(std::make_unique<CJointFixed>(id, child, parent));
}

CJoint& CPhysicsEngine::GetJoint(const std::string& id) const
{
    const auto found = m_joints.find(id);
    if (found == m_joints.end())
        throw Misc::Error::CKVOError::Format(L"[CPhysicsEngine::GetJoint] Joint id not found:%S", id.c_str());
    return *found->second;
}

bool CPhysicsEngine::JointExists(const std::string& id) const
{
    return m_joints.count(id) != 0;
}

bool CPhysicsEngine::DestroyJoint(const std::string& id)
{
    const auto found = m_joints.find(id);
    if (found == m_joints.end())
        return false;
    // Out of the map before it goes: its destruction may look the id up.
    UnindexJoint(*found->second);
    std::unique_ptr<CJoint> joint = std::move(found->second);
    m_joints.erase(found);
    joint.reset();
    return true;
}

bool CPhysicsEngine::DestroyAllJoints()
{
    m_jointsOf.clear();
    JointMap joints = std::move(m_joints);
    m_joints.clear();
    joints.clear();
    return true;
}

std::unique_ptr<CJoint> CPhysicsEngine::CreateJointFromParams(const CJoint& record)
{
    const std::string& id = record.GetId();
    if (id.empty())
        return nullptr;
    CPhysicalEntity* child = record.GetChild();
    CPhysicalEntity* parent = record.GetParent();
    const bool limited = record.GetLimitsEnabled();
    std::unique_ptr<CJoint> joint;
    switch (record.GetType())
    {
    case CJoint::kHinge:
        joint = std::make_unique<CJointHinge>(id, record.GetPivot(), record.GetChildPin(), child, parent,
                                              limited, record.GetMinLimit(), record.GetMaxLimit());
        break;
    case CJoint::kCorkscrew:
        joint = std::make_unique<CJointCorkscrew>(id, record.GetPivot(), record.GetChildPin(), child, parent,
                                                  limited, record.GetMinLimit(), record.GetMaxLimit());
        break;
    case CJoint::kSlider:
        joint = std::make_unique<CJointSlider>(id, record.GetPivot(), record.GetChildPin(), child, parent,
                                               limited, record.GetMinLimit(), record.GetMaxLimit(), 0.0f,
                                               0.0f, 0.0f);
        break;
    case CJoint::kSpring:
        joint = std::make_unique<CJointSlider>(id, record.GetPivot(), record.GetChildPin(), child, parent,
                                               true, record.GetMinLimit(), record.GetMaxLimit(),
                                               record.GetSpringStiffness(), record.GetSpringFactor(),
                                               record.GetSpringDamping());
        break;
    case CJoint::kBallAndSocket:
        joint = std::make_unique<CJointBallAndSocket>(id, record.GetPivot(), child, parent, limited,
                                                      record.GetMaxLimit(), record.GetDirLimit());
        break;
    case CJoint::kUpVector:
        joint = std::make_unique<CJointUpVector>(id, record.GetChildPin(), child);
        break;
    case CJoint::kPulley:
        joint = std::make_unique<CJointPulley>(id, record.GetGearRatio(), record.GetChildPin(),
                                               record.GetParentPin(), child, parent);
        break;
    case CJoint::kGear:
        joint = std::make_unique<CJointGear>(id, record.GetGearRatio(), record.GetChildPin(),
                                             record.GetParentPin(), child, parent);
        break;
    case CJoint::kFixed:
        joint = std::make_unique<CJointFixed>(id, child, parent);
        break;
    default:
        throw Misc::Error::CKVOError::Format(L"[CPhysicsEngine::CreateJointFromParams] Unknown joint type:%i",
                                             record.GetType());
    }
    joint->SetEnabled(record.GetEnabled());
    if (joint->GetNewtonJoint() != nullptr)
    {
        // What the constructions do not take, so that a rebuilt joint keeps
        // its motor and the stiffness it was given.
        const int32_t type = joint->GetType();
        if (record.GetMotorEnabled() && (type == CJoint::kHinge || type == CJoint::kCorkscrew))
            joint->SetJointMotor(record.GetAngularAcceleration(), record.GetAngularDamping());
        const float stiffness = record.GetSpringStiffness();
        if (type != CJoint::kSlider && type != CJoint::kSpring && stiffness > 0.0f && stiffness <= 1.0f)
            joint->SetSpringStiffness(stiffness);
    }
    return joint;
}

bool CPhysicsEngine::RecreateJoints(IJointEntityLookup& world)
{
    auto partOf = [&world](const std::string& id, CPhysicalEntity* previous)
    {
        Misc::World::IEntityInterface* entity = id.empty() ? nullptr : world.FindEntity(id);
        return entity != nullptr ? entity->GetPhysicalPart() : previous;
    };
    for (auto& entry : m_joints)
    {
        CJoint& old = *entry.second;
        CPhysicalEntity* previousChild = old.GetChild();
        CPhysicalEntity* previousParent = old.GetParent();
        old.SetEntities(partOf(old.GetChildId(), previousChild), partOf(old.GetParentId(), previousParent));
        std::unique_ptr<CJoint> made;
        std::wstring failure;
        try
        {
            made = CreateJointFromParams(old);
            if (made != nullptr && made->GetNewtonJoint() == nullptr)
                failure = L"an entity has no body";
        }
        catch (const Misc::Error::CKVOError& error)
        {
            failure = error.GetMessage();
        }
        // The old joint keeps its own entities: it may still hold a world
        // joint between them.
        old.SetEntities(previousChild, previousParent);
        if (made == nullptr || !failure.empty())
        {
            // Kept as it is (saved again with the world), and said why.
            if (!failure.empty())
                LogNotMade(entry.first, failure);
            continue;
        }
        UnindexJoint(old);
        entry.second = std::move(made);
        IndexJoint(*entry.second);
    }
    return true;
}

std::vector<std::unique_ptr<CJoint>> CPhysicsEngine::CaptureJoints(const CPhysicalEntity* entity) const
{
    std::vector<std::unique_ptr<CJoint>> captured;
    for (const CJoint* joint : JointsOf(entity))
        captured.push_back(std::make_unique<CJoint>(*joint));
    return captured;
}

void CPhysicsEngine::RestoreJoints(std::vector<std::unique_ptr<CJoint>>& captured)
{
    for (std::unique_ptr<CJoint>& copy : captured)
    {
        std::unique_ptr<CJoint> made;
        try
        {
            made = CreateJointFromParams(*copy);
        }
        catch (const Misc::Error::CKVOError& error)
        {
            LogNotMade(copy->GetId(), error.GetMessage());
            continue;
        }
        if (RegisterCreated(std::move(made)) == nullptr)
            LogNotMade(copy->GetId(), L"an entity has no body");
    }
    captured.clear();
}

void CPhysicsEngine::DestroyJointsOf(const CPhysicalEntity* entity)
{
    std::vector<std::string> ids;
    for (const CJoint* joint : JointsOf(entity))
        ids.push_back(joint->GetId());
    for (const std::string& id : ids)
        DestroyJoint(id);
}

std::vector<CJoint*> CPhysicsEngine::JointsOf(const CPhysicalEntity* entity) const
{
    std::vector<CJoint*> joints;
    if (entity == nullptr)
        return joints;
    const auto [first, end] = m_jointsOf.equal_range(entity);
    for (auto at = first; at != end; ++at)
        joints.push_back(at->second);
    std::sort(joints.begin(), joints.end(),
              [](const CJoint* a, const CJoint* b) { return a->GetId() < b->GetId(); });
    return joints;
}

void CPhysicsEngine::IndexJoint(CJoint& joint)
{
    if (joint.GetChild() != nullptr)
        m_jointsOf.emplace(joint.GetChild(), &joint);
    if (joint.GetParent() != nullptr && joint.GetParent() != joint.GetChild())
        m_jointsOf.emplace(joint.GetParent(), &joint);
}

void CPhysicsEngine::UnindexJoint(const CJoint& joint)
{
    for (const CPhysicalEntity* entity : {joint.GetChild(), joint.GetParent()})
    {
        const auto [first, end] = m_jointsOf.equal_range(entity);
        for (auto at = first; at != end; ++at)
        {
            if (at->second == &joint)
            {
                m_jointsOf.erase(at);
                break;
            }
        }
    }
}
