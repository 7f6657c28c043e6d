#include "physics/newton/NewtonWorld.h"

#include "physics/newton/NewtonBody.h"
#include "physics/newton/NewtonCollision.h"
#include "physics/newton/NewtonMath.h"

#include <BulletCollision/CollisionShapes/btCompoundShape.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{

class RayCallback : public btCollisionWorld::RayResultCallback
{
public:
    RayCallback(NewtonWorldRayFilterCallback filter, void* userData,
                NewtonWorldRayPrefilterCallback prefilter)
        : m_filter(filter), m_userData(userData), m_prefilter(prefilter)
    {
    }

    bool needsCollision(btBroadphaseProxy* proxy) const override
    {
        // A dead body's proxy is in no group: only the pre-filter needs the
        // body itself.
        if (!RayResultCallback::needsCollision(proxy))
            return false;
        if (!m_prefilter)
            return true;
        const NewtonBody* body =
            NewtonBody::FromObject(static_cast<btCollisionObject*>(proxy->m_clientObject));
        return body && !body->dead && m_prefilter(body, body->collision, m_userData) != 0;
    }

    btScalar addSingleResult(btCollisionWorld::LocalRayResult& result, bool normalInWorldSpace) override
    {
        const NewtonBody* body = NewtonBody::FromObject(result.m_collisionObject);
        btVector3 normal = normalInWorldSpace ? result.m_hitNormalLocal
                                              : result.m_collisionObject->getWorldTransform().getBasis() *
                                                    result.m_hitNormalLocal;
        if (normal.length2() > 0)
            normal.normalize();
        int collisionId = 0;
        if (result.m_localShapeInfo)
            collisionId = body->collision->CollisionId(result.m_localShapeInfo->m_triangleIndex);
        float clip = result.m_hitFraction;
        if (m_filter && !body->dead)
        {
            float n[3];
            NewtonMath::FromVector(normal, n);
            clip = m_filter(body, n, collisionId, m_userData, result.m_hitFraction);
        }
        // Only nearer hits are reported from now on.
        clip = NewtonMath::Clamp(clip, 0, 1, 0);
        m_closestHitFraction = clip;
        m_collisionObject = result.m_collisionObject;
        return clip;
    }

private:
    NewtonWorldRayFilterCallback m_filter;
    void* m_userData;
    NewtonWorldRayPrefilterCallback m_prefilter;
};

// Counts a ray cast while it runs.
class RunningRay
{
public:
    explicit RunningRay(int& running) : m_running(running) { ++m_running; }
    ~RunningRay() { --m_running; }
    RunningRay(const RunningRay&) = delete;
    RunningRay& operator=(const RunningRay&) = delete;

private:
    int& m_running;
};

using NodeStacks = btAlignedObjectArray<btAlignedObjectArray<const btDbvtNode*>>;

// Puts the broadphase's walking stacks back as they were, each in place:
// the ray being walked holds a reference to its own.
class RestoredStacks
{
public:
    RestoredStacks(NodeStacks& stacks, const NodeStacks& saved) : m_stacks(stacks), m_saved(saved) {}
    ~RestoredStacks()
    {
        for (int i = 0; i < m_saved.size() && i < m_stacks.size(); ++i)
            m_stacks[i] = m_saved[i];
    }
    RestoredStacks(const RestoredStacks&) = delete;
    RestoredStacks& operator=(const RestoredStacks&) = delete;

private:
    NodeStacks& m_stacks;
    const NodeStacks& m_saved;
};

class BoxCallback : public btBroadphaseAabbCallback
{
public:
    BoxCallback(const btVector3& low, const btVector3& high) : m_low(low), m_high(high) {}

    bool process(const btBroadphaseProxy* proxy) override
    {
        NewtonBody* body = NewtonBody::FromObject(static_cast<btCollisionObject*>(proxy->m_clientObject));
        if (!body || body->dead)
            return true;
        // The broadphase boxes are padded; test the shape's own box.
        btVector3 low;
        btVector3 high;
        body->rigid->getAabb(low, high);
        if (TestAabbAgainstAabb2(low, high, m_low, m_high))
            found.push_back(body);
        return true;
    }

