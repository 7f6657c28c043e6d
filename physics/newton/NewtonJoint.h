#pragma once

// A user joint: a Bullet constraint whose rows are whatever the submit
// callback adds each sub-step. getInfo1 runs the callback (once per
// sub-step) and getInfo2 hands the rows to the solver:
// - a position row (linear or angular) closes stiffness x 0.2 of its error
//   per sub-step (Baumgarte), so stiffness 1 is ERP 0.2;
// - an acceleration row aims at the current relative velocity plus a x h;
// - a spring-damper row is solved implicitly (stable for any k and d) and
//   applied as a fixed impulse, so that other forces still act on it;
// - friction bounds are forces: x h gives the solver's impulse bounds.

#include "physics/newton/Newton.h"
#include "physics/newton/UserJointRows.h"

#include <BulletDynamics/ConstraintSolver/btTypedConstraint.h>

#include <vector>

struct NewtonJoint : public btTypedConstraint
{
    // Marks our constraints among Bullet's.
    static constexpr int kUserType = 0x4E574A54;

    NewtonJoint(NewtonWorld* world, int maxRows, NewtonUserBilateralCallBack submit, NewtonBody* child,
                NewtonBody* parent);

    static NewtonJoint* FromConstraint(btTypedConstraint* constraint)
    {
        return constraint->getUserConstraintType() == kUserType ? static_cast<NewtonJoint*>(constraint)
                                                                : nullptr;
    }

    void getInfo1(btConstraintInfo1* info) override;
    void getInfo2(btConstraintInfo2* info) override;
    void setParam(int, btScalar, int) override {}
    btScalar getParam(int, int) const override { return 0; }

    // Runs the submit callback and keeps the rows it adds.
    void Submit();
    void AddLinearRow(const btVector3& pivot0, const btVector3& pivot1, const btVector3& dir);
    void AddAngularRow(btScalar angle, const btVector3& axis);
    void AddGeneralRow(const float* jacobian0, const float* jacobian1);
    // The row the settings apply to; null past the reservation.
    NewtonJointRowRecord* LastRow();
    void SetRowForce(int row, btScalar force);
    float RowForce(int row) const;
    bool Submitting() const { return m_submitting; }
    std::vector<NewtonJointRowRecord> Rows() const;

    NewtonWorld* const world;
    const int maxRows;
    NewtonUserBilateralCallBack submitCallback;
    NewtonBody* const child;
    NewtonBody* const parent;
    void* userData = nullptr;
    NewtonConstraintDestructor destructor = nullptr;
    bool dead = false;

private:
    struct Row
    {
        NewtonJointRowRecord record;
        btVector3 linear0, angular0, linear1, angular1;
        btScalar error;
    };
    bool AddRow(Row& row);

    std::vector<Row> m_rows;
    std::vector<float> m_forces;
    bool m_submitting = false;
    bool m_overflow = false;
    unsigned m_submittedStep = ~0u;
};
