// Body entry points of the interface.
#include "physics/newton/NewtonHandles.h"
#include "physics/newton/NewtonMath.h"

#include <algorithm>
#include <cmath>
#include <vector>

using NewtonMath::FromVector;
using NewtonMath::IsFinite;
using NewtonMath::ToVector;

NewtonBody* NewtonCreateBody(const NewtonWorld* world, const NewtonCollision* collision)
{
    if (!world || !collision || collision->world != world)
        return nullptr;
    return Mutable(world)->CreateBody(Mutable(collision));
}

void NewtonDestroyBody(const NewtonWorld* world, const NewtonBody* body)
{
    if (world && body && body->world == world)
        Mutable(world)->DestroyBody(Mutable(body));
}

void NewtonBodySetUserData(const NewtonBody* body, void* userData)
{
    if (body && !body->dead)
        Mutable(body)->userData = userData;
}

void* NewtonBodyGetUserData(const NewtonBody* body)
{
    return body ? body->userData : nullptr;
}

void NewtonBodySetMatrix(const NewtonBody* body, const float* matrix)
{
    if (body && matrix && IsFinite(matrix, 16))
        Mutable(body)->SetMatrix(NewtonMath::ToTransform(matrix));
}

void NewtonBodyGetMatrix(const NewtonBody* body, float* matrix)
{
    if (body && matrix)
        NewtonMath::FromTransform(body->Matrix(), matrix);
}

void NewtonBodySetVelocity(const NewtonBody* body, const float* velocity)
{
    if (!body || !velocity || !IsFinite(velocity, 3))
        return;
    const btVector3 value = ToVector(velocity);
    body->rigid->setLinearVelocity(value);
    if (!value.isZero())
        Mutable(body)->Wake();
}

void NewtonBodyGetVelocity(const NewtonBody* body, float* velocity)
{
    if (body && velocity)
        FromVector(body->rigid->getLinearVelocity(), velocity);
}

void NewtonBodySetOmega(const NewtonBody* body, const float* omega)
{
    if (!body || !omega || !IsFinite(omega, 3))
        return;
    const btVector3 value = ToVector(omega);
    body->rigid->setAngularVelocity(value);
    if (!value.isZero())
        Mutable(body)->Wake();
}

void NewtonBodyGetOmega(const NewtonBody* body, float* omega)
{
    if (body && omega)
        FromVector(body->rigid->getAngularVelocity(), omega);
}

void NewtonBodySetLinearDamping(const NewtonBody* body, float linearDamp)
{
    if (body)
        Mutable(body)->linearDamping = NewtonMath::Clamp(linearDamp, 0, 1, body->linearDamping);
}

float NewtonBodyGetLinearDamping(const NewtonBody* body)
{
    return body ? body->linearDamping : 0.0f;
}

void NewtonBodySetAngularDamping(const NewtonBody* body, const float* angularDamp)
{
    if (!body || !angularDamp)
        return;
    for (int axis = 0; axis < 3; ++axis)
        Mutable(body)->angularDamping[axis] =
            NewtonMath::Clamp(angularDamp[axis], 0, 1, body->angularDamping[axis]);
}

void NewtonBodyGetAngularDamping(const NewtonBody* body, float* angularDamp)
{
    if (body && angularDamp)
        FromVector(body->angularDamping, angularDamp);
}

void NewtonBodySetCentreOfMass(const NewtonBody* body, const float* com)
{
    if (body && com && IsFinite(com, 3))
        Mutable(body)->SetCentreOfMass(ToVector(com));
}

void NewtonBodyGetCentreOfMass(const NewtonBody* body, float* com)
{
    if (body && com)
        FromVector(body->centreOfMass, com);
}

void NewtonBodySetMassMatrix(const NewtonBody* body, float mass, float Ixx, float Iyy, float Izz)
{
    if (body)
        Mutable(body)->SetMassMatrix(mass, btVector3(Ixx, Iyy, Izz));
}

