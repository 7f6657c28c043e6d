#include "physics/JointUpVector.h"

#include "physics/JointMath.h"
#include "physics/PhysicalEntity.h"

#include <algorithm>
#include <cmath>

using namespace JointMath;

CJointUpVector::CJointUpVector(const std::string& id, const CVector& pin, CPhysicalEntity* child)
{
    if (!createBaseJoint(id, kUpVector, 2, child, nullptr))
        return;
    SetChildPin(pin);
    Recreate();
}

void CJointUpVector::Recreate()
{
    CalculateLocalMatrices(m_child != nullptr ? m_child->GetPosition() : CVector(), m_childPin, m_childLocal,
                           m_parentLocal);
}

void CJointUpVector::SubmitConstraints()
{
    CVector normal = Cross(m_childFront, m_parentFront);
    if (IsZero(normal))
    {
        AngularRow(0.0f, m_childUp);
        Stiffen();
        AngularRow(0.0f, m_childRight);
        Stiffen();
        return;
    }
    // The fast root may come out a little above 1.
    const float sine = std::min(SquareRootFast(Dot(normal, normal)), 1.0f);
    normal = NormaliseFast(normal);
    AngularRow(std::asin(sine), normal);
    Stiffen();
    AngularRow(0.0f, Cross(normal, m_parentFront));
    Stiffen();
}
