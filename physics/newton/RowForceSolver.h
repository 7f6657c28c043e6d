#pragma once

// Bullet's sequential-impulse solver, which also hands each user joint the
// force of each of its rows once a group is solved. It reads the solver's
// protected row pool, so it is tied to Bullet 3.24's internals: keep all
// such knowledge in this one class.

#include <BulletDynamics/ConstraintSolver/btSequentialImpulseConstraintSolver.h>

class RowForceSolver : public btSequentialImpulseConstraintSolver
{
protected:
    btScalar solveGroupCacheFriendlyFinish(btCollisionObject** bodies, int numBodies,
                                           const btContactSolverInfo& info) override;
};