void NewtonBodyGetMassMatrix(const NewtonBody* body, float* mass, float* Ixx, float* Iyy, float* Izz)
{
    if (!body)
        return;
    if (mass)
        *mass = body->mass;
    if (Ixx)
        *Ixx = body->inertia.x();
    if (Iyy)
        *Iyy = body->inertia.y();
    if (Izz)
        *Izz = body->inertia.z();
}

void NewtonBodySetFreezeTreshold(const NewtonBody* body, float freezeSpeed2, float freezeOmega2,
                                 int framesCount)
{
    if (!body)
        return;
    NewtonBody* target = Mutable(body);
    target->freezeSpeed2 = NewtonMath::Clamp(freezeSpeed2, 0, 1e30f, target->freezeSpeed2);
    target->freezeOmega2 = NewtonMath::Clamp(freezeOmega2, 0, 1e30f, target->freezeOmega2);
    target->freezeFrames = std::max(framesCount, 0);
}

void NewtonBodyGetFreezeTreshold(const NewtonBody* body, float* freezeSpeed2, float* freezeOmega2,
                                 int* framesCount)
{
    if (!body)
        return;
    if (freezeSpeed2)
        *freezeSpeed2 = body->freezeSpeed2;
    if (freezeOmega2)
        *freezeOmega2 = body->freezeOmega2;
    if (framesCount)
        *framesCount = body->freezeFrames;
}

void NewtonBodySetAutoFreeze(const NewtonBody* body, int state)
{
    if (body)
        Mutable(body)->autoFreeze = state != 0;
}

int NewtonBodyGetAutoFreeze(const NewtonBody* body)
{
    return body && body->autoFreeze ? 1 : 0;
}

void NewtonBodySetContinuousCollisionMode(const NewtonBody* body, unsigned state)
{
    if (body)
        Mutable(body)->continuous = state != 0;
}

int NewtonBodyGetContinuousCollisionMode(const NewtonBody* body)
{
    return body && body->continuous ? 1 : 0;
}

void NewtonBodySetJointRecursiveCollision(const NewtonBody* body, unsigned state)
{
    if (body)
        Mutable(body)->jointRecursiveCollision = state != 0;
}

int NewtonBodyGetJointRecursiveCollision(const NewtonBody* body)
{
    return body && body->jointRecursiveCollision ? 1 : 0;
}

void NewtonBodyGetForce(const NewtonBody* body, float* force)
{
    if (body && force)
        FromVector(body->force, force);
}

void NewtonBodyGetTorque(const NewtonBody* body, float* torque)
{
    if (body && torque)
        FromVector(body->torque, torque);
}

int NewtonBodyGetSleepingState(const NewtonBody* body)
{
    return body && body->IsAwake() ? 1 : 0;
}

NewtonCollision* NewtonBodyGetCollision(const NewtonBody* body)
{
    return body ? body->collision : nullptr;
}

void NewtonBodySetCollision(const NewtonBody* body, const NewtonCollision* collision)
{
    if (!body || body->dead || !collision || collision->world != body->world || collision->holds <= 0)
        return;
    if (body->IsDynamic() && !collision->IsConvex())
        return;
    Mutable(body)->SetCollision(Mutable(collision));
}

void NewtonBodySetMaterialGroupID(const NewtonBody* body, int id)
{
    if (body)
        Mutable(body)->materialGroup = id;
}

void NewtonBodySetTransformCallback(const NewtonBody* body, NewtonSetTransform callback)
{
    if (body && !body->dead)
        Mutable(body)->transformCallback = callback;
}

void NewtonBodySetForceAndTorqueCallback(const NewtonBody* body, NewtonApplyForceAndTorque callback)
{
    if (body && !body->dead)
        Mutable(body)->forceCallback = callback;
}

