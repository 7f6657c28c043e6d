#pragma once

// A user joint: a Bullet constraint whose rows are whatever the submit
// callback adds each sub-step. getInfo1 runs the callback (once per
// sub-step) and getInfo2 hands the rows to the solver:
// - a position row (linear or angular) closes stiffness x 0.2 of its error
//   per sub-step (Baumgarte), so stiffness 1 is ERP 0.2; a linear row also
//   makes up in advance for the curve its points follow as the bodies turn;
// - an acceleration row aims at the current relative velocity plus a x h;
// - a spring-damper row is solved implicitly (stable for any k and d) and
//   applied as a fixed impulse, so that other forces still act on it;
// - friction bounds are forces: x h gives the solver's impulse bounds.
// The rows without bounds are handed to the solver as an equivalent set
// that is orthonormal in the bodies' inverse mass: the same constraint, but
// each row moves nothing the others hold, so the solver's passes meet all
// of them at once. A row far from a body's centre (a pivot at the world's
// origin, a long arm) otherwise mostly turns the body, and the passes
// never catch up with gravity. Row forces are given back per row as
// submitted.

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
    // Where on the world's list of joints it is.
    size_t slot = 0;

private:
    struct Row
    {
        NewtonJointRowRecord record;
        btVector3 linear0, angular0, linear1, angular1;
        btScalar error;
        // The relative centripetal acceleration of a linear row's points
        // along its direction.
        btScalar bend;
    };
    bool AddRow(Row& row);
    // Replaces the unbounded rows (their Jacobians and targets) by the
    // orthonormal set; keeps the mix for RowForce.
    void Orthonormalise();

    std::vector<Row> m_rows;
    // Impulses per second of each row as the solver had it.
    std::vector<float> m_forces;
    // A mixed row i of the solver's set is the sum over j of
    // m_mix[i x rows + j] x submitted row j; the others are as submitted.
    std::vector<double> m_mix;
    std::vector<bool> m_mixed;
    // The rows as the solver gets them this step, with their targets.
    std::vector<Row> m_solverRows;
    std::vector<btScalar> m_targets;
    std::vector<bool> m_unbounded;
    bool m_submitting = false;
    bool m_overflow = false;
    unsigned m_submittedStep = ~0u;
};
