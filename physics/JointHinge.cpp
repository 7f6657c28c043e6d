#include "physics/JointHinge.h"

#include "physics/JointMath.h"
#include "physics/newton/Newton.h"

#include <cmath>

using namespace JointMath;

CJointHinge::CJointHinge(const std::string& id, const CVector& pivot, const CVector& pin,
                         CPhysicalEntity* child, CPhysicalEntity* parent, bool limited, float minimum,
                         float maximum)
{
    if (!createBaseJoint(id, kHinge, 6, child, parent))
        return;
    SetPivot(pivot);
    SetChildPin(pin);
    SetDirLimit(pin);
    if (limited)
        SetLimits(minimum, maximum);
    Recreate();
}

void CJointHinge::Recreate()
{
    CalculateLocalMatrices(m_pivot, m_childPin, m_childLocal, m_parentLocal);
}

float CJointHinge::GetMinLimit() const
{
    return ToDegrees(m_minLimit);
}

float CJointHinge::GetMaxLimit() const
{
    return ToDegrees(m_maxLimit);
}

void CJointHinge::SetMinLimit(float minimum)
{
    StoreMinLimit(minimum * kRadiansPerDegree);
}

void CJointHinge::SetMaxLimit(float maximum)
{
    StoreMaxLimit(maximum * kRadiansPerDegree);
}

void CJointHinge::SetDirLimit(const CVector& direction)
{
    m_dirLimit = direction;
    m_c = std::cos(direction.x - m_childPin.x);
    m_s1 = std::sin(direction.z - m_childPin.z);
    m_s2 = std::sin(direction.y - m_childPin.y);
}

void CJointHinge::SetJointMotor(float acceleration, float damping)
{
    StoreMotor(acceleration, damping);
}

void CJointHinge::SubmitConstraints()
{
    LinearRow(m_childPivot, m_parentPivot, m_childFront);
    StiffenFully();
    LinearRow(m_childPivot, m_parentPivot, m_childUp);
    Stiffen();
    LinearRow(m_childPivot, m_parentPivot, m_childRight);
    Stiffen();

    const CVector axis =
        Add(Add(Scale(m_parentFront, m_c), Scale(m_parentRight, m_s1)), Scale(m_parentUp, m_s2));
    const CVector childTip = Add(m_childPivot, Scale(m_childFront, kPinLength));
    const CVector parentTip = Add(m_parentPivot, Scale(axis, kPinLength));
    LinearRow(childTip, parentTip, m_parentUp);
    StiffenFully();
    LinearRow(childTip, parentTip, m_parentRight);
    StiffenFully();

    if (m_motorEnabled)
    {
        MotorRow();
        return;
    }
    if (!m_limitsEnabled)
        return;
    const float angle =
        std::atan2(Dot(Cross(m_childUp, m_parentUp), m_childFront), Dot(m_childUp, m_parentUp));
    // One-sided: a limit row only pushes back into the range, so the hinge
    // swings free again once inside.
    if (angle < m_minLimit)
    {
        AngularRow(2.0f * (angle - m_minLimit), m_childFront);
        StiffenFully();
        NewtonUserJointSetRowMaximumFriction(m_joint, 0.0f);
    }
    else if (angle > m_maxLimit)
    {
        AngularRow(2.0f * (angle - m_maxLimit), m_childFront);
        StiffenFully();
        NewtonUserJointSetRowMinimumFriction(m_joint, 0.0f);
    }
}