void NewtonBodySetAutoactiveCallback(const NewtonBody* body, NewtonBodyActivationState callback)
{
    if (body && !body->dead)
        Mutable(body)->activationCallback = callback;
}

void NewtonBodyAddForce(const NewtonBody* body, const float* force)
{
    if (body && force && body->collectingForces && IsFinite(force, 3))
        Mutable(body)->force += ToVector(force);
}

void NewtonBodyAddTorque(const NewtonBody* body, const float* torque)
{
    if (body && torque && body->collectingForces && IsFinite(torque, 3))
        Mutable(body)->torque += ToVector(torque);
}

void NewtonBodyAddBuoyancyForce(const NewtonBody* body, float fluidDensity, float fluidLinearViscosity,
                                float fluidAngularViscosity, const float* gravityVector, std::nullptr_t,
                                void*)
{
    if (!body || !gravityVector || !body->collectingForces || !IsFinite(gravityVector, 3) ||
        !std::isfinite(fluidDensity) || !std::isfinite(fluidLinearViscosity) ||
        !std::isfinite(fluidAngularViscosity))
        return;
    NewtonBody* target = Mutable(body);
    btVector3 inertia;
    btVector3 centroid;
    btScalar volume;
    body->collision->MassProperties(inertia, centroid, volume);
    // Wholly immersed: the displaced fluid pushes against gravity.
    target->force -= ToVector(gravityVector) * (fluidDensity * volume);
    // Drag, never strong enough to reverse the motion within one sub-step.
    const btScalar h = body->world->timeStep;
    const btScalar linear = std::min(std::max(fluidLinearViscosity, 0.0f), 1.0f / h);
    const btScalar angular = std::min(std::max(fluidAngularViscosity, 0.0f), 1.0f / h);
    target->force -= body->rigid->getLinearVelocity() * (body->mass * linear);
    const btMatrix3x3& basis = body->rigid->getWorldTransform().getBasis();
    const btVector3 localOmega = basis.transpose() * body->rigid->getAngularVelocity();
    target->torque -= basis * (localOmega * body->inertia * angular);
}

void NewtonAddBodyImpulse(const NewtonBody* body, const float* pointDeltaVeloc, const float* pointPosit)
{
    if (!body || !pointDeltaVeloc || !pointPosit || !body->IsDynamic() || !IsFinite(pointDeltaVeloc, 3) ||
        !IsFinite(pointPosit, 3))
        return;
    btRigidBody& rigid = *body->rigid;
    // The impulse J that changes the velocity at the point by dv:
    // dv = (1/m - [r]x I^-1 [r]x) J.
    const btVector3 r = ToVector(pointPosit) - rigid.getCenterOfMassPosition();
    const btMatrix3x3 cross(0, -r.z(), r.y(), r.z(), 0, -r.x(), -r.y(), r.x(), 0);
    btMatrix3x3 k = cross * rigid.getInvInertiaTensorWorld() * cross;
    k = btMatrix3x3::getIdentity().scaled(btVector3(1, 1, 1) * rigid.getInvMass()) - k;
    if (std::fabs(k.determinant()) < btScalar(1e-12))
        return;
    rigid.applyImpulse(k.inverse() * ToVector(pointDeltaVeloc), r);
    Mutable(body)->Wake();
}

void NewtonBodyForEachPolygonDo(const NewtonBody* body, NewtonCollisionIterator callback)
{
    if (!body || !callback || body->dead)
        return;
    NewtonWorld::FreeHold hold(*body->world);
    const btTransform matrix = body->Matrix();
    std::vector<float> face;
    body->collision->ForEachPolygon(
        [&](int count, const btVector3* points, int faceId)
        {
            face.resize(static_cast<size_t>(count) * 3);
            for (int i = 0; i < count; ++i)
                FromVector(matrix * points[i], &face[static_cast<size_t>(i) * 3]);
            callback(body, count, face.data(), faceId);
        });
}
