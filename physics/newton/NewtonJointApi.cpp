// User-joint entry points of the interface.
#include "physics/newton/NewtonHandles.h"
#include "physics/newton/UserJointRows.h"
#include "physics/newton/NewtonMath.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kMaxRows = 64;

NewtonJoint* Mutable(const NewtonJoint* joint)
{
    return const_cast<NewtonJoint*>(joint);
}

NewtonJointRowRecord* LastRow(const NewtonJoint* joint)
{
    return joint ? Mutable(joint)->LastRow() : nullptr;
}

} // namespace

NewtonJoint* NewtonConstraintCreateUserJoint(const NewtonWorld* world, int maxDOF,
                                             NewtonUserBilateralCallBack submitConstraints,
                                             const NewtonBody* childBody, const NewtonBody* parentBody)
{
    if (!world || !childBody || childBody->world != world || childBody->dead || maxDOF < 1 ||
        maxDOF > kMaxRows || childBody == parentBody ||
        (parentBody && (parentBody->world != world || parentBody->dead)))
        return nullptr;
    return Mutable(world)->CreateJoint(maxDOF, submitConstraints, Mutable(childBody), Mutable(parentBody));
}

void NewtonJointSetUserData(const NewtonJoint* joint, void* userData)
{
    if (joint && !joint->dead)
        Mutable(joint)->userData = userData;
}

void* NewtonJointGetUserData(const NewtonJoint* joint)
{
    return joint ? joint->userData : nullptr;
}

void NewtonJointSetDestructor(const NewtonJoint* joint, NewtonConstraintDestructor destructor)
{
    if (joint && !joint->dead)
        Mutable(joint)->destructor = destructor;
}

void NewtonDestroyJoint(const NewtonWorld* world, const NewtonJoint* joint)
{
    if (world && joint && joint->world == world)
        Mutable(world)->DestroyJoint(Mutable(joint));
}

void NewtonUserJointAddLinearRow(const NewtonJoint* joint, const float* pivot0, const float* pivot1,
                                 const float* dir)
{
    if (joint && pivot0 && pivot1 && dir)
        Mutable(joint)->AddLinearRow(NewtonMath::ToVector(pivot0), NewtonMath::ToVector(pivot1),
                                     NewtonMath::ToVector(dir));
}

void NewtonUserJointAddAngularRow(const NewtonJoint* joint, float relativeAngle, const float* dir)
{
    if (joint && dir)
        Mutable(joint)->AddAngularRow(relativeAngle, NewtonMath::ToVector(dir));
}

void NewtonUserJointAddGeneralRow(const NewtonJoint* joint, const float* jacobian0, const float* jacobian1)
{
    if (joint && jacobian0 && jacobian1)
        Mutable(joint)->AddGeneralRow(jacobian0, jacobian1);
}

void NewtonUserJointSetRowStiffness(const NewtonJoint* joint, float stiffness)
{
    if (NewtonJointRowRecord* row = LastRow(joint))
        row->stiffness = NewtonMath::Clamp(stiffness, 0, 1, row->stiffness);
}

void NewtonUserJointSetRowAcceleration(const NewtonJoint* joint, float acceleration)
{
    NewtonJointRowRecord* row = LastRow(joint);
    if (!row || !std::isfinite(acceleration))
        return;
    row->hasAcceleration = true;
    row->acceleration = acceleration;
}

void NewtonUserJointSetRowMinimumFriction(const NewtonJoint* joint, float friction)
{
    if (NewtonJointRowRecord* row = LastRow(joint))
        row->minFriction = NewtonMath::Clamp(friction, -1e30f, 0, row->minFriction);
}

void NewtonUserJointSetRowMaximumFriction(const NewtonJoint* joint, float friction)
{
    if (NewtonJointRowRecord* row = LastRow(joint))
        row->maxFriction = NewtonMath::Clamp(friction, 0, 1e30f, row->maxFriction);
}

void NewtonUserJointSetRowSpringDamperAcceleration(const NewtonJoint* joint, float springK, float springD)
{
    NewtonJointRowRecord* row = LastRow(joint);
    if (!row || !std::isfinite(springK) || !std::isfinite(springD))
        return;
    row->spring = true;
    row->springK = std::max(springK, 0.0f);
    row->springD = std::max(springD, 0.0f);
}

float NewtonUserJointGetRowForce(const NewtonJoint* joint, int row)
{
    return joint ? joint->RowForce(row) : 0.0f;
}

std::vector<NewtonJointRowRecord> NewtonUserJointSubmitRows(const NewtonJoint* joint)
{
    std::vector<NewtonJointRowRecord> rows;
    if (!joint || joint->dead)
        return rows;
    NewtonJoint* target = Mutable(joint);
    target->Submit();
    rows = target->Rows();
    target->world->FreeIfIdle();
    return rows;
}
