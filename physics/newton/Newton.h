#pragma once

// The rigid-body interface the physics code is written against: a Newton
// Game Dynamics style set of free functions over opaque handles, implemented
// on Bullet. Matrices are 16 floats in rows front, up, right, position
// (translation at 12, 13, 14), the same layout as an Irrlicht matrix.
// Everything runs on the simulation thread.

#include <cstddef>

struct NewtonWorld;
struct NewtonBody;
struct NewtonCollision;
struct NewtonJoint;
struct NewtonMaterial;

// Tree-collision streams. The writer gets each block in order; the reader
// must fill the whole buffer and return non-zero, or return 0 when the
// stream has ended or failed (the load is then refused).
typedef void (*NewtonSerialize)(void* serializeHandle, const void* buffer, size_t size);
typedef int (*NewtonDeserialize)(void* serializeHandle, void* buffer, size_t size);

typedef void (*NewtonBodyLeaveWorld)(const NewtonBody* body);
typedef void (*NewtonBodyIterator)(const NewtonBody* body);
// Ray hit: returns the parameter at which the ray is clipped from now on
// (the hit's own parameter keeps only nearer hits, 1 keeps every hit).
typedef float (*NewtonWorldRayFilterCallback)(const NewtonBody* body, const float* hitNormal, int collisionID,
                                              void* userData, float intersectParam);
// Ray pre-filter: 0 skips the body.
typedef unsigned (*NewtonWorldRayPrefilterCallback)(const NewtonBody* body, const NewtonCollision* collision,
                                                    void* userData);
typedef void (*NewtonSetTransform)(const NewtonBody* body, const float* matrix);
typedef void (*NewtonApplyForceAndTorque)(const NewtonBody* body);
// state: 1 the body woke up, 0 it went to sleep.
typedef void (*NewtonBodyActivationState)(const NewtonBody* body, unsigned state);
// One polygon of a body's collision in world space: vertexCount points of
// three floats each.
typedef void (*NewtonCollisionIterator)(const NewtonBody* body, int vertexCount, const float* faceArray,
                                        int faceId);
// Material pair callbacks. Begin runs while the bounding boxes of two bodies
// overlap (0 rejects the pair for this step), process once per contact point
// (0 drops that point), end once after the pair's contacts.
typedef int (*NewtonContactBegin)(const NewtonMaterial* material, const NewtonBody* body0,
                                  const NewtonBody* body1);
typedef int (*NewtonContactProcess)(const NewtonMaterial* material);
typedef void (*NewtonContactEnd)(const NewtonMaterial* material);
typedef void (*NewtonUserBilateralCallBack)(const NewtonJoint* userJoint);
typedef void (*NewtonConstraintDestructor)(const NewtonJoint* joint);

// World. The world takes no custom allocators, tree-collision face callbacks
// or buoyancy plane callbacks: those parameters accept only a null pointer.
NewtonWorld* NewtonCreate(std::nullptr_t allocMemory, std::nullptr_t freeMemory);
void NewtonDestroy(const NewtonWorld* world);
// Advances the world by timestep seconds, clamped to [0.001, 0.1], in equal
// sub-steps no longer than one frame of the minimum frame rate. Every body,
// material, joint and leave-world callback runs before it returns.
void NewtonUpdate(const NewtonWorld* world, float timestep);
// The sub-step being simulated (or last simulated).
float NewtonGetTimeStep(const NewtonWorld* world);
// 0 most exact (more solver passes), 1 adaptive, n > 1: n passes.
void NewtonSetSolverModel(const NewtonWorld* world, int model);
void NewtonSetFrictionModel(const NewtonWorld* world, int model);
// Clamped to [10, 1000] frames per second; the default is 60.
void NewtonSetMinimumFrameRate(const NewtonWorld* world, float frameRate);
void NewtonSetWorldSize(const NewtonWorld* world, const float* minPoint, const float* maxPoint);
void NewtonSetBodyLeaveWorldEvent(const NewtonWorld* world, NewtonBodyLeaveWorld callback);
void NewtonWorldForEachBodyDo(const NewtonWorld* world, NewtonBodyIterator callback);
void NewtonWorldForEachBodyInAABBDo(const NewtonWorld* world, const float* p0, const float* p1,
                                    NewtonBodyIterator callback);
