#pragma once

// A rigid body: a Bullet rigid body plus what Newton keeps per body that
// Bullet has no place for (callbacks, user data, freeze rule, damping vector,
// the forces of the last sub-step, the centre-of-mass offset, its joints).
//
// The body's matrix is its own frame; Bullet's transform is the centre of
// mass: bullet = matrix x translate(com). The shape is the collision's
// primitive placed at translate(-com) x placement (a one-child compound
// unless that is the identity).

#include "physics/newton/Newton.h"

#include <BulletDynamics/Dynamics/btRigidBody.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class btCompoundShape;

struct NewtonBody
{
    NewtonBody(NewtonWorld* world, NewtonCollision* collision);
    ~NewtonBody();
    NewtonBody(const NewtonBody&) = delete;
    NewtonBody& operator=(const NewtonBody&) = delete;

    static NewtonBody* FromObject(const btCollisionObject* object)
    {
        return static_cast<NewtonBody*>(object->getUserPointer());
    }

    btTransform Matrix() const;
    void SetMatrix(const btTransform& matrix);
    void SetMassMatrix(float mass, const btVector3& inertia);
    void SetCentreOfMass(const btVector3& com);
    // Rebuilds the placed shape after the collision changed.
    void RefreshShape();
    // The body takes the collision (one hold of its own) and lets go of
    // the one it had; it stays where it is, with its mass and motion.
    void SetCollision(NewtonCollision* shape);
    // Puts the body into Bullet's world (made bodies wait until placed).
    void EnterWorld();
    bool IsDynamic() const { return mass > 0.0f; }
    // How far the body's points may move towards another body in a step of
    // length h (0 for a body that does not move).
    btScalar Travel(btScalar h) const;
    bool IsAwake() const { return rigid->isActive(); }
    void Wake();
    void Sleep();
    // Applies the damping of one sub-step of length h (our own: Bullet's
    // damping has no per-axis form).
    void ApplyDamping(btScalar h);

    NewtonWorld* const world;
    NewtonCollision* collision;
    // Held in the body itself (one allocation less per body); null once
    // the body is being destroyed.
    btRigidBody* rigid = nullptr;
    std::unique_ptr<btCompoundShape> placedShape;

    void* userData = nullptr;
    NewtonSetTransform transformCallback = nullptr;
    NewtonApplyForceAndTorque forceCallback = nullptr;
    NewtonBodyActivationState activationCallback = nullptr;

    float mass = 0.0f;
    btVector3 inertia{0, 0, 0};
    btVector3 centreOfMass{0, 0, 0};
    float linearDamping = 0.1f;
    btVector3 angularDamping{0.1f, 0.1f, 0.1f};
    float freezeSpeed2 = 0.01f;
    float freezeOmega2 = 0.01f;
    int freezeFrames = 10;
    int quietFrames = 0;
    bool autoFreeze = true;
    bool jointRecursiveCollision = true;
    bool continuous = false;
    int materialGroup = 0;

    // Forces and torques added for the sub-step being simulated.
    btVector3 force{0, 0, 0};
    btVector3 torque{0, 0, 0};
    // Inside a force callback: AddForce counts only there.
    bool collectingForces = false;

    bool wasAwake = true;
    bool movedThisUpdate = false;
    bool insideWorld = true;
    // The shape changed during this step: its contacts are on the old one.
    bool reshaped = false;
    // Set by a destruction during an update; removed when the update ends.
    bool dead = false;
    // In Bullet's world (and its broadphase); on the world's list of bodies
    // to put there.
    bool inWorld = false;
    bool waiting = false;
    size_t unplacedAt = 0;
    // Where on the world's list of bodies it is, and on Bullet's list of
    // moving bodies (-1: not known; the dynamics world marks a body it
    // kept off that list).
    size_t slot = 0;
    int movingAt = -1;
    // Where on its collision's list of users it is.
    size_t userAt = 0;
    std::vector<NewtonJoint*> joints;
    // Half the placed shape's smallest extent, and the radius from the
    // centre of mass that holds all of it.
    btScalar halfThickness = 0;
    btScalar reach = 0;

private:
    void MeasureShape();
    btTransform ShapePlacement() const;
    btCollisionShape* BuildShape();
    void ReAdd(const std::function<void()>& change);

    std::optional<btRigidBody> m_rigid;
};
