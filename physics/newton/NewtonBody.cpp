#include "physics/newton/NewtonBody.h"

#include "physics/newton/NewtonCollision.h"
#include "physics/newton/NewtonMath.h"
#include "physics/newton/NewtonWorld.h"

#include <BulletCollision/CollisionShapes/btCompoundShape.h>

#include <algorithm>
#include <cmath>

namespace
{

btTransform Translation(const btVector3& offset)
{
    return btTransform(btMatrix3x3::getIdentity(), offset);
}

} // namespace

NewtonBody::NewtonBody(NewtonWorld* owner, NewtonCollision* shape) : world(owner), collision(shape)
{
    ++collision->holds;
    userAt = collision->users.size();
    collision->users.push_back(this);
    btRigidBody::btRigidBodyConstructionInfo info(0, nullptr, BuildShape());
    rigid = &m_rigid.emplace(info);
    rigid->setUserPointer(this);
    // Sleeping is ours (frame counting); Bullet's own never triggers.
    rigid->setSleepingThresholds(0, 0);
    // A contact that holds by static friction keeps the points where it
    // first touched, and friction pulls back what the solver let slide: a
    // stack does not creep apart while awake.
    rigid->setCollisionFlags(rigid->getCollisionFlags() | btCollisionObject::CF_HAS_FRICTION_ANCHOR);
    rigid->setDamping(0, 0);
    // Into Bullet's world at the next step or query, where it stands then:
    // a body put into the broadphase at the origin and then moved leaves
    // its tree far worse to walk than one put in where it stands.
    unplacedAt = world->unplaced.size();
    world->unplaced.push_back(this);
    waiting = true;
    wasAwake = false;
    MeasureShape();
}

NewtonBody::~NewtonBody()
{
    if (inWorld)
        world->dynamics.removeRigidBody(rigid);
    // Its place on the list stays, empty: the list keeps the others' places.
    if (waiting)
        world->unplaced[unplacedAt] = nullptr;
    m_rigid.reset();
    rigid = nullptr;
    placedShape.reset();
    // Bodies go in any order; many may share one collision.
    auto& users = collision->users;
    users[userAt] = users.back();
    users[userAt]->userAt = userAt;
    users.pop_back();
    world->ReleaseCollision(collision);
}

btTransform NewtonBody::ShapePlacement() const
{
    // Trees are static: their centre of mass never moves the mesh.
    if (!collision->IsConvex() || centreOfMass.isZero())
        return collision->Placement();
    return Translation(-centreOfMass) * collision->Placement();
}

btCollisionShape* NewtonBody::BuildShape()
{
    const btTransform placement = ShapePlacement();
    if (NewtonMath::IsIdentity(placement))
    {
        placedShape.reset();
        return collision->Primitive();
    }
    placedShape = std::make_unique<btCompoundShape>(false, 1);
    placedShape->addChildShape(placement, collision->Primitive());
    return placedShape.get();
}

void NewtonBody::ReAdd(const std::function<void()>& change)
{
    if (!inWorld)
    {
        change();
        return;
    }
    world->dynamics.removeRigidBody(rigid);
    change();
    world->dynamics.addRigidBody(rigid);
    // A destroyed body stays out of queries and pairs (see DestroyBody).
    if (dead)
        rigid->getBroadphaseHandle()->m_collisionFilterGroup = 0;
}

void NewtonBody::EnterWorld()
{
    if (inWorld || dead)
        return;
    world->dynamics.addRigidBody(rigid);
    inWorld = true;
}

btTransform NewtonBody::Matrix() const
{
    return rigid->getWorldTransform() * Translation(-centreOfMass);
}

void NewtonBody::SetMatrix(const btTransform& matrix)
{
    rigid->setCenterOfMassTransform(centreOfMass.isZero() ? matrix : matrix * Translation(centreOfMass));
    // A new body enters at the next step or query, where it stands then,
    // with its mass by then: a body made static and made dynamic after
    // entering would enter twice.
    if (inWorld)
        world->dynamics.updateSingleAabb(rigid);
    Wake();
}

void NewtonBody::SetMassMatrix(float newMass, const btVector3& newInertia)
{
    if (!std::isfinite(newMass) || newMass <= 0 || !collision->IsConvex())
        newMass = 0;
    btVector3 clean(0, 0, 0);
    if (newMass > 0)
        for (int i = 0; i < 3; ++i)
            clean[i] = std::isfinite(newInertia[i]) && newInertia[i] > 0 ? newInertia[i] : 0;
    const bool becomesDynamic = newMass > 0 && !IsDynamic();
    const bool changesKind = (newMass > 0) != IsDynamic();
    mass = newMass;
    inertia = clean;
    auto apply = [&]
    {
        rigid->setMassProps(mass, inertia);
        rigid->updateInertiaTensor();
    };
    if (changesKind)
        ReAdd(apply);
    else
        apply();
    if (becomesDynamic)
    {
        rigid->forceActivationState(ACTIVE_TAG);
        wasAwake = true;
        quietFrames = 0;
    }
}

