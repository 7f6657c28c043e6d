#include "physics/Joint.h"

#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "physics/JointMath.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "physics/newton/Newton.h"

#include <cmath>

namespace FileVersion = Misc::Serialization::FileVersion;

using Misc::Serialization::IArchive;
using namespace JointMath;

namespace
{

// The spring stiffness a joint gets when none in (0, 1] was set.
constexpr float kDefaultStiffness = 0.9f;
// A motor with an acceleration this small is off.
constexpr float kMotorThreshold = 0.000001f;
// A value that does not read ends the read: what follows cannot be found.
void ThrowUnreadable(const char* key)
{
    throw Misc::Error::CKVOError::Format(L"[CJoint::Read] Value of %S unreadable", key);
}

NewtonWorld* WorldOf(const CPhysicalEntity* entity)
{
    CPhysicsEngine* engine = entity != nullptr ? entity->GetEngine() : nullptr;
    return engine != nullptr ? engine->GetWorld() : nullptr;
}

CVector BodyVector(const CPhysicalEntity* entity, void (*get)(const NewtonBody*, float*))
{
    if (entity == nullptr || entity->GetBody() == nullptr)
        return CVector();
    float value[3];
    get(entity->GetBody(), value);
    return CVector(value[0], value[1], value[2]);
}

} // namespace

CJoint::CJoint()
{
    SetIdentity(m_childLocal);
    SetIdentity(m_parentLocal);
}

CJoint::CJoint(const CJoint& other)
    : Misc::Serialization::ISerializable(other), m_maxRows(other.m_maxRows), m_child(other.m_child),
      m_parent(other.m_parent), m_type(other.m_type), m_id(other.m_id), m_childId(other.m_childId),
      m_parentId(other.m_parentId)
{
    SetIdentity(m_childLocal);
    SetIdentity(m_parentLocal);
    // Through the getters: the copy holds what a saved block holds, so that
    // making the kind from it again gives the same joint.
    m_pivot = other.GetPivot();
    m_childPin = other.GetChildPin();
    m_parentPin = other.GetParentPin();
    m_springStiffness = other.GetSpringStiffness();
    m_enabled = other.GetEnabled();
    m_limitsEnabled = other.GetLimitsEnabled();
    m_minLimit = other.GetMinLimit();
    m_maxLimit = other.GetMaxLimit();
    m_dirLimit = other.GetDirLimit();
    m_gearRatio = other.GetGearRatio();
    m_springFactor = other.GetSpringFactor();
    m_springDamping = other.GetSpringDamping();
    m_motorEnabled = other.GetMotorEnabled();
    m_angularAcceleration = other.GetAngularAcceleration();
    m_angularDamping = other.GetAngularDamping();
}

CJoint::~CJoint()
{
    if (m_joint == nullptr)
        return;
    // Our own destruction: the world's destructor callback must not come
    // back to this object.
    NewtonJointSetDestructor(m_joint, nullptr);
    NewtonJointSetUserData(m_joint, nullptr);
    if (NewtonWorld* world = WorldOf(m_child))
        NewtonDestroyJoint(world, m_joint);
    m_joint = nullptr;
}

bool CJoint::createBaseJoint(const std::string& id, int32_t type, uint32_t maxRows, CPhysicalEntity* child,
                             CPhysicalEntity* parent)
{
    m_id = id;
    m_type = type;
    m_maxRows = maxRows;
    m_child = child;
    m_parent = parent;
    m_childId = child != nullptr ? child->GetId() : std::string();
    m_parentId = parent != nullptr ? parent->GetId() : std::string();
    if (!(m_springStiffness > 0.0f && m_springStiffness <= 1.0f))
        m_springStiffness = kDefaultStiffness;
    if (child == nullptr)
        throw Misc::Error::CKVOError(L"[CJoint::createBaseJoint] Child Entity not defined");
    NewtonWorld* world = WorldOf(child);
    if (world == nullptr)
        throw Misc::Error::CKVOError(L"[CJoint::createBaseJoint] Physics engine not initialised");
    // A parent without a body would tie the child to the world instead.
    if (child->GetBody() == nullptr || (parent != nullptr && parent->GetBody() == nullptr))
        return false;
    m_joint =
        NewtonConstraintCreateUserJoint(world, static_cast<int>(maxRows), &CJoint::Submit, child->GetBody(),
                                        parent != nullptr ? parent->GetBody() : nullptr);
    if (m_joint == nullptr)
        return false;
    NewtonJointSetUserData(m_joint, this);
    NewtonJointSetDestructor(m_joint, &CJoint::Destroyed);
    // Jointed bodies pass through each other unless asked otherwise: the
    // joint would fight their contacts.
    SetCollidable(false);
    return true;
}

