#pragma once

// The world: a Bullet dynamics world (gravity 0: gravity is a force the
// force callbacks add), every body, collision and joint made in it, and the
// update that runs Newton's callbacks around Bullet's steps.

#include "physics/newton/ContactDispatcher.h"
#include "physics/newton/FaceClippingAlgorithm.h"
#include "physics/newton/MaterialTable.h"
#include "physics/newton/NewtonDynamicsWorld.h"
#include "physics/newton/Newton.h"
#include "physics/newton/NewtonJoint.h"
#include "physics/newton/NewtonSolver.h"
#include "physics/newton/ShapeCache.h"
#include "physics/newton/SlotList.h"

#include <BulletCollision/BroadphaseCollision/btDbvtBroadphase.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btDefaultCollisionConfiguration.h>

#include <memory>
#include <unordered_set>
#include <vector>

struct NewtonWorld
{
    NewtonWorld();
    ~NewtonWorld();
    NewtonWorld(const NewtonWorld&) = delete;
    NewtonWorld& operator=(const NewtonWorld&) = delete;

    static constexpr float kMinStep = 0.001f;
    // Contact points further apart than this are kept by Bullet (it solves
    // them ahead of time) but are no contacts yet: neither for the process
    // callback nor for a collide query.
    static constexpr float kTouchDistance = 0.001f;
    static constexpr float kMaxStep = 0.1f;

    void Update(float timestep);
    void SetSolverModel(int model);
    void SetMinimumFrameRate(float frameRate);

    NewtonBody* CreateBody(NewtonCollision* collision);
    // Destroys the body's joints first (their destructors run).
    void DestroyBody(NewtonBody* body);
    NewtonJoint* CreateJoint(int maxRows, NewtonUserBilateralCallBack submit, NewtonBody* child,
                             NewtonBody* parent);
    // Runs the destructor callback once, then removes the joint (at the end
    // of the update when called from a callback).
    void DestroyJoint(NewtonJoint* joint);
    // Frees destroyed bodies and joints unless an update or a destruction
    // is still running callbacks.
    void FreeIfIdle();

    // While one lives, destroyed bodies and joints stay allocated (marked
    // dead): callbacks may destroy what is still being visited.
    class FreeHold
    {
    public:
        explicit FreeHold(NewtonWorld& world) : m_world(world) { ++m_world.holdFrees; }
        ~FreeHold()
        {
            --m_world.holdFrees;
            m_world.FreeIfIdle();
        }
        FreeHold(const FreeHold&) = delete;
        FreeHold& operator=(const FreeHold&) = delete;

    private:
        NewtonWorld& m_world;
    };
    void AddCollision(NewtonCollision* collision) { collisions.insert(collision); }
    void ReleaseCollision(NewtonCollision* collision);
    // A shared collision let go by its last holder waits among the idle
    // ones (the newest kIdleKept) to be handed out again: a body built
    // again for a new mass, or for a scale and back, finds its shape made.
    void KeepIdle(NewtonCollision* collision);
    void Revive(NewtonCollision* collision);

    // Puts the bodies made since into Bullet's world where they stand.
    void PlaceNewBodies();
    void Freeze(NewtonBody* body);
    void Unfreeze(NewtonBody* body);

    // Live bodies in creation order.
    std::vector<NewtonBody*> LiveBodies() const;
    // Before a ray or box query, outside updates: puts the new bodies in.
    // Outside other queries too: when many bodies came or went since the
    // broadphase trees were last built whole and many queries followed,
    // builds them again (trees grown by insertion and removal cost queries
    // more to walk).
    void PrepareQuery();
    void RayCast(const btVector3& from, const btVector3& to, NewtonWorldRayFilterCallback filter,
                 void* userData, NewtonWorldRayPrefilterCallback prefilter);
    std::vector<NewtonBody*> BodiesInBox(const btVector3& low, const btVector3& high);
    int Collide(int maxSize, const NewtonCollision& a, const btTransform& matrixA, const NewtonCollision& b,
                const btTransform& matrixB, float* contacts, float* normals, float* penetration);

    btDefaultCollisionConfiguration configuration;
    // Before the dispatcher, which keeps a pointer to it.
    FaceClippingCreateFunc faceClipping;
    ContactDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    NewtonSolver solver{kTouchDistance};
    NewtonDynamicsWorld dynamics;

    // In creation order.
    SlotList<NewtonBody> bodies;
    // Bodies made and not yet placed, in the order they were made (a
    // destroyed one leaves its place empty).
    std::vector<NewtonBody*> unplaced;
    std::unordered_set<NewtonCollision*> collisions;
    static constexpr size_t kIdleKept = 16;
    // Oldest first; each has no hold.
    std::vector<NewtonCollision*> idle;
    SlotList<NewtonJoint> joints;
    MaterialTable materials;
    ShapeCache shapes;

    float timeStep = 1.0f / 60.0f;
    float minimumFrameRate = 60.0f;
    int frictionModel = 0;
    btVector3 worldMin{-100, -100, -100};
    btVector3 worldMax{100, 100, 100};
    NewtonBodyLeaveWorld leaveWorldCallback = nullptr;
    // True from the start to the end of Update: destructions then wait.
    bool updating = false;
    // NewtonDestroy from inside an update: the world goes when it ends.
    bool destroyRequested = false;
    // Above 0 while a destruction runs callbacks: frees wait for it.
    int holdFrees = 0;
    // Counts Bullet steps, so a joint submits its rows once per step.
    unsigned stepCounter = 0;
    // Bodies and joints marked dead and not freed yet (a joint still
    // submitting its rows waits for a later sweep), in the order they died;
    // a sweep visits only these.
    std::vector<NewtonBody*> deadBodies;
    std::vector<NewtonJoint*> deadJoints;
    // How many of them there are: queries end their free-holds at once
    // while it is 0.
    size_t deadCount = 0;
    // Broadphase leaves when its trees were last built whole, and the
    // queries since.
    int queryTreeLeaves = 0;
    size_t queriesSinceTreeBuild = 0;
    // Ray casts running (one cast from another's hit filter makes two).
    int raysRunning = 0;

private:
    void ApplyForces(btScalar h);
    void AfterUpdate();
    void PutIslandsToSleep();
    void RemoveDead();
};
