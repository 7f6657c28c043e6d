#pragma once

#include "physics/Joint.h"

// A fixed joint: the child keeps its place and turn relative to the parent
// (or the world), about a pivot at the parent's position.
class CJointFixed : public CJoint
{
public:
    CJointFixed(const std::string& id, CPhysicalEntity* child, CPhysicalEntity* parent);

    void Recreate() override;
    void SubmitConstraints() override;
};