    std::vector<NewtonBody*> found;

private:
    btVector3 m_low;
    btVector3 m_high;
};

class CollideCallback : public btCollisionWorld::ContactResultCallback
{
public:
    CollideCallback(int maxSize, float* contacts, float* normals, float* penetration)
        : m_maxSize(maxSize), m_contacts(contacts), m_normals(normals), m_penetration(penetration)
    {
    }

    btScalar addSingleResult(btManifoldPoint& point, const btCollisionObjectWrapper*, int, int,
                             const btCollisionObjectWrapper*, int, int) override
    {
        if (count >= m_maxSize || point.getDistance() > NewtonWorld::kTouchDistance)
            return 0;
        const btVector3 where = (point.getPositionWorldOnA() + point.getPositionWorldOnB()) * btScalar(0.5);
        if (m_contacts)
            NewtonMath::FromVector(where, m_contacts + 3 * count);
        if (m_normals)
            NewtonMath::FromVector(point.m_normalWorldOnB, m_normals + 3 * count);
        if (m_penetration)
            m_penetration[count] = std::max(btScalar(0), -point.getDistance());
        ++count;
        return 0;
    }

    int count = 0;

private:
    int m_maxSize;
    float* m_contacts;
    float* m_normals;
    float* m_penetration;
};

// A stand-alone object for a collision placed at a matrix, for queries.
struct FreeObject
{
    FreeObject(const NewtonCollision& collision, const btTransform& matrix)
    {
        btCollisionShape* shape = collision.Primitive();
        btTransform transform = matrix * collision.Placement();
        if (!NewtonMath::IsIdentity(collision.Placement()))
        {
            compound = std::make_unique<btCompoundShape>(false, 1);
            compound->addChildShape(collision.Placement(), shape);
            shape = compound.get();
            transform = matrix;
        }
        object.setCollisionShape(shape);
        object.setWorldTransform(transform);
    }
    std::unique_ptr<btCompoundShape> compound;
    btCollisionObject object;
};

} // namespace

NewtonWorld::NewtonWorld()
    : dispatcher(&configuration), dynamics(&dispatcher, &broadphase, &solver, &configuration)
{
    // One contact point per box landing makes it slide and spin.
    configuration.setConvexConvexMultipointIterations(3, 3);
    // Boxes and hulls meet mesh triangles by clipping (see there).
    faceClipping.Register(dispatcher, configuration);
    dynamics.setGravity(btVector3(0, 0, 0));
    dispatcher.setNearCallback(MaterialTable::NearCallback);
    SetSolverModel(0);
}

NewtonWorld::~NewtonWorld()
{
    // Joint destructors may still look at their bodies.
    ++holdFrees;
    const std::vector<NewtonJoint*> all(joints.begin(), joints.end());
    for (NewtonJoint* joint : all)
        DestroyJoint(joint);
    --holdFrees;
    updating = false;
    RemoveDead();
    // Nothing is placed any more: the bodies need not look for themselves.
    for (NewtonBody* body : unplaced)
        if (body != nullptr)
            body->waiting = false;
    unplaced.clear();
    bodies.clear();
    for (NewtonCollision* collision : collisions)
        delete collision;
    collisions.clear();
    idle.clear();
}

void NewtonWorld::SetSolverModel(int model)
{
    int iterations = 20;
    if (model == 1)
        iterations = 10;
    else if (model > 1)
        iterations = std::min(model, 100);
    dynamics.getSolverInfo().m_numIterations = iterations;
}

void NewtonWorld::SetMinimumFrameRate(float frameRate)
{
    if (std::isnan(frameRate))
        return;
    minimumFrameRate = NewtonMath::Clamp(frameRate, 10, 1000, 60);
}

NewtonBody* NewtonWorld::CreateBody(NewtonCollision* collision)
{
    return bodies.Add(std::make_unique<NewtonBody>(this, collision));
}

