#include "physics/newton/NewtonSolver.h"

#include "physics/newton/NewtonJoint.h"

#include <BulletCollision/NarrowPhaseCollision/btManifoldPoint.h>

#include <algorithm>
#include <cmath>

namespace
{

// Where a contact keeps, from one step to the next, the speed its bodies
// would have met at: a field of Bullet's contact point that the sequential
// solver leaves alone, carried along when Bullet refreshes the point.
btScalar& MeetingSpeed(btManifoldPoint& point)
{
    return point.m_prevRHS;
}

} // namespace

void NewtonSolver::convertContacts(btPersistentManifold** manifolds, int count,
                                   const btContactSolverInfo& info)
{
    const int first = m_tmpSolverContactConstraintPool.size();
    btSequentialImpulseConstraintSolver::convertContacts(manifolds, count, info);
    const btScalar h = info.m_timeStep > 0 ? info.m_timeStep : btScalar(1.0 / 60);
    const btScalar perStep = 1 / h;
    for (int i = first; i < m_tmpSolverContactConstraintPool.size(); ++i)
    {
        btSolverConstraint& row = m_tmpSolverContactConstraintPool[i];
        auto* point = static_cast<btManifoldPoint*>(row.m_originalContactPoint);
        if (point == nullptr)
            continue;
        const btSolverBody& a = m_tmpSolverBodyPool[row.m_solverBodyIdA];
        const btSolverBody& b = m_tmpSolverBodyPool[row.m_solverBodyIdB];
        // Closing speeds along the normal: before this step's forces, and
        // with them (what the solver starts from).
        const btScalar before = -(
            row.m_contactNormal1.dot(a.m_linearVelocity) + row.m_relpos1CrossNormal.dot(a.m_angularVelocity) +
            row.m_contactNormal2.dot(b.m_linearVelocity) + row.m_relpos2CrossNormal.dot(b.m_angularVelocity));
        const btVector3 pushA = a.m_originalBody ? a.m_externalForceImpulse : btVector3(0, 0, 0);
        const btVector3 turnA = a.m_originalBody ? a.m_externalTorqueImpulse : btVector3(0, 0, 0);
        const btVector3 pushB = b.m_originalBody ? b.m_externalForceImpulse : btVector3(0, 0, 0);
        const btVector3 turnB = b.m_originalBody ? b.m_externalTorqueImpulse : btVector3(0, 0, 0);
        const btScalar with =
            before - (row.m_contactNormal1.dot(pushA) + row.m_relpos1CrossNormal.dot(turnA) +
                      row.m_contactNormal2.dot(pushB) + row.m_relpos2CrossNormal.dot(turnB));
        // What the step's forces add to the closing speed.
        const btScalar pushed = with - before;
        const btScalar gap = point->getDistance() + info.m_linearSlop;
        const btScalar elasticity = point->m_combinedRestitution;
        btScalar& meeting = MeetingSpeed(*point);
        // The closing speed wanted once the solver is done (negative: apart).
        btScalar wanted = 0;
        if (gap > m_touchDistance)
        {
            // Ahead of time: close the gap at most. Meeting within the step,
            // they would meet at the speed of the middle of the step grown
            // by the forces over the rest of the gap.
            wanted = gap * perStep;
            const btScalar middle = before + pushed * btScalar(0.5);
            const btScalar speed =
                std::sqrt(std::max(btScalar(0), middle * middle + 2 * pushed * perStep * gap));
            meeting =
                elasticity > 0 && with * h > gap && speed > info.m_restitutionVelocityThreshold ? speed : 0;
        }
        else
        {
            // Touching: part at the elasticity times the speed they met at
            // (the middle of this step's, if no contact ahead of time saw
            // them coming), less what the step's forces take off it in half
            // a step, for the solver's velocity holds for the whole step.
            const btScalar speed = meeting > 0 ? meeting : before + pushed * btScalar(0.5);
            btScalar parting = 0;
            if (elasticity > 0 && speed > info.m_restitutionVelocityThreshold)
                parting = std::max(btScalar(0), elasticity * speed - pushed * btScalar(0.5));
            wanted = -parting;
            if (parting == 0 && gap > 0)
                wanted = gap * perStep;
            meeting = 0;
        }
        // Bodies sunk in a little come apart at a fifth of the depth a step
        // (what keeps a stack standing); deeper, through the split push,
        // which moves them without speed: being pushed out never throws
        // them.
        const bool shallow = gap < 0 && gap > info.m_splitImpulsePenetrationThreshold;
        if (shallow)
            wanted += gap * info.m_erp * perStep;
        row.m_rhs = (with - wanted) * row.m_jacDiagABInv;
        row.m_rhsPenetration = gap < 0 && !shallow ? -gap * info.m_erp2 * perStep * row.m_jacDiagABInv : 0;
    }
}

btScalar NewtonSolver::solveGroupCacheFriendlyFinish(btCollisionObject** bodies, int numBodies,
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
