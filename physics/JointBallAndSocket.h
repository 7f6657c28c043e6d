#pragma once

#include "physics/Joint.h"

// A ball and socket: the child turns freely about the pivot, optionally
// within a cone (its angle given and read in degrees) around the line from
// the pivot to the child.
class CJointBallAndSocket : public CJoint
{
public:
    CJointBallAndSocket(const std::string& id, const CVector& pivot, CPhysicalEntity* child,
                        CPhysicalEntity* parent, bool limited, float coneAngle, const CVector& direction);

    void Recreate() override;
    void SetPivot(const CVector& pivot) override { m_pivot = pivot; }
    void SetChildPin(const CVector& pin) override { m_childPin = pin; }
    // The cone angle, degrees.
    float GetMaxLimit() const override;
    void SetMaxLimit(float coneAngle) override;
    // Kept and saved; the rows do not use it.
    void SetDirLimit(const CVector& direction) override;
    // The cone angle, then the direction.
    void SetLimits(float coneAngle, const CVector& direction);
    void SubmitConstraints() override;

private:
    float m_coneCosine = 0.0f;
};
