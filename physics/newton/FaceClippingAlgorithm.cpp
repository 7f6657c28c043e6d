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

#include <algorithm>
#include <new>

namespace
{

using Result = btDiscreteCollisionDetectorInterface::Result;

// Passes points on with their depth at most the given one.
class Nearer : public Result
{
public:
    Nearer(Result& result, btScalar most) : m_result(result), m_most(most) {}

    void setShapeIdentifiersA(int partId, int index) override
    {
        m_result.setShapeIdentifiersA(partId, index);
    }
    void setShapeIdentifiersB(int partId, int index) override
    {
        m_result.setShapeIdentifiersB(partId, index);
    }
    void addContactPoint(const btVector3& normal, const btVector3& point, btScalar depth) override
    {
        m_result.addContactPoint(normal, point, std::min(depth, m_most));
    }

private:
    Result& m_result;
    btScalar m_most;
};

// Whether a point in the triangle's plane lies within it (edges included).
bool Inside(const btVertexArray& face, const btVector3& normal, const btVector3& point)
{
    for (int e = 0; e < 3; ++e)
    {
        const btVector3& from = face[e];
        const btVector3 across = (face[(e + 1) % 3] - from).cross(normal);
        if (across.dot(point - from) * across.dot(face[(e + 2) % 3] - from) < 0)
            return false;
    }
    return true;
}

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
            const btScalar gap = normal.dot(deepest - face[0]);
            const bool early = m_manifold->getContactBreakingThreshold() > gContactBreakingThreshold;
            // Beyond the threshold above the triangle's plane: apart.
            if (early && gap > gContactBreakingThreshold && gap <= threshold)
                CornersAhead(faces, hullTransform, face, normal, gap, threshold, *resultOut);
            else if (gap <= threshold)
            {
                m_clipped.resize(0);
                // Nearly touching, a turned box's face is further off than
                // its nearest corner: no point is further than the corner.
                Nearer ahead(*resultOut, std::max(gap, gContactBreakingThreshold));
                btPolyhedralContactClipping::clipFaceAgainstHull(
                    normal, faces, hullTransform, face, m_clipped, -BT_LARGE_FLOAT, threshold,
                    early ? static_cast<Result&>(ahead) : *resultOut);
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
    // Contacts ahead of time: where the corners nearest the triangle's plane
    // (as near as the nearest, give or take Bullet's own distance) would
    // meet it, within the triangle. A face's clipped outline lies where the
    // corners will not be when the shape is turned.
    static void CornersAhead(const btConvexPolyhedron& faces, const btTransform& hullTransform,
                             const btVertexArray& face, const btVector3& normal, btScalar gap,
                             btScalar threshold, btManifoldResult& result)
    {
        const btScalar most = std::min(gap + gContactBreakingThreshold, threshold);
        for (int i = 0; i < faces.m_vertices.size(); ++i)
        {
            const btVector3 corner = hullTransform * faces.m_vertices[i];
            const btScalar depth = normal.dot(corner - face[0]);
            if (depth > most)
                continue;
            const btVector3 meets = corner - normal * depth;
            if (Inside(face, normal, meets))
                result.addContactPoint(normal, meets, depth);
        }
    }

    btPersistentManifold* m_manifold;
    bool m_ownManifold = false;
    btVertexArray m_clipped;
};

// A round shape (an ellipsoid, a stretched sphere) and one triangle of a
// mesh: where its point nearest the triangle's plane, on the side its centre
// is, meets the triangle; Bullet's search where that point is beyond the
// triangle's edges. Bullet's search alone gives one point anywhere on a long
// stretched shape deep in a wall, on either side of it.
class RoundFaceAlgorithm : public btActivatingCollisionAlgorithm
{
public:
    RoundFaceAlgorithm(btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0Wrap,
                       const btCollisionObjectWrapper* body1Wrap, btCollisionAlgorithmCreateFunc& search)
        : btActivatingCollisionAlgorithm(info, body0Wrap, body1Wrap), m_manifold(info.m_manifold),
          m_search(search.CreateCollisionAlgorithm(info, body0Wrap, body1Wrap))
    {
    }

    ~RoundFaceAlgorithm() override
    {
        if (!m_search)
            return;
        m_search->~btCollisionAlgorithm();
        m_dispatcher->freeCollisionAlgorithm(m_search);
    }

    void processCollision(const btCollisionObjectWrapper* body0Wrap,
                          const btCollisionObjectWrapper* body1Wrap, const btDispatcherInfo& dispatchInfo,
                          btManifoldResult* resultOut) override
    {
        resultOut->setPersistentManifold(m_manifold);
        const auto* round = static_cast<const btConvexShape*>(body0Wrap->getCollisionShape());
        const auto* triangle = static_cast<const btTriangleShape*>(body1Wrap->getCollisionShape());
        const btTransform& roundTransform = body0Wrap->getWorldTransform();
        btVertexArray face;
        for (const btVector3& corner : triangle->m_vertices1)
            face.push_back(body1Wrap->getWorldTransform() * corner);
        btVector3 normal = (face[1] - face[0]).cross(face[2] - face[0]);
        if (normal.length2() > SIMD_EPSILON)
        {
            normal.normalize();
            if (normal.dot(roundTransform.getOrigin() - face[0]) < 0)
                normal = -normal;
            const btVector3 nearest =
                roundTransform * round->localGetSupportingVertex(-normal * roundTransform.getBasis());
            const btScalar gap = normal.dot(nearest - face[0]);
            const btVector3 meets = nearest - normal * gap;
            if (gap > m_manifold->getContactBreakingThreshold())
                return;
            if (Inside(face, normal, meets))
            {
                resultOut->addContactPoint(normal, meets, gap);
                return;
            }
        }
        if (m_search)
            m_search->processCollision(body0Wrap, body1Wrap, dispatchInfo, resultOut);
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override
    {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray&) override {}

private:
    btPersistentManifold* m_manifold;
    btCollisionAlgorithm* m_search;
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
    m_roundFallback =
        configuration.getCollisionAlgorithmCreateFunc(MULTI_SPHERE_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE);
    dispatcher.registerCollisionCreateFunc(MULTI_SPHERE_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE, this);
}

btCollisionAlgorithm*
FaceClippingCreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                 const btCollisionObjectWrapper* body0Wrap,
                                                 const btCollisionObjectWrapper* body1Wrap)
{
    const btCollisionShape* shape = body0Wrap->getCollisionShape();
    if (shape->getShapeType() == MULTI_SPHERE_SHAPE_PROXYTYPE)
    {
        // Only a mesh's triangle has a manifold to share.
        if (!info.m_manifold || body1Wrap->getCollisionShape()->getShapeType() != TRIANGLE_SHAPE_PROXYTYPE)
            return m_roundFallback->CreateCollisionAlgorithm(info, body0Wrap, body1Wrap);
        void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(RoundFaceAlgorithm));
        return new (memory) RoundFaceAlgorithm(info, body0Wrap, body1Wrap, *m_roundFallback);
    }
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