void CJoint::Submit(const NewtonJoint* joint)
{
    auto* self = static_cast<CJoint*>(NewtonJointGetUserData(joint));
    if (self == nullptr || !self->m_enabled)
        return;
    self->CalculateGlobalMatrices();
    self->SubmitConstraints();
}

void CJoint::Destroyed(const NewtonJoint* joint)
{
    auto* self = static_cast<CJoint*>(NewtonJointGetUserData(joint));
    if (self == nullptr)
        return;
    NewtonJointSetDestructor(joint, nullptr);
    NewtonJointSetUserData(joint, nullptr);
    self->m_joint = nullptr;
    // The registry lets go of the joint (and deletes it) only when its entry
    // is this very object.
    CPhysicsEngine* engine = self->m_child != nullptr ? self->m_child->GetEngine() : nullptr;
    if (engine != nullptr && engine->JointExists(self->m_id) && &engine->GetJoint(self->m_id) == self)
        engine->DestroyJoint(self->m_id);
}

void CJoint::NotImplemented(const wchar_t* message)
{
    throw Misc::Error::CKVOError(message);
}

void CJoint::Recreate()
{
    NotImplemented(L"[CJoint::Recreate] Not implemented for the joint type");
}

void CJoint::SetPivot(const CVector&)
{
    NotImplemented(L"[CJoint::SetPivot] Not implemented for the joint type");
}

void CJoint::SetChildPin(const CVector&)
{
    NotImplemented(L"[CJoint::SetChildPin] Not implemented for the joint type");
}

void CJoint::SetParentPin(const CVector&)
{
    NotImplemented(L"[CJoint::SetParentPin] Not implemented for the joint type");
}

void CJoint::SetSpringStiffness(float stiffness)
{
    m_springStiffness = stiffness < 0.0f ? 0.0f : (stiffness > 1.0f ? 1.0f : stiffness);
    // NaN is no stiffness at all.
    if (!(m_springStiffness == m_springStiffness))
        m_springStiffness = 0.0f;
}

void CJoint::SetMinLimit(float)
{
    NotImplemented(L"[CJoint::SetMinLimit] Not implemented for the joint type");
}

void CJoint::SetMaxLimit(float)
{
    NotImplemented(L"[CJoint::SetMaxLimit] Not implemented for the joint type");
}

void CJoint::SetDirLimit(const CVector&)
{
    NotImplemented(L"[CJoint::SetDirLimit] Not implemented for the joint type");
}

void CJoint::SetGearRatio(float)
{
    NotImplemented(L"[CJoint::SetGearRatio] Not implemented for the joint type");
}

void CJoint::SetSpringFactor(float)
{
    NotImplemented(L"[CJoint::SetSpringFactor] Not implemented for the joint type");
}

void CJoint::SetSpringDamping(float)
{
    NotImplemented(L"[CJoint::SetSpringDamping] Not implemented for the joint type");
}

void CJoint::SetJointMotor(float, float)
{
    NotImplemented(L"[CJoint::SetJointMotor] Not implemented for the joint type");
}

void CJoint::StoreMinLimit(float minimum)
{
    m_minLimit = minimum;
    m_limitsEnabled = true;
    if (m_maxLimit < m_minLimit)
        m_maxLimit = m_minLimit;
}

void CJoint::StoreMaxLimit(float maximum)
{
    m_maxLimit = maximum;
    m_limitsEnabled = true;
    if (m_minLimit > m_maxLimit)
        m_minLimit = m_maxLimit;
}

void CJoint::StoreMotor(float acceleration, float damping)
{
    m_angularAcceleration = acceleration;
    m_angularDamping = damping;
    m_motorEnabled = !(acceleration >= -kMotorThreshold && acceleration <= kMotorThreshold);
}

void CJoint::SetLimits(float minimum, float maximum)
{
    SetMinLimit(minimum);
    SetMaxLimit(maximum);
}

void CJoint::SetSpring(float stiffness, float factor, float damping)
{
    SetSpringStiffness(stiffness);
    SetSpringFactor(factor);
    SetSpringDamping(damping);
}

float CJoint::GetForce(uint32_t row) const
{
    if (row >= m_maxRows)
        throw Misc::Error::CKVOError(L"[CJoint::GetForce] Invalid dof");
    if (m_joint == nullptr)
        return 0.0f;
    return NewtonUserJointGetRowForce(m_joint, static_cast<int>(row));
}

void CJoint::SetCollidable(bool collidable)
{
    if (m_parent != nullptr && m_parent->GetBody() != nullptr)
        NewtonBodySetJointRecursiveCollision(m_parent->GetBody(), collidable ? 1 : 0);
    if (m_child != nullptr && m_child->GetBody() != nullptr)
        NewtonBodySetJointRecursiveCollision(m_child->GetBody(), collidable ? 1 : 0);
}