void NewtonBody::SetCentreOfMass(const btVector3& com)
{
    if (!collision->IsConvex() || com == centreOfMass)
        return;
    const btTransform matrix = Matrix();
    const bool awake = IsAwake();
    ReAdd(
        [&]
        {
            centreOfMass = com;
            const std::unique_ptr<btCompoundShape> old = std::move(placedShape);
            rigid->setCollisionShape(BuildShape());
            rigid->setCenterOfMassTransform(matrix * Translation(centreOfMass));
        });
    if (awake && IsDynamic())
        rigid->forceActivationState(ACTIVE_TAG);
    MeasureShape();
}

void NewtonBody::RefreshShape()
{
    reshaped = true;
    const btTransform placement = ShapePlacement();
    btCollisionShape* primitive = collision->Primitive();
    const bool sameCompound =
        placedShape && !NewtonMath::IsIdentity(placement) && placedShape->getChildShape(0) == primitive;
    const bool samePrimitive =
        !placedShape && NewtonMath::IsIdentity(placement) && rigid->getCollisionShape() == primitive;
    if (sameCompound)
        placedShape->updateChildTransform(0, placement);
    if (sameCompound || samePrimitive)
    {
        if (inWorld)
            world->dynamics.updateSingleAabb(rigid);
        MeasureShape();
        return;
    }
    // The old shape stays alive until the body is out of the world.
    ReAdd(
        [&]
        {
            const std::unique_ptr<btCompoundShape> old = std::move(placedShape);
            rigid->setCollisionShape(BuildShape());
        });
    MeasureShape();
}

void NewtonBody::SetCollision(NewtonCollision* shape)
{
    if (shape == collision)
        return;
    NewtonCollision* old = collision;
    ++shape->holds;
    auto& users = old->users;
    users[userAt] = users.back();
    users[userAt]->userAt = userAt;
    users.pop_back();
    collision = shape;
    userAt = shape->users.size();
    shape->users.push_back(this);
    // The old shapes stay alive until the body is out of the world.
    ReAdd(
        [&]
        {
            const std::unique_ptr<btCompoundShape> oldPlaced = std::move(placedShape);
            rigid->setCollisionShape(BuildShape());
        });
    MeasureShape();
    world->ReleaseCollision(old);
}

void NewtonBody::MeasureShape()
{
    const btCollisionShape* shape = rigid->getCollisionShape();
    btVector3 low;
    btVector3 high;
    shape->getAabb(btTransform::getIdentity(), low, high);
    const btVector3 size = high - low;
    halfThickness = btScalar(0.5) * std::max(btScalar(0), size[size.minAxis()]);
    // The sphere around that box, as Bullet's bounding sphere is.
    const btVector3 centre = (low + high) * btScalar(0.5);
    reach = centre.length() + size.length() * btScalar(0.5);
}

btScalar NewtonBody::Travel(btScalar h) const
{
    if (!IsDynamic() || !IsAwake())
        return 0;
    const btVector3 pushed = rigid->getTotalForce() * (rigid->getInvMass() * h);
    return (rigid->getLinearVelocity().length() + pushed.length() +
            rigid->getAngularVelocity().length() * reach) *
           h;
}

void NewtonBody::Wake()
{
    if (!IsDynamic())
        return;
    rigid->activate(true);
    quietFrames = 0;
}

void NewtonBody::Sleep()
{
    if (!IsDynamic())
        return;
    rigid->setActivationState(ISLAND_SLEEPING);
    rigid->setLinearVelocity(btVector3(0, 0, 0));
    rigid->setAngularVelocity(btVector3(0, 0, 0));
    quietFrames = std::max(freezeFrames, 1);
}

void NewtonBody::ApplyDamping(btScalar h)
{
    if (linearDamping > 0)
        rigid->setLinearVelocity(rigid->getLinearVelocity() * std::pow(btScalar(1) - linearDamping, h));
    if (angularDamping.isZero())
        return;
    const btVector3 factor(std::pow(btScalar(1) - angularDamping.x(), h),
                           std::pow(btScalar(1) - angularDamping.y(), h),
                           std::pow(btScalar(1) - angularDamping.z(), h));
    const btVector3 omega = rigid->getAngularVelocity();
    if (factor.x() == factor.y() && factor.y() == factor.z())
    {
        rigid->setAngularVelocity(omega * factor.x());
        return;
    }
    // Damping per axis of the body.
    const btMatrix3x3& basis = rigid->getWorldTransform().getBasis();
    const btVector3 local = basis.transpose() * omega;
    rigid->setAngularVelocity(basis * (local * factor));
}
