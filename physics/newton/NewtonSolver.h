#pragma once

// Bullet's sequential-impulse solver with what the world needs on top:
// - each user joint gets the force of each of its rows once a group is
//   solved;
// - contacts bounce without gaining energy. A contact ahead of time (its
//   bodies still apart) lets them close the gap this step but no more, and
//   when they will meet within the step it remembers how fast they would
//   have met; the step after, touching, they part at the elasticity times
//   that speed. Bullet bounces at the speed of a body that has already sunk
//   into the other, or that a contact ahead of time has slowed, and pushes
//   sunk bodies out as if they had been thrown.
// It reads and writes the solver's protected pools, so it is tied to Bullet
// 3.24's internals: keep all such knowledge in this one class.

#include <BulletDynamics/ConstraintSolver/btSequentialImpulseConstraintSolver.h>

class NewtonSolver : public btSequentialImpulseConstraintSolver
{
public:
    // Bodies closer than this touch: a contact further apart is ahead of time.
    explicit NewtonSolver(btScalar touchDistance) : m_touchDistance(touchDistance) {}

protected:
    void convertContacts(btPersistentManifold** manifolds, int count,
                         const btContactSolverInfo& info) override;
    btScalar solveGroupCacheFriendlyFinish(btCollisionObject** bodies, int numBodies,
                                           const btContactSolverInfo& info) override;

private:
    btScalar m_touchDistance;
};
