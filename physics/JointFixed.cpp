#include "physics/JointFixed.h"

#include "physics/PhysicalEntity.h"

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
    AxisRows(m_parentPivot, true);
}
