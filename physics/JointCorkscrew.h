#pragma once

#include "physics/Joint.h"

// A corkscrew: the child turns about and slides along the pin. Its limits
// are distances along the pin; a motor drives the turn (no limits then).
class CJointCorkscrew : public CJoint
{
public:
    CJointCorkscrew(const std::string& id, const CVector& pivot, const CVector& pin, CPhysicalEntity* child,
                    CPhysicalEntity* parent, bool limited, float minimum, float maximum);

    void Recreate() override;
    void SetPivot(const CVector& pivot) override { m_pivot = pivot; }
    void SetChildPin(const CVector& pin) override { m_childPin = pin; }
    void SetMinLimit(float minimum) override { StoreMinLimit(minimum); }
    void SetMaxLimit(float maximum) override { StoreMaxLimit(maximum); }
    void SetJointMotor(float acceleration, float damping) override { StoreMotor(acceleration, damping); }
    void SubmitConstraints() override;
};