bool CJoint::IsCollidable() const
{
    if (m_parent != nullptr && m_parent->GetBody() != nullptr)
        return NewtonBodyGetJointRecursiveCollision(m_parent->GetBody()) != 0;
    if (m_child != nullptr && m_child->GetBody() != nullptr)
        return NewtonBodyGetJointRecursiveCollision(m_child->GetBody()) != 0;
    return false;
}

void CJoint::SetEntities(CPhysicalEntity* child, CPhysicalEntity* parent)
{
    m_child = child;
    m_parent = parent;
}

void CJoint::BodyMatrix(const CPhysicalEntity* entity, float* matrix)
{
    if (entity != nullptr && entity->GetBody() != nullptr)
        NewtonBodyGetMatrix(entity->GetBody(), matrix);
    else
        SetIdentity(matrix);
}

void CJoint::CalculateLocalMatrices(const CVector& pivot, const CVector& pin, float* childLocal,
                                    float* parentLocal) const
{
    const CVector front = NormaliseFast(pin);
    const CVector side =
        std::fabs(front.z) > 0.577f ? CVector(-front.y, front.z, 0.0f) : CVector(-front.y, front.x, 0.0f);
    const CVector right = NormaliseFast(Cross(front, side));
    const CVector up = Cross(right, front);
    float pinFrame[16];
    FromVector(front, pinFrame);
    FromVector(up, pinFrame + 4);
    FromVector(right, pinFrame + 8);
    FromVector(pivot, pinFrame + 12);
    pinFrame[3] = pinFrame[7] = pinFrame[11] = 0.0f;
    pinFrame[15] = 1.0f;

    float world[16];
    float inverse[16];
    BodyMatrix(m_child, world);
    InverseRigid(world, inverse);
    Multiply(pinFrame, inverse, childLocal);
    BodyMatrix(m_parent, world);
    InverseRigid(world, inverse);
    Multiply(pinFrame, inverse, parentLocal);
}

void CJoint::CalculateGlobalMatrices()
{
    float world[16];
    float global[16];
    BodyMatrix(m_child, world);
    Multiply(m_childLocal, world, global);
    m_childFront = Row(global, 0);
    m_childUp = Row(global, 1);
    m_childRight = Row(global, 2);
    m_childPivot = Row(global, 3);
    BodyMatrix(m_parent, world);
    Multiply(m_parentLocal, world, global);
    m_parentFront = Row(global, 0);
    m_parentUp = Row(global, 1);
    m_parentRight = Row(global, 2);
    m_parentPivot = Row(global, 3);
}

void CJoint::Stiffen() const
{
    NewtonUserJointSetRowStiffness(m_joint, m_springStiffness);
}

void CJoint::StiffenFully() const
{
    NewtonUserJointSetRowStiffness(m_joint, 1.0f);
}

void CJoint::LinearRow(const CVector& childPoint, const CVector& parentPoint, const CVector& direction) const
{
    float p0[3];
    float p1[3];
    float dir[3];
    FromVector(childPoint, p0);
    FromVector(parentPoint, p1);
    FromVector(direction, dir);
    NewtonUserJointAddLinearRow(m_joint, p0, p1, dir);
}

void CJoint::AngularRow(float angle, const CVector& axis) const
{
    float dir[3];
    FromVector(axis, dir);
    NewtonUserJointAddAngularRow(m_joint, angle, dir);
}

void CJoint::GeneralRow(const float* childJacobian, const float* parentJacobian) const
{
    NewtonUserJointAddGeneralRow(m_joint, childJacobian, parentJacobian);
}

void CJoint::MotorRow() const
{
    AngularRow(0.0f, m_childFront);
    const float spin = Dot(m_childFront, Subtract(ChildOmega(), ParentOmega()));
    NewtonUserJointSetRowAcceleration(m_joint, m_angularAcceleration - spin * m_angularDamping);
}

void CJoint::PivotRows() const
{
    LinearRow(m_childPivot, m_parentPivot, m_childFront);
    Stiffen();
    LinearRow(m_childPivot, m_parentPivot, m_childUp);
    Stiffen();
    LinearRow(m_childPivot, m_parentPivot, m_childRight);
    Stiffen();
}

void CJoint::AxisRows(const CVector& parentPivot, bool holdTurn) const
{
    LinearRow(m_childPivot, parentPivot, m_childUp);
    Stiffen();
    LinearRow(m_childPivot, parentPivot, m_childRight);
    Stiffen();
    const CVector childTip = Add(m_childPivot, Scale(m_childFront, kPinLength));
    const CVector parentTip = Add(parentPivot, Scale(m_parentFront, kPinLength));
    LinearRow(childTip, parentTip, m_childUp);
    Stiffen();
    LinearRow(childTip, parentTip, m_childRight);
    Stiffen();
    if (!holdTurn)
        return;
    LinearRow(Add(m_childPivot, Scale(m_childUp, kPinLength)),
              Add(parentPivot, Scale(m_parentUp, kPinLength)), m_childRight);
    Stiffen();
}

