#pragma once

#include "physics/Joint.h"

// A hinge: the child turns about the pin through the pivot. Limits are
// angles (given and read in degrees), one-sided, so the hinge swings back
// from them; a motor drives the turn (no limits then).
class CJointHinge : public CJoint
{
public:
    CJointHinge(const std::string& id, const CVector& pivot, const CVector& pin, CPhysicalEntity* child,
                CPhysicalEntity* parent, bool limited, float minimum, float maximum);

    void Recreate() override;
    void SetPivot(const CVector& pivot) override { m_pivot = pivot; }
    void SetChildPin(const CVector& pin) override { m_childPin = pin; }
    // Degrees.
    float GetMinLimit() const override;
    void SetMinLimit(float minimum) override;
    float GetMaxLimit() const override;
    void SetMaxLimit(float maximum) override;
    void SetDirLimit(const CVector& direction) override;
    void SetJointMotor(float acceleration, float damping) override;
    void SubmitConstraints() override;

private:
    // How the parent's axis is turned for the pin rows (from the direction
    // limit against the pin).
    float m_c = 1.0f;
    float m_s1 = 0.0f;
    float m_s2 = 0.0f;
};
