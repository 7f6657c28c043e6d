#pragma once

#include "physics/Joint.h"

// Two joints that couple the motion of the two sides along their own pins
// by the gear ratio: the gear the turns about the pins, the pulley the
// slides along them. The child moves -ratio times as fast as the parent.
class CJointGearBase : public CJoint
{
public:
    void Recreate() override;
    void SetChildPin(const CVector& pin) override { m_childPin = pin; }
    void SetParentPin(const CVector& pin) override { m_parentPin = pin; }
    void SetGearRatio(float ratio) override { m_gearRatio = ratio; }

protected:
    CJointGearBase(const std::string& id, int32_t type, float ratio, const CVector& childPin,
                   const CVector& parentPin, CPhysicalEntity* child, CPhysicalEntity* parent);
    // One row over the Jacobians' part (linear 0, angular 3) and the two
    // sides' velocities along their pins.
    void CouplingRow(int part, const CVector& childMotion, const CVector& parentMotion) const;
};

class CJointGear : public CJointGearBase
{
public:
    CJointGear(const std::string& id, float ratio, const CVector& childPin, const CVector& parentPin,
               CPhysicalEntity* child, CPhysicalEntity* parent);
    void SubmitConstraints() override;
};

class CJointPulley : public CJointGearBase
{
public:
    CJointPulley(const std::string& id, float ratio, const CVector& childPin, const CVector& parentPin,
                 CPhysicalEntity* child, CPhysicalEntity* parent);
    void SubmitConstraints() override;
};
