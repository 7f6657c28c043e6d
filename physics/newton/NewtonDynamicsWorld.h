#pragma once

// Bullet's dynamics world, with the removal of a moving body in constant
// time: Bullet looks for the body on its list of moving bodies from the
// front, which makes a world whose bodies go one by one cost the square of
// their number. Each body keeps its place on that list (movingAt), and the
// list ends up exactly as Bullet's own removal leaves it (the last body
// takes the place of the one removed). A static body, which Bullet keeps
// off the list, goes without a search too.

#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>

class NewtonDynamicsWorld : public btDiscreteDynamicsWorld
{
public:
    using btDiscreteDynamicsWorld::btDiscreteDynamicsWorld;

    void addRigidBody(btRigidBody* body) override;
    void addRigidBody(btRigidBody* body, int group, int mask) override;
    void removeRigidBody(btRigidBody* body) override;

private:
    // The place of a body that Bullet kept off the list (static when added);
    // -1 is a place not known.
    static constexpr int kNotMoving = -2;

    // Notes where the body went when Bullet put it on the list.
    void NoteMoving(btRigidBody* body, int countBefore);
};
