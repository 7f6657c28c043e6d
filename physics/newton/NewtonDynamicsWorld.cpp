#include "physics/newton/NewtonDynamicsWorld.h"

#include "physics/newton/NewtonBody.h"

void NewtonDynamicsWorld::addRigidBody(btRigidBody* body)
{
    const int before = m_nonStaticRigidBodies.size();
    btDiscreteDynamicsWorld::addRigidBody(body);
    NoteMoving(body, before);
}

void NewtonDynamicsWorld::addRigidBody(btRigidBody* body, int group, int mask)
{
    const int before = m_nonStaticRigidBodies.size();
    btDiscreteDynamicsWorld::addRigidBody(body, group, mask);
    NoteMoving(body, before);
}

void NewtonDynamicsWorld::NoteMoving(btRigidBody* body, int countBefore)
{
    NewtonBody* owner = NewtonBody::FromObject(body);
    if (owner == nullptr)
        return;
    const bool added =
        m_nonStaticRigidBodies.size() == countBefore + 1 && m_nonStaticRigidBodies[countBefore] == body;
    owner->movingAt = added ? countBefore : kNotMoving;
}

void NewtonDynamicsWorld::removeRigidBody(btRigidBody* body)
{
    NewtonBody* owner = NewtonBody::FromObject(body);
    const int at = owner != nullptr ? owner->movingAt : -1;
    // A body that was static when added never went on the list: nothing
    // to look for, however many bodies move.
    if (at == kNotMoving)
    {
        owner->movingAt = -1;
        btCollisionWorld::removeCollisionObject(body);
        return;
    }
    const int count = m_nonStaticRigidBodies.size();
    // A body whose place is not known (or no longer right) is looked for.
    if (at < 0 || at >= count || m_nonStaticRigidBodies[at] != body)
    {
        btDiscreteDynamicsWorld::removeRigidBody(body);
        if (owner != nullptr)
            owner->movingAt = -1;
        return;
    }
    btRigidBody* last = m_nonStaticRigidBodies[count - 1];
    m_nonStaticRigidBodies[at] = last;
    if (NewtonBody* moved = NewtonBody::FromObject(last))
        moved->movingAt = at;
    m_nonStaticRigidBodies.pop_back();
    owner->movingAt = -1;
    btCollisionWorld::removeCollisionObject(body);
}
