#pragma once

// The world: a Bullet dynamics world (gravity 0: gravity is a force the
// force callbacks add), every body, collision and joint made in it, and the
// update that runs Newton's callbacks around Bullet's steps.

#include "physics/newton/Newton.h"

#include <BulletCollision/BroadphaseCollision/btDbvtBroadphase.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btDefaultCollisionConfiguration.h>
#include <BulletDynamics/ConstraintSolver/btSequentialImpulseConstraintSolver.h>
#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>

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
    static constexpr float kMaxStep = 0.1f;

    void Update(float timestep);
    void SetSolverModel(int model);
    void SetMinimumFrameRate(float frameRate);

    NewtonBody* CreateBody(NewtonCollision* collision);
    void DestroyBody(NewtonBody* body);
    void AddCollision(NewtonCollision* collision) { collisions.insert(collision); }
    void ReleaseCollision(NewtonCollision* collision);

    void Freeze(NewtonBody* body);
    void Unfreeze(NewtonBody* body);

    // Live bodies in creation order.
    std::vector<NewtonBody*> LiveBodies() const;
    void RayCast(const btVector3& from, const btVector3& to, NewtonWorldRayFilterCallback filter,
                 void* userData, NewtonWorldRayPrefilterCallback prefilter);
    std::vector<NewtonBody*> BodiesInBox(const btVector3& low, const btVector3& high);
    int Collide(int maxSize, const NewtonCollision& a, const btTransform& matrixA, const NewtonCollision& b,
                const btTransform& matrixB, float* contacts, float* normals, float* penetration);

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld dynamics;

    std::vector<std::unique_ptr<NewtonBody>> bodies;
    std::unordered_set<NewtonCollision*> collisions;

    float timeStep = 1.0f / 60.0f;
    float minimumFrameRate = 60.0f;
    int frictionModel = 0;
    btVector3 worldMin{-100, -100, -100};
    btVector3 worldMax{100, 100, 100};
    NewtonBodyLeaveWorld leaveWorldCallback = nullptr;
    // True from the start to the end of Update: destructions then wait.
    bool updating = false;

private:
    void ApplyForces(btScalar h);
    void AfterUpdate();
    void PutIslandsToSleep();
    void RemoveDeadBodies();
};
