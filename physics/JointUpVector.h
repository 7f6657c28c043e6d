#pragma once

#include "physics/Joint.h"

// An up vector: keeps the child's pin pointing the way it pointed when the
// joint was made (tied to the world); the child turns freely about it.
class CJointUpVector : public CJoint
{
public:
    CJointUpVector(const std::string& id, const CVector& pin, CPhysicalEntity* child);

    void Recreate() override;
    void SetChildPin(const CVector& pin) override { m_childPin = pin; }
    void SubmitConstraints() override;
};
