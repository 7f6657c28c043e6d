#pragma once

// Contacts between a box or hull and one triangle of a mesh by clipping:
// the triangle is clipped against the face of the box that looks at it, so
// a box lying on a mesh touches it at its corners, found the same way every
// step. Bullet's own search (closest points, then the shape turned a little
// to find more) puts the points anywhere on the touching face, a different
// set each step, and a stack standing on them shakes itself apart.
//
// Contacts ahead of time (a fast body's) are where the shape's corners, or
// a round shape's nearest point, will meet the triangle's plane: always on
// the side of the triangle the shape's centre is on.
//
// Tied to Bullet 3.24's collision dispatch: keep that knowledge here.

#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>

class btCollisionDispatcher;
class btCollisionConfiguration;

class FaceClippingCreateFunc : public btCollisionAlgorithmCreateFunc
{
public:
    // Takes over the pairs of boxes, hulls and round shapes (ellipsoids,
    // stretched spheres) with triangles; other shapes keep the
    // configuration's algorithm.
    void Register(btCollisionDispatcher& dispatcher, btCollisionConfiguration& configuration);

    btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                   const btCollisionObjectWrapper* body0Wrap,
                                                   const btCollisionObjectWrapper* body1Wrap) override;

private:
    btCollisionAlgorithmCreateFunc* m_boxFallback = nullptr;
    btCollisionAlgorithmCreateFunc* m_hullFallback = nullptr;
    btCollisionAlgorithmCreateFunc* m_roundFallback = nullptr;
};
