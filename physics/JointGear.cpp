#include "physics/JointGear.h"

#include "physics/JointMath.h"
#include "physics/newton/Newton.h"

using namespace JointMath;

CJointGearBase::CJointGearBase(const std::string& id, int32_t type, float ratio, const CVector& childPin,
                               const CVector& parentPin, CPhysicalEntity* child, CPhysicalEntity* parent)
{
    if (!createBaseJoint(id, type, 1, child, parent))
        return;
    SetChildPin(childPin);
    SetParentPin(parentPin);
    SetGearRatio(ratio);
    Recreate();
}

void CJointGearBase::Recreate()
{
    // Each side's frame from its own pin, both through the origin.
    float unused[16];
    CalculateLocalMatrices(CVector(), m_childPin, m_childLocal, unused);
    CalculateLocalMatrices(CVector(), m_parentPin, unused, m_parentLocal);
}

void CJointGearBase::CouplingRow(int part, const CVector& childMotion, const CVector& parentMotion) const
{
    float childJacobian[6] = {0, 0, 0, 0, 0, 0};
    float parentJacobian[6] = {0, 0, 0, 0, 0, 0};
    FromVector(m_childFront, childJacobian + part);
    FromVector(m_parentFront, parentJacobian + part);
    GeneralRow(childJacobian, parentJacobian);
    const float step = TimeStep();
    if (!(step > 0.0f))
        return;
    const float relative = m_gearRatio * Dot(m_parentFront, parentMotion) + Dot(m_childFront, childMotion);
    NewtonUserJointSetRowAcceleration(m_joint, -relative / step);
}

CJointGear::CJointGear(const std::string& id, float ratio, const CVector& childPin, const CVector& parentPin,
                       CPhysicalEntity* child, CPhysicalEntity* parent)
    : CJointGearBase(id, kGear, ratio, childPin, parentPin, child, parent)
{
}

void CJointGear::SubmitConstraints()
{
    CouplingRow(3, ChildOmega(), ParentOmega());
}

CJointPulley::CJointPulley(const std::string& id, float ratio, const CVector& childPin,
                           const CVector& parentPin, CPhysicalEntity* child, CPhysicalEntity* parent)
    : CJointGearBase(id, kPulley, ratio, childPin, parentPin, child, parent)
{
}

void CJointPulley::SubmitConstraints()
{
    CouplingRow(0, ChildVelocity(), ParentVelocity());
}
