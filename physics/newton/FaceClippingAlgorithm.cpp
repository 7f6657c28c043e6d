#include "physics/newton/FaceClippingAlgorithm.h"

#include "physics/newton/NewtonCollision.h"

#include <BulletCollision/BroadphaseCollision/btDispatcher.h>
#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionConfiguration.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btConvexPolyhedron.h>
#include <BulletCollision/CollisionShapes/btConvexShape.h>
#include <BulletCollision/CollisionShapes/btTriangleShape.h>
#include <BulletCollision/NarrowPhaseCollision/btPersistentManifold.h>
#include <BulletCollision/NarrowPhaseCollision/btPolyhedralContactClipping.h>

#include <new>

namespace
{

class FaceClippingAlgorithm : public btActivatingCollisionAlgorithm
{
public:
    FaceClippingAlgorithm(const btCollisionAlgorithmConstructionInfo& info,
                          const btCollisionObjectWrapper* body0Wrap,
                          const btCollisionObjectWrapper* body1Wrap)
        : btActivatingCollisionAlgorithm(info, body0Wrap, body1Wrap), m_manifold(info.m_manifold)
    {
    }

    ~FaceClippingAlgorithm() override
    {
        if (m_ownManifold && m_manifold)
            m_dispatcher->releaseManifold(m_manifold);
    }

    void processCollision(const btCollisionObjectWrapper* body0Wrap,
                          const btCollisionObjectWrapper* body1Wrap, const btDispatcherInfo& dispatchInfo,
                          btManifoldResult* resultOut) override
    {
        (void)dispatchInfo;
        if (!m_manifold)
        {
            m_manifold = m_dispatcher->getNewManifold(body0Wrap->getCollisionObject(),
                                                      body1Wrap->getCollisionObject());
            m_ownManifold = true;
        }
        resultOut->setPersistentManifold(m_manifold);

        const auto* hull = static_cast<const btConvexShape*>(body0Wrap->getCollisionShape());
        const btConvexPolyhedron& faces = *NewtonCollision::ClippingFacesOf(*hull);
        const auto* triangle = static_cast<const btTriangleShape*>(body1Wrap->getCollisionShape());
        const btTransform& hullTransform = body0Wrap->getWorldTransform();
        const btTransform& triangleTransform = body1Wrap->getWorldTransform();
        btVertexArray face;
        for (const btVector3& corner : triangle->m_vertices1)
            face.push_back(triangleTransform * corner);

        // Clip along the triangle's own normal, turned towards the hull:
        // the closest points' direction would tilt near the triangle's edges
        // and push a box resting across two triangles sideways.
        btVector3 normal = (face[1] - face[0]).cross(face[2] - face[0]);
        if (normal.length2() > SIMD_EPSILON)
        {
            normal.normalize();
            if (normal.dot(hullTransform.getOrigin() - face[0]) < 0)
                normal = -normal;
            const btScalar threshold =
                m_manifold->getContactBreakingThreshold() + resultOut->m_closestPointDistanceThreshold;
            const btVector3 deepest =
                hullTransform * hull->localGetSupportingVertex(-normal * hullTransform.getBasis());
            // Beyond the threshold above the triangle's plane: apart.
            if (normal.dot(deepest - face[0]) <= threshold)
            {
                m_clipped.resize(0);
                btPolyhedralContactClipping::clipFaceAgainstHull(
                    normal, faces, hullTransform, face, m_clipped, -BT_LARGE_FLOAT, threshold, *resultOut);
            }
        }
        if (m_ownManifold)
            resultOut->refreshContactPoints();
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override
    {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray& manifoldArray) override
    {
        if (m_manifold && m_ownManifold)
            manifoldArray.push_back(m_manifold);
    }

private:
    btPersistentManifold* m_manifold;
    bool m_ownManifold = false;
    btVertexArray m_clipped;
};

} // namespace

void FaceClippingCreateFunc::Register(btCollisionDispatcher& dispatcher,
                                      btCollisionConfiguration& configuration)
{
    m_boxFallback =
        configuration.getCollisionAlgorithmCreateFunc(BOX_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE);
    m_hullFallback =
        configuration.getCollisionAlgorithmCreateFunc(CONVEX_HULL_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE);
    dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE, this);
    dispatcher.registerCollisionCreateFunc(CONVEX_HULL_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE, this);
}

btCollisionAlgorithm*
FaceClippingCreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                 const btCollisionObjectWrapper* body0Wrap,
                                                 const btCollisionObjectWrapper* body1Wrap)
{
    const btCollisionShape* shape = body0Wrap->getCollisionShape();
    if (!NewtonCollision::ClippingFacesOf(*shape) ||
        body1Wrap->getCollisionShape()->getShapeType() != TRIANGLE_SHAPE_PROXYTYPE)
    {
        btCollisionAlgorithmCreateFunc* fallback =
            shape->getShapeType() == BOX_SHAPE_PROXYTYPE ? m_boxFallback : m_hullFallback;
        return fallback->CreateCollisionAlgorithm(info, body0Wrap, body1Wrap);
    }
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(FaceClippingAlgorithm));
    return new (memory) FaceClippingAlgorithm(info, body0Wrap, body1Wrap);
}
