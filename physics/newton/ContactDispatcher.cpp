#include "physics/newton/ContactDispatcher.h"

#include <BulletCollision/BroadphaseCollision/btBroadphaseProxy.h>
#include <BulletCollision/BroadphaseCollision/btCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionConfiguration.h>
#include <BulletCollision/CollisionDispatch/btCollisionObject.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btCompoundShape.h>
#include <BulletCollision/CollisionShapes/btConcaveShape.h>
#include <BulletCollision/CollisionShapes/btTriangleCallback.h>
#include <BulletCollision/CollisionShapes/btTriangleShape.h>
#include <BulletCollision/NarrowPhaseCollision/btPersistentManifold.h>

#include <algorithm>
#include <new>

namespace
{

// Runs an algorithm (on its two shapes in the order it was found for) for a
// part of one side (a triangle, a compound's child), with the result told
// which part its points belong to.
void CollidePart(btCollisionAlgorithm& algorithm, const btCollisionObjectWrapper& first,
                 const btCollisionObjectWrapper& second, const btCollisionObjectWrapper& part,
                 const btDispatcherInfo& info, btManifoldResult& result)
{
    const bool partIsFirst = result.getBody0Internal() == part.getCollisionObject();
    const btCollisionObjectWrapper* whole = partIsFirst ? result.getBody0Wrap() : result.getBody1Wrap();
    if (partIsFirst)
    {
        result.setBody0Wrap(&part);
        result.setShapeIdentifiersA(part.m_partId, part.m_index);
    }
    else
    {
        result.setBody1Wrap(&part);
        result.setShapeIdentifiersB(part.m_partId, part.m_index);
    }
    algorithm.processCollision(&first, &second, info, &result);
    if (partIsFirst)
        result.setBody0Wrap(whole);
    else
        result.setBody1Wrap(whole);
}

void FreeAlgorithm(btDispatcher& dispatcher, btCollisionAlgorithm* algorithm)
{
    if (!algorithm)
        return;
    algorithm->~btCollisionAlgorithm();
    dispatcher.freeCollisionAlgorithm(algorithm);
}

// The manifold result, for a manifold that keeps points further apart
// than Bullet's own distance: Bullet takes a new point for an old one
// within that distance of it, which would fold a box's four corners into
// one point (and turn the box). Points are matched within Bullet's own
// distance still, and a full manifold keeps its nearest points.
class AheadResult : public btManifoldResult
{
public:
    using btManifoldResult::btManifoldResult;

