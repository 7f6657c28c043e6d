#include "physics/newton/RowForceSolver.h"

#include "physics/newton/NewtonJoint.h"

btScalar RowForceSolver::solveGroupCacheFriendlyFinish(btCollisionObject** bodies, int numBodies,
                                                       const btContactSolverInfo& info)
{
    // The pool holds each constraint's rows together and in the order its
    // getInfo2 wrote them; each row's original pointer is its constraint.
    const btScalar perSecond = info.m_timeStep > 0 ? 1 / info.m_timeStep : 0;
    btTypedConstraint* current = nullptr;
    NewtonJoint* joint = nullptr;
    int row = 0;
    for (int i = 0; i < m_tmpSolverNonContactConstraintPool.size(); ++i)
    {
        const btSolverConstraint& solved = m_tmpSolverNonContactConstraintPool[i];
        auto* constraint = static_cast<btTypedConstraint*>(solved.m_originalContactPoint);
        if (constraint != current)
        {
            current = constraint;
            joint = constraint ? NewtonJoint::FromConstraint(constraint) : nullptr;
            row = 0;
        }
        if (joint)
            joint->SetRowForce(row++, solved.m_appliedImpulse * perSecond);
    }
    return btSequentialImpulseConstraintSolver::solveGroupCacheFriendlyFinish(bodies, numBodies, info);
}