void NewtonWorldRayCast(const NewtonWorld* world, const float* p0, const float* p1,
                        NewtonWorldRayFilterCallback filter, void* userData,
                        NewtonWorldRayPrefilterCallback prefilter);
void NewtonWorldFreezeBody(const NewtonWorld* world, const NewtonBody* body);
void NewtonWorldUnfreezeBody(const NewtonWorld* world, const NewtonBody* body);
// Euler angles in radians, the inverse of an Irrlicht rotation in radians.
void NewtonGetEulerAngle(const float* matrix, float* eulerAngles);

// Collisions: created with one hold, released with NewtonReleaseCollision; a
// body keeps its own hold on its collision. The offset matrix may be null.
NewtonCollision* NewtonCreateBox(const NewtonWorld* world, float dx, float dy, float dz,
                                 const float* offsetMatrix);
NewtonCollision* NewtonCreateSphere(const NewtonWorld* world, float radiusX, float radiusY, float radiusZ,
                                    const float* offsetMatrix);
NewtonCollision* NewtonCreateConvexHull(const NewtonWorld* world, int count, const float* vertexCloud,
                                        int strideInBytes, const float* offsetMatrix);
// A convex collision whose shape follows a matrix: the placement of the
// wrapped collision's geometry (it starts as that collision's offset). Its
// scale stretches the shape along its own axes.
NewtonCollision* NewtonCreateConvexHullModifier(const NewtonWorld* world,
                                                const NewtonCollision* convexCollision);
void NewtonConvexHullModifierSetMatrix(const NewtonCollision* modifier, const float* matrix);
NewtonCollision* NewtonCreateTreeCollision(const NewtonWorld* world, std::nullptr_t userCallback);
void NewtonTreeCollisionBeginBuild(const NewtonCollision* tree);
void NewtonTreeCollisionAddFace(const NewtonCollision* tree, int vertexCount, const float* vertexPtr,
                                int strideInBytes, int faceAttribute);
// optimize non-zero welds equal vertices and drops degenerate triangles.
void NewtonTreeCollisionEndBuild(const NewtonCollision* tree, int optimize);
void NewtonTreeCollisionSerialize(const NewtonCollision* tree, NewtonSerialize serializeFunction,
                                  void* serializeHandle);
// Null when the stream is not a complete, consistent tree stream.
NewtonCollision* NewtonCreateTreeCollisionFromSerialization(const NewtonWorld* world,
                                                            std::nullptr_t userCallback,
                                                            NewtonDeserialize deserializeFunction,
                                                            void* serializeHandle);
// Principal inertia per unit mass and the centroid, in the collision's frame.
void NewtonConvexCollisionCalculateInertialMatrix(const NewtonCollision* convexCollision, float* inertia,
                                                  float* origin);
// Up to maxSize contacts where the shapes touch (1 mm apart at most): 3
// floats per point and per normal (pointing from B towards A), 1 per
// penetration depth. Returns the count.
int NewtonCollisionCollide(const NewtonWorld* world, int maxSize, const NewtonCollision* collisionA,
                           const float* matrixA, const NewtonCollision* collisionB, const float* matrixB,
                           float* contacts, float* normals, float* penetration);
void NewtonReleaseCollision(const NewtonWorld* world, const NewtonCollision* collision);