    void addContactPoint(const btVector3& normal, const btVector3& pointOnB, btScalar depth) override
    {
        btPersistentManifold& manifold = *m_manifoldPtr;
        if (manifold.getContactBreakingThreshold() <= gContactBreakingThreshold)
        {
            btManifoldResult::addContactPoint(normal, pointOnB, depth);
            return;
        }
        if (depth > manifold.getContactBreakingThreshold())
            return;
        const bool swapped = manifold.getBody0() != m_body0Wrap->getCollisionObject();
        const btCollisionObject* first = (swapped ? m_body1Wrap : m_body0Wrap)->getCollisionObject();
        const btCollisionObject* second = (swapped ? m_body0Wrap : m_body1Wrap)->getCollisionObject();
        const btVector3 pointOnA = pointOnB + normal * depth;
        // In the manifold's frames, as Bullet's own result keeps them.
        btManifoldPoint point(first->getWorldTransform().invXform(pointOnA),
                              second->getWorldTransform().invXform(pointOnB), normal, depth);
        point.m_positionWorldOnA = pointOnA;
        point.m_positionWorldOnB = pointOnB;
        point.m_combinedFriction =
            calculateCombinedFriction(m_body0Wrap->getCollisionObject(), m_body1Wrap->getCollisionObject());
        point.m_combinedRestitution = calculateCombinedRestitution(m_body0Wrap->getCollisionObject(),
                                                                   m_body1Wrap->getCollisionObject());
        if ((first->getCollisionFlags() | second->getCollisionFlags()) &
            btCollisionObject::CF_HAS_FRICTION_ANCHOR)
            point.m_contactPointFlags |= BT_CONTACT_FLAG_FRICTION_ANCHOR;
        btPlaneSpace1(point.m_normalWorldOnB, point.m_lateralFrictionDir1, point.m_lateralFrictionDir2);
        point.m_partId0 = swapped ? m_partId1 : m_partId0;
        point.m_partId1 = swapped ? m_partId0 : m_partId1;
        point.m_index0 = swapped ? m_index1 : m_index0;
        point.m_index1 = swapped ? m_index0 : m_index1;
        // The same corner of A against another place of B (a far side) is
        // another contact: the nearer of the two stands.
        int nearest = -1;
        btScalar shortest = gContactBreakingThreshold * gContactBreakingThreshold;
        for (int i = 0; i < manifold.getNumContacts(); ++i)
        {
            const btScalar apart =
                (manifold.getContactPoint(i).m_localPointA - point.m_localPointA).length2();
            if (apart < shortest)
            {
                shortest = apart;
                nearest = i;
            }
        }
        if (nearest >= 0)
        {
            const btManifoldPoint& old = manifold.getContactPoint(nearest);
            if ((old.m_localPointB - point.m_localPointB).length2() <
                gContactBreakingThreshold * gContactBreakingThreshold)
            {
                manifold.replaceContactPoint(point, nearest);
                return;
            }
            if (old.getDistance() <= depth)
                return;
            manifold.removeContactPoint(nearest);
        }
        // Full: the nearest four stay. A point ahead of time on a far side
        // (a thin wall's back) would let the body close in past the near
        // side.
        if (manifold.getNumContacts() == MANIFOLD_CACHE_SIZE)
        {
            int furthest = 0;
            for (int i = 1; i < manifold.getNumContacts(); ++i)
                if (manifold.getContactPoint(i).getDistance() >
                    manifold.getContactPoint(furthest).getDistance())
                    furthest = i;
            if (manifold.getContactPoint(furthest).getDistance() <= depth)
                return;
            manifold.removeContactPoint(furthest);
        }
        manifold.addManifoldPoint(point);
    }
};

// A convex shape against a triangle mesh: each triangle near the convex
// shape (as near as its manifold keeps points) through the algorithm for
// the convex shape and one triangle, into one manifold.
class MeshAlgorithm : public btActivatingCollisionAlgorithm
{
public:
    MeshAlgorithm(const btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0Wrap,
                  const btCollisionObjectWrapper* body1Wrap, bool swapped)
        : btActivatingCollisionAlgorithm(info, body0Wrap, body1Wrap), m_swapped(swapped)
    {
        const btCollisionObjectWrapper* convex = swapped ? body1Wrap : body0Wrap;
        const btCollisionObjectWrapper* mesh = swapped ? body0Wrap : body1Wrap;
        m_manifold = m_dispatcher->getNewManifold(convex->getCollisionObject(), mesh->getCollisionObject());
    }

    ~MeshAlgorithm() override { m_dispatcher->releaseManifold(m_manifold); }

    void processCollision(const btCollisionObjectWrapper* body0Wrap,
                          const btCollisionObjectWrapper* body1Wrap, const btDispatcherInfo& info,
                          btManifoldResult* result) override
    {
        const btCollisionObjectWrapper* convex = m_swapped ? body1Wrap : body0Wrap;
        const btCollisionObjectWrapper* mesh = m_swapped ? body0Wrap : body1Wrap;
        const auto* shape = static_cast<const btConcaveShape*>(mesh->getCollisionShape());
        result->setPersistentManifold(m_manifold);
        m_manifold->setBodies(convex->getCollisionObject(), mesh->getCollisionObject());
        Triangles triangles(*m_dispatcher, m_manifold, *convex, *mesh, shape->getMargin(), info, *result);
        btVector3 low;
        btVector3 high;
        convex->getCollisionShape()->getAabb(
            mesh->getWorldTransform().inverse() * convex->getWorldTransform(), low, high);
        // Every triangle as near as the manifold keeps points.
        const btScalar extra = shape->getMargin() + m_manifold->getContactBreakingThreshold();
        const btVector3 pad(extra, extra, extra);
        shape->processAllTriangles(&triangles, low - pad, high + pad);
        result->refreshContactPoints();
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override
    {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray& manifolds) override { manifolds.push_back(m_manifold); }

private:
    class Triangles : public btTriangleCallback
    {
    public:
        Triangles(btDispatcher& dispatcher, btPersistentManifold* manifold,
                  const btCollisionObjectWrapper& convex, const btCollisionObjectWrapper& mesh,
                  btScalar margin, const btDispatcherInfo& info, btManifoldResult& result)
            : m_dispatcher(dispatcher), m_manifold(manifold), m_convex(convex), m_mesh(mesh),
              m_margin(margin), m_info(info), m_result(result)
        {
        }

        void processTriangle(btVector3* corners, int partId, int index) override
        {
            btTriangleShape triangle(corners[0], corners[1], corners[2]);
            triangle.setMargin(m_margin);
            const btCollisionObjectWrapper part(&m_mesh, &triangle, m_mesh.getCollisionObject(),
                                                m_mesh.getWorldTransform(), partId, index);
            btCollisionAlgorithm* algorithm =
                m_dispatcher.findAlgorithm(&m_convex, &part, m_manifold, BT_CONTACT_POINT_ALGORITHMS);
            if (!algorithm)
                return;
            // The algorithm takes the convex shape first, the triangle second.
            CollidePart(*algorithm, m_convex, part, part, m_info, m_result);
            FreeAlgorithm(m_dispatcher, algorithm);
        }

    private:
        btDispatcher& m_dispatcher;
        btPersistentManifold* m_manifold;
        const btCollisionObjectWrapper& m_convex;
        const btCollisionObjectWrapper& m_mesh;
        btScalar m_margin;
        const btDispatcherInfo& m_info;
        btManifoldResult& m_result;
    };

    bool m_swapped;
    btPersistentManifold* m_manifold;
};

// One of the layer's placed shapes (a compound of one child) against any
// shape: the child at its place, always (Bullet's compound skips a child
// whose box does not meet the other shape's).
class PlacedAlgorithm : public btActivatingCollisionAlgorithm
{
public:
    PlacedAlgorithm(const btCollisionAlgorithmConstructionInfo& info,
                    const btCollisionObjectWrapper* body0Wrap, const btCollisionObjectWrapper* body1Wrap,
                    bool swapped)
        : btActivatingCollisionAlgorithm(info, body0Wrap, body1Wrap), m_swapped(swapped)
    {
    }

