#include "physics/JointBallAndSocket.h"

#include "physics/JointMath.h"
#include "physics/PhysicalEntity.h"
#include "physics/newton/Newton.h"

#include <cmath>

using namespace JointMath;

CJointBallAndSocket::CJointBallAndSocket(const std::string& id, const CVector& pivot, CPhysicalEntity* child,
                                         CPhysicalEntity* parent, bool limited, float coneAngle,
                                         const CVector& direction)
{
    if (!createBaseJoint(id, kBallAndSocket, 5, child, parent))
        return;
    SetPivot(pivot);
    m_limitsEnabled = limited;
    if (limited)
        SetLimits(coneAngle, direction);
    Recreate();
}

void CJointBallAndSocket::Recreate()
{
    float matrix[16];
    BodyMatrix(m_child, matrix);
    // The cone's axis runs from the pivot to the child; a child sitting on
    // the pivot takes its own front axis.
    CVector pin = Subtract(Row(matrix, 3), m_pivot);
    if (IsZero(pin))
        pin = Row(matrix, 0);
    CalculateLocalMatrices(m_pivot, pin, m_childLocal, m_parentLocal);
}

float CJointBallAndSocket::GetMaxLimit() const
{
    return ToDegrees(m_maxLimit);
}

void CJointBallAndSocket::SetMaxLimit(float coneAngle)
{
    m_maxLimit = coneAngle * kRadiansPerDegree;
    m_coneCosine = std::cos(m_maxLimit);
    m_limitsEnabled = true;
}

void CJointBallAndSocket::SetDirLimit(const CVector& direction)
{
    m_dirLimit = direction;
    m_limitsEnabled = true;
}

void CJointBallAndSocket::SetLimits(float coneAngle, const CVector& direction)
{
    SetMaxLimit(coneAngle);
    SetDirLimit(direction);
}

void CJointBallAndSocket::SubmitConstraints()
{
    PivotRows();
    if (!m_limitsEnabled || !(Dot(m_childFront, m_parentFront) < m_coneCosine))
        return;
    const CVector childTip = Add(m_childPivot, Scale(m_childFront, kPinLength));
    const CVector parentTip = Add(m_parentPivot, Scale(m_parentFront, kPinLength));
    const CVector normal = NormaliseFast(Cross(m_childFront, m_parentFront));
    LinearRow(childTip, childTip, normal);
    const CVector towards = Cross(normal, m_childFront);
    LinearRow(childTip, Add(childTip, Scale(Subtract(parentTip, childTip), 0.3f)), towards);
    NewtonUserJointSetRowMinimumFriction(m_joint, 0.0f);
}
