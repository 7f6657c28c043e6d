#include "physics/newton/MaterialTable.h"

#include "physics/newton/NewtonBody.h"
#include "physics/newton/NewtonJoint.h"
#include "physics/newton/NewtonWorld.h"

#include <BulletCollision/BroadphaseCollision/btBroadphaseProxy.h>
#include <BulletCollision/BroadphaseCollision/btCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/NarrowPhaseCollision/btPersistentManifold.h>
#include <LinearMath/btAabbUtil2.h>

#include <algorithm>
#include <utility>

namespace
{

// Below this sliding speed a contact holds with static friction.
constexpr btScalar kStickSpeed = 0.05f;

void Manifolds(btBroadphasePair& pair, btManifoldArray& manifolds)
{
    manifolds.resize(0);
    if (pair.m_algorithm)
        pair.m_algorithm->getAllContactManifolds(manifolds);
}

void ClearContacts(btBroadphasePair& pair)
{
    static thread_local btManifoldArray manifolds;
    Manifolds(pair, manifolds);
    for (int i = 0; i < manifolds.size(); ++i)
        manifolds[i]->clearManifold();
}

bool SharesJoint(const NewtonBody& a, const NewtonBody& b)
{
    const NewtonBody& fewer = a.joints.size() <= b.joints.size() ? a : b;
    const NewtonBody& other = &fewer == &a ? b : a;
    for (const NewtonJoint* joint : fewer.joints)
        if (!joint->dead && (joint->child == &other || joint->parent == &other))
            return true;
    return false;
}

btScalar SlidingSpeed(const btPersistentManifold& manifold, const btManifoldPoint& point)
{
    const btRigidBody* a = btRigidBody::upcast(manifold.getBody0());
    const btRigidBody* b = btRigidBody::upcast(manifold.getBody1());
    btVector3 relative(0, 0, 0);
    if (a)
        relative += a->getVelocityInLocalPoint(point.getPositionWorldOnA() - a->getCenterOfMassPosition());
    if (b)
        relative -= b->getVelocityInLocalPoint(point.getPositionWorldOnB() - b->getCenterOfMassPosition());
    relative -= point.m_normalWorldOnB * relative.dot(point.m_normalWorldOnB);
    return relative.length();
}

} // namespace

MaterialTable::MaterialTable()
{
    m_pairs.resize(1);
}

size_t MaterialTable::Index(int id0, int id1)
{
    const size_t high = static_cast<size_t>(std::max(id0, id1));
    const size_t low = static_cast<size_t>(std::min(id0, id1));
    return high * (high + 1) / 2 + low;
}

int MaterialTable::CreateGroup()
{
    if (m_groups >= kMaxGroups)
        return -1;
    const int id = m_groups++;
    m_pairs.resize(Index(id, id) + 1);
    return id;
}

void MaterialTable::DestroyAllGroups()
{
    m_groups = 1;
    m_pairs.assign(1, MaterialPair());
}

MaterialPair* MaterialTable::Pair(int id0, int id1)
{
    if (id0 < 0 || id1 < 0 || id0 >= m_groups || id1 >= m_groups)
        return nullptr;
    return &m_pairs[Index(id0, id1)];
}

const MaterialPair& MaterialTable::PairOf(int id0, int id1) const
{
    if (id0 < 0 || id0 >= m_groups)
        id0 = 0;
    if (id1 < 0 || id1 >= m_groups)
        id1 = 0;
    return m_pairs[Index(id0, id1)];
}

void MaterialTable::NearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher,
                                 const btDispatcherInfo& info)
{
    auto* objectA = static_cast<btCollisionObject*>(pair.m_pProxy0->m_clientObject);
    auto* objectB = static_cast<btCollisionObject*>(pair.m_pProxy1->m_clientObject);
    if (!dispatcher.needsCollision(objectA, objectB))
        return;
    // The broadphase drops pairs that came apart only a few at a time: a
    // pair whose boxes no longer meet is no pair (and keeps no contact).
    if (!TestAabbAgainstAabb2(pair.m_pProxy0->m_aabbMin, pair.m_pProxy0->m_aabbMax, pair.m_pProxy1->m_aabbMin,
                              pair.m_pProxy1->m_aabbMax))
    {
        ClearContacts(pair);
        return;
    }
    NewtonBody* a = NewtonBody::FromObject(objectA);
    NewtonBody* b = NewtonBody::FromObject(objectB);
    if (!a || !b)
    {
        btCollisionDispatcher::defaultNearCallback(pair, dispatcher, info);
        return;
    }
    if (a->dead || b->dead ||
        ((!a->jointRecursiveCollision || !b->jointRecursiveCollision) && SharesJoint(*a, *b)))
    {
        ClearContacts(pair);
        return;
    }
    const MaterialPair& material = a->world->materials.PairOf(a->materialGroup, b->materialGroup);
    NewtonMaterial context;
    context.pair = &material;
    context.body0 = a;
    context.body1 = b;
    if (material.begin && (material.begin(&context, a, b) == 0 || a->dead || b->dead))
    {
        // Rejected for this step: no contact may push them apart.
        ClearContacts(pair);
        return;
    }
    // Points on a shape that has since changed (a modifier's stretch) are
    // not on it any more.
    if (a->reshaped || b->reshaped)
        ClearContacts(pair);
    // As far ahead as the two may close in this step; a body that is not
    // continuous only up to half its thickness, beyond which it may sink in
    // or pass through as it always could.
    btScalar ahead = a->Travel(a->world->timeStep) + b->Travel(a->world->timeStep);
    if (!a->continuous && !b->continuous)
        ahead = std::min(ahead, std::max(a->IsDynamic() ? a->halfThickness : btScalar(0),
                                         b->IsDynamic() ? b->halfThickness : btScalar(0)));
    a->world->dispatcher.Collide(pair, info, ahead);
    static thread_local btManifoldArray manifolds;
    Manifolds(pair, manifolds);
    for (int m = 0; m < manifolds.size(); ++m)
    {
        btPersistentManifold& manifold = *manifolds[m];
        for (int i = manifold.getNumContacts() - 1; i >= 0; --i)
        {
            btManifoldPoint& point = manifold.getContactPoint(i);
            point.m_combinedFriction = SlidingSpeed(manifold, point) < kStickSpeed ? material.staticFriction
                                                                                   : material.kineticFriction;
            point.m_combinedRestitution = material.elasticity;
            if (material.process && point.getDistance() <= NewtonWorld::kTouchDistance &&
                material.process(&context) == 0)
                manifold.removeContactPoint(i);
        }
    }
    if (material.end)
        material.end(&context);
}
