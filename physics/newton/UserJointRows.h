#pragma once

// A look at the rows a user joint submits, for tests of the joint kinds
// built on the layer: runs the joint's submit callback now (with the world's
// current time step) and returns the rows it added, as given.

#include "physics/newton/Newton.h"

#include <vector>

struct NewtonJointRowRecord
{
    enum class Kind
    {
        Linear,
        Angular,
        General
    };
    Kind kind = Kind::Linear;
    float pivot0[3] = {0, 0, 0};
    float pivot1[3] = {0, 0, 0};
    // A linear row's direction or an angular row's axis.
    float dir[3] = {0, 0, 0};
    float angle = 0;
    float jacobian0[6] = {0, 0, 0, 0, 0, 0};
    float jacobian1[6] = {0, 0, 0, 0, 0, 0};
    float stiffness = 0.9f;
    bool hasAcceleration = false;
    float acceleration = 0;
    float minFriction = -1e30f;
    float maxFriction = 1e30f;
    bool spring = false;
    float springK = 0;
    float springD = 0;
};

std::vector<NewtonJointRowRecord> NewtonUserJointSubmitRows(const NewtonJoint* joint);