// Bodies. A new body is static (mass 0) until it gets a mass matrix.
NewtonBody* NewtonCreateBody(const NewtonWorld* world, const NewtonCollision* collision);
// Destroys the body's joints first (their destructors run), then the body.
void NewtonDestroyBody(const NewtonWorld* world, const NewtonBody* body);
void NewtonBodySetUserData(const NewtonBody* body, void* userData);
void* NewtonBodyGetUserData(const NewtonBody* body);
void NewtonBodySetMatrix(const NewtonBody* body, const float* matrix);
void NewtonBodyGetMatrix(const NewtonBody* body, float* matrix);
void NewtonBodySetVelocity(const NewtonBody* body, const float* velocity);
void NewtonBodyGetVelocity(const NewtonBody* body, float* velocity);
void NewtonBodySetOmega(const NewtonBody* body, const float* omega);
void NewtonBodyGetOmega(const NewtonBody* body, float* omega);
// Fraction of the speed lost per second, clamped to [0, 1]; default 0.1.
void NewtonBodySetLinearDamping(const NewtonBody* body, float linearDamp);
float NewtonBodyGetLinearDamping(const NewtonBody* body);
// Per local axis, each clamped to [0, 1]; default 0.1.
void NewtonBodySetAngularDamping(const NewtonBody* body, const float* angularDamp);
void NewtonBodyGetAngularDamping(const NewtonBody* body, float* angularDamp);
void NewtonBodySetCentreOfMass(const NewtonBody* body, const float* com);
void NewtonBodyGetCentreOfMass(const NewtonBody* body, float* com);
void NewtonBodySetMassMatrix(const NewtonBody* body, float mass, float Ixx, float Iyy, float Izz);
void NewtonBodyGetMassMatrix(const NewtonBody* body, float* mass, float* Ixx, float* Iyy, float* Izz);
// A body sleeps once its squared speed and squared angular speed stayed
// below these for framesCount updates (defaults 0.01, 0.01, 10).
void NewtonBodySetFreezeTreshold(const NewtonBody* body, float freezeSpeed2, float freezeOmega2,
                                 int framesCount);
void NewtonBodyGetFreezeTreshold(const NewtonBody* body, float* freezeSpeed2, float* freezeOmega2,
                                 int* framesCount);
void NewtonBodySetAutoFreeze(const NewtonBody* body, int state);
int NewtonBodyGetAutoFreeze(const NewtonBody* body);
// Whether the body collides with bodies it shares a joint with (default 1;
// a jointed pair collides only when both bodies allow it).
void NewtonBodySetJointRecursiveCollision(const NewtonBody* body, unsigned state);
int NewtonBodyGetJointRecursiveCollision(const NewtonBody* body);
// Continuous collision (default 0): the body's contacts are found as far
// ahead as it can move in a step, however fast, so that it never passes
// through another body. Without it a body is looked after only while it
// moves less than half its own thickness a step.
void NewtonBodySetContinuousCollisionMode(const NewtonBody* body, unsigned state);
int NewtonBodyGetContinuousCollisionMode(const NewtonBody* body);
// The force and torque applied during the last sub-step.
void NewtonBodyGetForce(const NewtonBody* body, float* force);
void NewtonBodyGetTorque(const NewtonBody* body, float* torque);
// Non-zero while the body is awake.
int NewtonBodyGetSleepingState(const NewtonBody* body);
NewtonCollision* NewtonBodyGetCollision(const NewtonBody* body);
// Gives the body another collision of its world, in place: a dynamic body
// takes only a convex one.
void NewtonBodySetCollision(const NewtonBody* body, const NewtonCollision* collision);
void NewtonBodySetMaterialGroupID(const NewtonBody* body, int id);
void NewtonBodySetTransformCallback(const NewtonBody* body, NewtonSetTransform callback);
void NewtonBodySetForceAndTorqueCallback(const NewtonBody* body, NewtonApplyForceAndTorque callback);
void NewtonBodySetAutoactiveCallback(const NewtonBody* body, NewtonBodyActivationState callback);
// Forces and torques count only inside the force-and-torque callback.
void NewtonBodyAddForce(const NewtonBody* body, const float* force);
void NewtonBodyAddTorque(const NewtonBody* body, const float* torque);
// The body counts as wholly immersed: an upward force of fluidDensity x its
// volume against gravityVector, and drag from the two viscosities.
void NewtonBodyAddBuoyancyForce(const NewtonBody* body, float fluidDensity, float fluidLinearViscosity,
                                float fluidAngularViscosity, const float* gravityVector,
                                std::nullptr_t buoyancyPlane, void* context);