CVector CJoint::ProjectedParentPivot() const
{
    const float along = Dot(m_parentFront, Subtract(m_childPivot, m_parentPivot));
    return Add(m_parentPivot, Scale(m_parentFront, along));
}

void CJoint::SlideLimitRows() const
{
    if (!m_limitsEnabled)
        return;
    const float position = Dot(m_childFront, Subtract(m_childPivot, m_parentPivot));
    if (position < m_minLimit)
    {
        LinearRow(m_childPivot, m_childPivot, m_childFront);
        NewtonUserJointSetRowMinimumFriction(m_joint, 0.0f);
    }
    else if (position > m_maxLimit)
    {
        LinearRow(m_childPivot, m_childPivot, m_childFront);
        NewtonUserJointSetRowMaximumFriction(m_joint, 0.0f);
    }
}

float CJoint::TimeStep() const
{
    NewtonWorld* world = WorldOf(m_child);
    return world != nullptr ? NewtonGetTimeStep(world) : 0.0f;
}

CVector CJoint::ChildOmega() const
{
    return BodyVector(m_child, &NewtonBodyGetOmega);
}

CVector CJoint::ParentOmega() const
{
    return BodyVector(m_parent, &NewtonBodyGetOmega);
}

CVector CJoint::ChildVelocity() const
{
    return BodyVector(m_child, &NewtonBodyGetVelocity);
}

CVector CJoint::ParentVelocity() const
{
    return BodyVector(m_parent, &NewtonBodyGetVelocity);
}

namespace Field = Misc::Serialization::StoredField;

// Older files lack the spring and the enabled switch: the joint keeps its
// values (an older joint is always enabled).
const Misc::Serialization::SStoredField<CJoint> CJoint::kStoredFields[] = {
    Field::Text<&CJoint::m_id>("-Id"),
    Field::Signed<&CJoint::m_type>("-Type"),
    Field::Vector<&CJoint::m_pivot, &CJoint::GetPivot>("-Pivot"),
    Field::Vector<&CJoint::m_childPin, &CJoint::GetChildPin>("-PinChild"),
    Field::Vector<&CJoint::m_parentPin, &CJoint::GetParentPin>("-PinParent"),
    Field::Text<&CJoint::m_childId>("-ChildId"),
    Field::Text<&CJoint::m_parentId>("-ParentId"),
    Field::Bool<&CJoint::m_limitsEnabled, &CJoint::GetLimitsEnabled>("-LimitsEnabled"),
    Field::Float<&CJoint::m_minLimit, &CJoint::GetMinLimit>("-MinLimit"),
    Field::Float<&CJoint::m_maxLimit, &CJoint::GetMaxLimit>("-MaxLimit"),
    Field::Vector<&CJoint::m_dirLimit, &CJoint::GetDirLimit>("-Dir"),
    Field::Float<&CJoint::m_gearRatio, &CJoint::GetGearRatio>("-GearRatio"),
    Field::Bool<&CJoint::m_motorEnabled, &CJoint::GetMotorEnabled>("-MotorEnabled"),
    Field::Float<&CJoint::m_angularAcceleration, &CJoint::GetAngularAcceleration>("-AngularAcceleration"),
    Field::Float<&CJoint::m_angularDamping, &CJoint::GetAngularDamping>("-AngularDamping"),
    Field::Float<&CJoint::m_springStiffness, &CJoint::GetSpringStiffness>("-SpringStiffness",
                                                                          FileVersion::kJointSpring),
    Field::Float<&CJoint::m_springFactor, &CJoint::GetSpringFactor>("-SpringFactor",
                                                                    FileVersion::kJointSpring),
    Field::Float<&CJoint::m_springDamping, &CJoint::GetSpringDamping>("-SpringDamping",
                                                                      FileVersion::kJointSpring),
    Field::Bool<&CJoint::m_enabled>("-Enabled", FileVersion::kJointEnabled),
};

bool CJoint::Write(IArchive& archive)
{
    // An archive of an older version gets that version's layout.
    return archive.WriteString("Joint{") && archive.EndLine(+1) &&
           Misc::Serialization::WriteFieldsOfArchiveVersion(archive, *this, kStoredFields) &&
           archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

bool CJoint::Read(IArchive& archive)
{
    if (!archive.TestToken("Joint{"))
        return false;
    Misc::Serialization::ReadRequiredFields(archive, *this, kStoredFields, &ThrowUnreadable);
    archive.ExpectToken("}");
    return true;
}
