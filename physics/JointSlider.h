#pragma once

#include "physics/Joint.h"

// A slider: the child slides along the pin without turning, within one-sided
// limits (distances along the pin). Any spring value makes it a spring
// (type 7) that holds the length the joint was made at, with its limits on.
class CJointSlider : public CJoint
{
public:
    // Seven rows: five that align, a limit and the spring.
    static constexpr uint32_t kRows = 7;

    CJointSlider(const std::string& id, const CVector& pivot, const CVector& pin, CPhysicalEntity* child,
                 CPhysicalEntity* parent, bool limited, float minimum, float maximum, float stiffness,
                 float springFactor, float springDamping);

    void Recreate() override;
    void SetPivot(const CVector& pivot) override { m_pivot = pivot; }
    void SetChildPin(const CVector& pin) override { m_childPin = pin; }
    void SetMinLimit(float minimum) override { StoreMinLimit(minimum); }
    void SetMaxLimit(float maximum) override { StoreMaxLimit(maximum); }
    // Unclamped; each makes the slider a spring.
    void SetSpringStiffness(float stiffness) override;
    void SetSpringFactor(float factor) override;
    void SetSpringDamping(float damping) override;
    void SubmitConstraints() override;

private:
    void BecomeSpring();
};
