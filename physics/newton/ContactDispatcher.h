#pragma once

// Bullet's dispatcher, with contacts found ahead of time: a pair whose
// bodies may close in by more than Bullet's own distance within a step is
// collided with that distance, and its contact points are kept that far
// apart, so that the solver stops the bodies where they meet instead of
// pushing them out once they have sunk into each other.
//
// Bullet's algorithms for meshes and for compounds look further only for
// closest-point queries (whose points go nowhere), so pairs with a mesh or
// with one of the layer's placed shapes (a compound of one child) get
// algorithms of our own that look as far as the pair's manifold keeps
// points.
//
// Tied to Bullet 3.24's collision dispatch (the default near callback's
// steps, the mesh and compound algorithms' use of the manifold result):
// keep that knowledge here.

#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>

#include <memory>
#include <vector>

struct btBroadphasePair;

class ContactDispatcher : public btCollisionDispatcher
{
public:
    explicit ContactDispatcher(btCollisionConfiguration* configuration);
    ~ContactDispatcher() override;

    // The narrow phase of the pair, finding and keeping points up to the
    // given distance apart (Bullet's own distance when that is further).
    void Collide(btBroadphasePair& pair, const btDispatcherInfo& info, btScalar distance);

    btPersistentManifold* getNewManifold(const btCollisionObject* body0,
                                         const btCollisionObject* body1) override;

private:
    // The distance of the pair being collided, for the manifolds its
    // algorithms make.
    btScalar m_distance = 0;
    std::vector<std::unique_ptr<btCollisionAlgorithmCreateFunc>> m_createFuncs;
};