void NewtonWorld::DestroyBody(NewtonBody* body)
{
    if (body->dead)
        return;
    // A copy: each destruction takes the joint off the body's list. Nothing
    // is freed until the loop is done, whatever the destructors destroy.
    const std::vector<NewtonJoint*> attached = body->joints;
    ++holdFrees;
    for (NewtonJoint* joint : attached)
        DestroyJoint(joint);
    --holdFrees;
    body->dead = true;
    deadBodies.push_back(body);
    ++deadCount;
    // Out of every query and pair at once, without a look at the body: its
    // proxy belongs to no group any more.
    if (btBroadphaseProxy* proxy = body->rigid->getBroadphaseHandle())
        proxy->m_collisionFilterGroup = 0;
    body->userData = nullptr;
    body->transformCallback = nullptr;
    body->forceCallback = nullptr;
    body->activationCallback = nullptr;
    FreeIfIdle();
}

void NewtonWorld::FreeIfIdle()
{
    if (!updating && holdFrees == 0)
        RemoveDead();
}

NewtonJoint* NewtonWorld::CreateJoint(int maxRows, NewtonUserBilateralCallBack submit, NewtonBody* child,
                                      NewtonBody* parent)
{
    NewtonJoint* joint = joints.Add(std::make_unique<NewtonJoint>(this, maxRows, submit, child, parent));
    dynamics.addConstraint(joint, false);
    child->joints.push_back(joint);
    child->Wake();
    if (parent)
    {
        parent->joints.push_back(joint);
        parent->Wake();
    }
    return joint;
}

void NewtonWorld::DestroyJoint(NewtonJoint* joint)
{
    if (joint->dead)
        return;
    joint->dead = true;
    deadJoints.push_back(joint);
    ++deadCount;
    if (NewtonConstraintDestructor destructor = joint->destructor)
    {
        joint->destructor = nullptr;
        destructor(joint);
    }
    for (NewtonBody* body : {joint->child, joint->parent})
        if (body)
        {
            auto& list = body->joints;
            list.erase(std::remove(list.begin(), list.end(), joint), list.end());
        }
    joint->userData = nullptr;
    joint->submitCallback = nullptr;
    FreeIfIdle();
}

void NewtonWorld::RemoveDead()
{
    if (deadCount == 0)
        return;
    // Freed in creation order, as they stand on their lists: Bullet keeps
    // its own lists in the order of their removals.
    const auto byCreation = [](const auto* a, const auto* b) { return a->slot < b->slot; };
    // Constraints first: they refer to the bodies. A joint still submitting
    // its rows stays (dead) for a later sweep.
    std::vector<NewtonJoint*> dyingJoints;
    dyingJoints.swap(deadJoints);
    std::sort(dyingJoints.begin(), dyingJoints.end(), byCreation);
    for (NewtonJoint* joint : dyingJoints)
    {
        if (joint->Submitting())
        {
            deadJoints.push_back(joint);
            continue;
        }
        dynamics.removeConstraint(joint);
        joints.Free(joint);
    }
    std::vector<NewtonBody*> dyingBodies;
    dyingBodies.swap(deadBodies);
    std::sort(dyingBodies.begin(), dyingBodies.end(), byCreation);
    for (NewtonBody* body : dyingBodies)
        bodies.Free(body);
    joints.CloseUp();
    bodies.CloseUp();
    deadCount = deadJoints.size() + deadBodies.size();
}

void NewtonWorld::ReleaseCollision(NewtonCollision* collision)
{
    // A collision of another world, one already freed or one nobody holds
    // is left alone.
    if (!collisions.count(collision) || collision->holds <= 0)
        return;
    if (--collision->holds > 0)
        return;
    if (collision->SharedAs())
    {
        KeepIdle(collision);
        return;
    }
    collisions.erase(collision);
    delete collision;
}

void NewtonWorld::KeepIdle(NewtonCollision* collision)
{
    idle.push_back(collision);
    if (idle.size() <= kIdleKept)
        return;
    NewtonCollision* oldest = idle.front();
    idle.erase(idle.begin());
    collisions.erase(oldest);
    shapes.ForgetCollision(*oldest->SharedAs());
    delete oldest;
}

void NewtonWorld::Revive(NewtonCollision* collision)
{
    const auto found = std::find(idle.begin(), idle.end(), collision);
    if (found != idle.end())
        idle.erase(found);
}

void NewtonWorld::PlaceNewBodies()
{
    std::vector<NewtonBody*> waiting;
    waiting.swap(unplaced);
    for (NewtonBody* body : waiting)
    {
        if (body == nullptr)
            continue;
        body->waiting = false;
        body->EnterWorld();
    }
    // The list keeps its room for the next bodies.
    waiting.clear();
    if (unplaced.empty())
        unplaced.swap(waiting);
}