// Changes the velocity of the body at a world point by pointDeltaVeloc.
void NewtonAddBodyImpulse(const NewtonBody* body, const float* pointDeltaVeloc, const float* pointPosit);
void NewtonBodyForEachPolygonDo(const NewtonBody* body, NewtonCollisionIterator callback);

// Materials. Group 0 is the default group; a pair's values are symmetric.
int NewtonMaterialGetDefaultGroupID(const NewtonWorld* world);
// A new group, or -1 once the world has 1,024 groups.
int NewtonMaterialCreateGroupID(const NewtonWorld* world);
void NewtonMaterialDestroyAllGroupID(const NewtonWorld* world);
// Static friction clamped to [0, 2], kinetic to [0, static]; defaults 0.9, 0.5.
void NewtonMaterialSetDefaultFriction(const NewtonWorld* world, int id0, int id1, float staticFriction,
                                      float kineticFriction);
// Clamped to [0, 1]; default 0.
void NewtonMaterialSetDefaultElasticity(const NewtonWorld* world, int id0, int id1, float elasticCoef);
void NewtonMaterialSetCollisionCallback(const NewtonWorld* world, int id0, int id1, void* userData,
                                        NewtonContactBegin begin, NewtonContactProcess process,
                                        NewtonContactEnd end);
// The user data given with the pair's collision callbacks.
void* NewtonMaterialGetMaterialPairUserData(const NewtonMaterial* material);

// User joints: the submit callback runs once per sub-step while a joined
// body is awake and adds at most maxDOF rows; a null parent is the world.
NewtonJoint* NewtonConstraintCreateUserJoint(const NewtonWorld* world, int maxDOF,
                                             NewtonUserBilateralCallBack submitConstraints,
                                             const NewtonBody* childBody, const NewtonBody* parentBody);
void NewtonJointSetUserData(const NewtonJoint* joint, void* userData);
void* NewtonJointGetUserData(const NewtonJoint* joint);
void NewtonJointSetDestructor(const NewtonJoint* joint, NewtonConstraintDestructor destructor);
// Runs the destructor callback, then removes the joint.
void NewtonDestroyJoint(const NewtonWorld* world, const NewtonJoint* joint);
// Holds the child's point pivot0 on the parent's point pivot1 along dir.
void NewtonUserJointAddLinearRow(const NewtonJoint* joint, const float* pivot0, const float* pivot1,
                                 const float* dir);
// Turns the child by relativeAngle about dir (radians) relative to the parent.
void NewtonUserJointAddAngularRow(const NewtonJoint* joint, float relativeAngle, const float* dir);
// A velocity row with the given Jacobians (linear then angular, 6 floats each).
void NewtonUserJointAddGeneralRow(const NewtonJoint* joint, const float* jacobian0, const float* jacobian1);
// The settings below apply to the last row added. Stiffness in [0, 1].
void NewtonUserJointSetRowStiffness(const NewtonJoint* joint, float stiffness);
void NewtonUserJointSetRowAcceleration(const NewtonJoint* joint, float acceleration);
void NewtonUserJointSetRowMinimumFriction(const NewtonJoint* joint, float friction);
void NewtonUserJointSetRowMaximumFriction(const NewtonJoint* joint, float friction);
void NewtonUserJointSetRowSpringDamperAcceleration(const NewtonJoint* joint, float springK, float springD);
// The force (or torque) the row applied in the last sub-step; 0 for a row
// that does not exist.
float NewtonUserJointGetRowForce(const NewtonJoint* joint, int row);
