#include "physics/JointFixed.h"

#include "physics/JointMath.h"
#include "physics/PhysicalEntity.h"

using namespace JointMath;

CJointFixed::CJointFixed(const std::string& id, CPhysicalEntity* child, CPhysicalEntity* parent)
{
    if (!createBaseJoint(id, kFixed, 6, child, parent))
        return;
    m_pivot = parent != nullptr ? parent->GetPosition() : CVector();
    Recreate();
}

void CJointFixed::Recreate()
{
    CalculateLocalMatrices(m_pivot, CVector(1.0f, 0.0f, 0.0f), m_childLocal, m_parentLocal);
}

void CJointFixed::SubmitConstraints()
{
    LinearRow(m_childPivot, m_parentPivot, m_childFront);
    Stiffen();
    LinearRow(m_childPivot, m_parentPivot, m_childUp);
    Stiffen();
    LinearRow(m_childPivot, m_parentPivot, m_childRight);
    Stiffen();
    const CVector childTip = Add(m_childPivot, Scale(m_childFront, kPinLength));
    const CVector parentTip = Add(m_parentPivot, Scale(m_parentFront, kPinLength));
    LinearRow(childTip, parentTip, m_childUp);
    Stiffen();
    LinearRow(childTip, parentTip, m_childRight);
    Stiffen();
    LinearRow(Add(m_childPivot, Scale(m_childUp, kPinLength)),
              Add(m_parentPivot, Scale(m_parentUp, kPinLength)), m_childRight);
    Stiffen();
}
