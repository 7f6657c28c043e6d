#include "physics/JointSlider.h"

#include "physics/newton/Newton.h"

CJointSlider::CJointSlider(const std::string& id, const CVector& pivot, const CVector& pin,
                           CPhysicalEntity* child, CPhysicalEntity* parent, bool limited, float minimum,
                           float maximum, float stiffness, float springFactor, float springDamping)
{
    if (!createBaseJoint(id, kSlider, kRows, child, parent))
        return;
    SetPivot(pivot);
    SetChildPin(pin);
    if (stiffness > 0.0f)
        SetSpring(stiffness, springFactor, springDamping);
    if (limited)
        SetLimits(minimum, maximum);
    Recreate();
}

void CJointSlider::Recreate()
{
    CalculateLocalMatrices(m_pivot, m_childPin, m_childLocal, m_parentLocal);
}

void CJointSlider::BecomeSpring()
{
    m_limitsEnabled = true;
    m_type = kSpring;
}

void CJointSlider::SetSpringStiffness(float stiffness)
{
    m_springStiffness = stiffness;
    BecomeSpring();
}

void CJointSlider::SetSpringFactor(float factor)
{
    m_springFactor = factor;
    BecomeSpring();
}

void CJointSlider::SetSpringDamping(float damping)
{
    m_springDamping = damping;
    BecomeSpring();
}

void CJointSlider::SubmitConstraints()
{
    AxisRows(ProjectedParentPivot(), true);
    SlideLimitRows();
    if (m_springStiffness > 0.0f && m_springFactor > 0.0f)
    {
        // Between the two pivots: the spring rests at the length the joint
        // was made at.
        LinearRow(m_childPivot, m_parentPivot, m_childFront);
        Stiffen();
        NewtonUserJointSetRowSpringDamperAcceleration(m_joint, m_springFactor, m_springDamping);
    }
}