void NewtonWorld::Freeze(NewtonBody* body)
{
    body->Sleep();
}

void NewtonWorld::Unfreeze(NewtonBody* body)
{
    body->Wake();
}

std::vector<NewtonBody*> NewtonWorld::LiveBodies() const
{
    std::vector<NewtonBody*> live;
    live.reserve(bodies.size());
    for (NewtonBody* body : bodies)
        if (!body->dead)
            live.push_back(body);
    return live;
}

void NewtonWorld::Update(float timestep)
{
    // A zero, negative or NaN step is the shortest step; a huge one (the
    // first frame after loading) is cut to the longest.
    float dt = timestep >= kMinStep ? timestep : kMinStep;
    dt = std::min(dt, kMaxStep);
    const int steps = std::max(1, static_cast<int>(std::ceil(dt * minimumFrameRate - 1e-3f)));
    const float h = dt / static_cast<float>(steps);
    timeStep = h;
    updating = true;
    for (NewtonBody* body : bodies)
        body->movedThisUpdate = false;
    for (int step = 0; step < steps; ++step)
    {
        RemoveDead();
        ApplyForces(h);
        // Bodies made before, or by a force callback.
        PlaceNewBodies();
        ++stepCounter;
        dynamics.stepSimulation(h, 0, h);
        for (NewtonBody* body : bodies)
        {
            if (body->IsDynamic() && body->IsAwake())
                body->movedThisUpdate = true;
            body->reshaped = false;
        }
    }
    RemoveDead();
    AfterUpdate();
    updating = false;
    RemoveDead();
}

void NewtonWorld::ApplyForces(btScalar h)
{
    // Index loop: a callback may create bodies.
    const size_t count = bodies.SlotCount();
    for (size_t i = 0; i < count; ++i)
    {
        NewtonBody* body = bodies.At(i);
        if (!body || body->dead || !body->IsDynamic() || !body->IsAwake())
            continue;
        body->movedThisUpdate = true;
        body->force.setZero();
        body->torque.setZero();
        if (body->forceCallback)
        {
            body->collectingForces = true;
            body->forceCallback(body);
            body->collectingForces = false;
        }
        if (body->dead)
            continue;
        body->ApplyDamping(h);
        body->rigid->applyCentralForce(body->force);
        body->rigid->applyTorque(body->torque);
    }
}

void NewtonWorld::PutIslandsToSleep()
{
    std::vector<NewtonBody*> candidates;
    candidates.reserve(bodies.size());
    std::vector<signed char> islandReady(static_cast<size_t>(dynamics.getNumCollisionObjects()), 1);
    for (NewtonBody* body : bodies)
    {
        if (body->dead || !body->IsDynamic() || !body->IsAwake())
            continue;
        const bool quiet = body->autoFreeze &&
                           body->rigid->getLinearVelocity().length2() < body->freezeSpeed2 &&
                           body->rigid->getAngularVelocity().length2() < body->freezeOmega2;
        body->quietFrames = quiet ? std::min(body->quietFrames + 1, 1 << 30) : 0;
        const bool ready = body->quietFrames >= std::max(body->freezeFrames, 1);
        const int island = body->rigid->getIslandTag();
        if (island >= 0 && static_cast<size_t>(island) < islandReady.size())
        {
            if (!ready)
                islandReady[island] = 0;
            candidates.push_back(body);
        }
        else if (ready)
            body->Sleep();
    }
    // Touching or jointed bodies share an island and sleep together.
    for (NewtonBody* body : candidates)
        if (islandReady[body->rigid->getIslandTag()])
            body->Sleep();
}

