#include "physics/JointCorkscrew.h"

CJointCorkscrew::CJointCorkscrew(const std::string& id, const CVector& pivot, const CVector& pin,
                                 CPhysicalEntity* child, CPhysicalEntity* parent, bool limited, float minimum,
                                 float maximum)
{
    if (!createBaseJoint(id, kCorkscrew, 6, child, parent))
        return;
    SetPivot(pivot);
    SetChildPin(pin);
    if (limited)
        SetLimits(minimum, maximum);
    Recreate();
}

void CJointCorkscrew::Recreate()
{
    CalculateLocalMatrices(m_pivot, m_childPin, m_childLocal, m_parentLocal);
}

void CJointCorkscrew::SubmitConstraints()
{
    AxisRows(ProjectedParentPivot(), false);
    if (m_motorEnabled)
        MotorRow();
    else
        SlideLimitRows();
}