    ~PlacedAlgorithm() override { FreeAlgorithm(*m_dispatcher, m_child); }

    void processCollision(const btCollisionObjectWrapper* body0Wrap,
                          const btCollisionObjectWrapper* body1Wrap, const btDispatcherInfo& info,
                          btManifoldResult* result) override
    {
        const btCollisionObjectWrapper* placed = m_swapped ? body1Wrap : body0Wrap;
        const btCollisionObjectWrapper* other = m_swapped ? body0Wrap : body1Wrap;
        const auto* compound = static_cast<const btCompoundShape*>(placed->getCollisionShape());
        if (compound->getNumChildShapes() != 1)
            return;
        const btCollisionShape* shape = compound->getChildShape(0);
        // A new child (the shape was changed) needs its own algorithm.
        if (shape != m_shape)
        {
            FreeAlgorithm(*m_dispatcher, m_child);
            m_child = nullptr;
            m_shape = shape;
        }
        // The wrapper keeps a reference to the transform.
        const btTransform where = placed->getWorldTransform() * compound->getChildTransform(0);
        const btCollisionObjectWrapper child(placed, shape, placed->getCollisionObject(), where, -1, 0);
        if (!m_child)
            m_child = m_dispatcher->findAlgorithm(&child, other, nullptr, BT_CONTACT_POINT_ALGORITHMS);
        if (!m_child)
            return;
        CollidePart(*m_child, child, *other, child, info, *result);
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override
    {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray& manifolds) override
    {
        if (m_child)
            m_child->getAllContactManifolds(manifolds);
    }

private:
    bool m_swapped;
    const btCollisionShape* m_shape = nullptr;
    btCollisionAlgorithm* m_child = nullptr;
};

class MeshCreateFunc : public btCollisionAlgorithmCreateFunc
{
public:
    explicit MeshCreateFunc(bool swapped) { m_swapped = swapped; }

    btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                   const btCollisionObjectWrapper* body0Wrap,
                                                   const btCollisionObjectWrapper* body1Wrap) override
    {
        void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(MeshAlgorithm));
        return new (memory) MeshAlgorithm(info, body0Wrap, body1Wrap, m_swapped);
    }
};

class PlacedCreateFunc : public btCollisionAlgorithmCreateFunc
{
public:
    PlacedCreateFunc(bool swapped, btCollisionAlgorithmCreateFunc* fallback) : m_fallback(fallback)
    {
        m_swapped = swapped;
    }

    btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                   const btCollisionObjectWrapper* body0Wrap,
                                                   const btCollisionObjectWrapper* body1Wrap) override
    {
        const btCollisionObjectWrapper* placed = m_swapped ? body1Wrap : body0Wrap;
        if (static_cast<const btCompoundShape*>(placed->getCollisionShape())->getNumChildShapes() != 1)
            return m_fallback ? m_fallback->CreateCollisionAlgorithm(info, body0Wrap, body1Wrap) : nullptr;
        void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(PlacedAlgorithm));
        return new (memory) PlacedAlgorithm(info, body0Wrap, body1Wrap, m_swapped);
    }

private:
    btCollisionAlgorithmCreateFunc* m_fallback;
};

} // namespace

ContactDispatcher::ContactDispatcher(btCollisionConfiguration* configuration)
    : btCollisionDispatcher(configuration)
{
    auto add = [this](std::unique_ptr<btCollisionAlgorithmCreateFunc> func)
    {
        m_createFuncs.push_back(std::move(func));
        return m_createFuncs.back().get();
    };
    btCollisionAlgorithmCreateFunc* mesh = add(std::make_unique<MeshCreateFunc>(false));
    btCollisionAlgorithmCreateFunc* meshFirst = add(std::make_unique<MeshCreateFunc>(true));
    for (int type = 0; type < CONCAVE_SHAPES_START_HERE; ++type)
    {
        registerCollisionCreateFunc(type, TRIANGLE_MESH_SHAPE_PROXYTYPE, mesh);
        registerCollisionCreateFunc(TRIANGLE_MESH_SHAPE_PROXYTYPE, type, meshFirst);
    }
    for (int type = 0; type < MAX_BROADPHASE_COLLISION_TYPES; ++type)
    {
        registerCollisionCreateFunc(
            COMPOUND_SHAPE_PROXYTYPE, type,
            add(std::make_unique<PlacedCreateFunc>(
                false, configuration->getCollisionAlgorithmCreateFunc(COMPOUND_SHAPE_PROXYTYPE, type))));
        if (type != COMPOUND_SHAPE_PROXYTYPE)
            registerCollisionCreateFunc(
                type, COMPOUND_SHAPE_PROXYTYPE,
                add(std::make_unique<PlacedCreateFunc>(
                    true, configuration->getCollisionAlgorithmCreateFunc(type, COMPOUND_SHAPE_PROXYTYPE))));
    }
}

ContactDispatcher::~ContactDispatcher() = default;

void ContactDispatcher::Collide(btBroadphasePair& pair, const btDispatcherInfo& info, btScalar distance)
{
    auto* objectA = static_cast<btCollisionObject*>(pair.m_pProxy0->m_clientObject);
    auto* objectB = static_cast<btCollisionObject*>(pair.m_pProxy1->m_clientObject);
    const btCollisionObjectWrapper wrapA(nullptr, objectA->getCollisionShape(), objectA,
                                         objectA->getWorldTransform(), -1, -1);
    const btCollisionObjectWrapper wrapB(nullptr, objectB->getCollisionShape(), objectB,
                                         objectB->getWorldTransform(), -1, -1);
    m_distance = std::max(distance, gContactBreakingThreshold);
    if (!pair.m_algorithm)
        pair.m_algorithm = findAlgorithm(&wrapA, &wrapB, nullptr, BT_CONTACT_POINT_ALGORITHMS);
    if (pair.m_algorithm)
    {
        // Points further apart than a manifold's distance are dropped from it.
        static thread_local btManifoldArray manifolds;
        manifolds.resize(0);
        pair.m_algorithm->getAllContactManifolds(manifolds);
        for (int i = 0; i < manifolds.size(); ++i)
            manifolds[i]->setContactBreakingThreshold(m_distance);
        AheadResult result(&wrapA, &wrapB);
        // Two spheres look only as far as this; shapes with parts (meshes,
        // compounds) must not be told, or they collide their parts into
        // points that go nowhere.
        if (objectA->getCollisionShape()->isConvex() && objectB->getCollisionShape()->isConvex())
            result.m_closestPointDistanceThreshold = m_distance - gContactBreakingThreshold;
        pair.m_algorithm->processCollision(&wrapA, &wrapB, info, &result);
    }
    m_distance = 0;
}

btPersistentManifold* ContactDispatcher::getNewManifold(const btCollisionObject* body0,
                                                        const btCollisionObject* body1)
{
    btPersistentManifold* manifold = btCollisionDispatcher::getNewManifold(body0, body1);
    if (m_distance > manifold->getContactBreakingThreshold())
        manifold->setContactBreakingThreshold(m_distance);
    return manifold;
}