void NewtonWorld::AfterUpdate()
{
    PutIslandsToSleep();
    const size_t count = bodies.SlotCount();
    for (size_t i = 0; i < count; ++i)
    {
        NewtonBody* body = bodies.At(i);
        if (!body || body->dead || !body->IsDynamic())
            continue;
        if (body->movedThisUpdate)
        {
            if (body->transformCallback)
            {
                float matrix[16];
                NewtonMath::FromTransform(body->Matrix(), matrix);
                body->transformCallback(body, matrix);
            }
            btVector3 low;
            btVector3 high;
            body->rigid->getAabb(low, high);
            const bool inside = TestAabbAgainstAabb2(low, high, worldMin, worldMax);
            const bool left = body->insideWorld && !inside;
            body->insideWorld = inside;
            if (left && leaveWorldCallback && !body->dead)
                leaveWorldCallback(body);
        }
        if (body->dead)
            continue;
        const bool awake = body->IsAwake();
        if (awake != body->wasAwake)
        {
            body->wasAwake = awake;
            if (awake)
                body->quietFrames = 0;
            if (body->activationCallback)
                body->activationCallback(body, awake ? 1u : 0u);
        }
    }
}

void NewtonWorld::PrepareQuery()
{
    ++queriesSinceTreeBuild;
    // Bodies made since join, also those a hit filter made while its ray
    // walks the trees (an insertion frees no node the walk may hold); in an
    // update they join at the next sub-step.
    if (updating)
        return;
    PlaceNewBodies();
    // Inside another query the trees may be in use.
    if (holdFrees != 0)
        return;
    const int leaves = broadphase.m_sets[0].m_leaves + broadphase.m_sets[1].m_leaves;
    // Rebuilt after an eighth of the bodies changed, and not for a few; and
    // only once the queries since the last build have walked about as much
    // as a build costs (a few walks per body), so that a world whose bodies
    // come and go all the time does not rebuild every frame.
    constexpr int kMinimumChange = 64;
    constexpr size_t kQueriesPerLeaf = 4;
    const int change = std::abs(leaves - queryTreeLeaves);
    if (change < kMinimumChange || change < queryTreeLeaves / 8 ||
        queriesSinceTreeBuild < kQueriesPerLeaf * static_cast<size_t>(leaves))
        return;
    // Split top-down to groups of a few leaves: Bullet's default merges
    // groups of 128 bottom-up, which costs a hundred times as much.
    constexpr int kBottomUpLeaves = 8;
    broadphase.m_sets[0].optimizeTopDown(kBottomUpLeaves);
    broadphase.m_sets[1].optimizeTopDown(kBottomUpLeaves);
    queryTreeLeaves = leaves;
    queriesSinceTreeBuild = 0;
}

void NewtonWorld::RayCast(const btVector3& from, const btVector3& to, NewtonWorldRayFilterCallback filter,
                          void* userData, NewtonWorldRayPrefilterCallback prefilter)
{
    if ((to - from).length2() <= 0)
        return;
    RayCallback callback(filter, userData, prefilter);
    if (raysRunning == 0)
    {
        const RunningRay running(raysRunning);
        dynamics.rayTest(from, to, callback);
        return;
    }
    // A ray cast from a hit filter: Bullet walks the broadphase with one
    // stack (per thread), which the calling ray is still walking with.
    const NodeStacks saved = broadphase.m_rayTestStacks;
    const RestoredStacks restore(broadphase.m_rayTestStacks, saved);
    const RunningRay running(raysRunning);
    dynamics.rayTest(from, to, callback);
}

std::vector<NewtonBody*> NewtonWorld::BodiesInBox(const btVector3& low, const btVector3& high)
{
    BoxCallback callback(low, high);
    broadphase.aabbTest(low, high, callback);
    // Creation order, whatever order the tree visits them in.
    std::sort(callback.found.begin(), callback.found.end());
    std::vector<NewtonBody*> ordered;
    for (NewtonBody* body : bodies)
        if (std::binary_search(callback.found.begin(), callback.found.end(), body))
            ordered.push_back(body);
    return ordered;
}

int NewtonWorld::Collide(int maxSize, const NewtonCollision& a, const btTransform& matrixA,
                         const NewtonCollision& b, const btTransform& matrixB, float* contacts,
                         float* normals, float* penetration)
{
    if (maxSize <= 0)
        return 0;
    FreeObject objectA(a, matrixA);
    FreeObject objectB(b, matrixB);
    CollideCallback callback(maxSize, contacts, normals, penetration);
    dynamics.contactPairTest(&objectA.object, &objectB.object, callback);
    return callback.count;
}
