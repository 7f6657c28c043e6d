// Bodies of physical entities, and the callbacks each body carries.
#include "core/foundation/CriticalSection.h"
#include "physics/Joint.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "physics/newton/Newton.h"

#include <cmath>
#include <vector>

namespace
{

// Degrees per radian, as a float.
constexpr float kDegreesPerRadian = 57.29578f;
// Triangles whose doubled area, squared, is not above this are left out of
// a tree.
constexpr float kFaceEpsilon = 0.000001f;

bool IsZero(const CVector& v)
{
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

CVector Scaled(const CVector& v, float factor)
{
    return CVector(v.x * factor, v.y * factor, v.z * factor);
}

CVector Sum(const CVector& a, const CVector& b)
{
    return CVector(a.x + b.x, a.y + b.y, a.z + b.z);
}

CVector Difference(const CVector& a, const CVector& b)
{
    return CVector(a.x - b.x, a.y - b.y, a.z - b.z);
}

// The identity with the translation.
void Translation(const CVector& offset, float* matrix)
{
    for (int i = 0; i < 16; ++i)
        matrix[i] = i % 5 == 0 ? 1.0f : 0.0f;
    matrix[12] = offset.x;
    matrix[13] = offset.y;
    matrix[14] = offset.z;
}

// One axis of collision prediction: the stretch along it this step.
float Skew(float displacement, float threshold, float previous, float factor, float dampening)
{
    // A threshold of 0 (the default, or a flat shape) is never exceeded.
    if (threshold > 0.0f && std::fabs(displacement) > threshold)
        return std::fabs(displacement) / threshold * factor;
    if (previous > 1.0f)
        return (previous - 1.0f) * dampening + 1.0f;
    return 1.0f;
}

} // namespace

void CPhysicsEngine::AddEntity(CPhysicalEntity* entity)
{
    if (entity == nullptr || m_world == nullptr)
        return;
    CScopedLock lock(GetLock());
    if (GetMassType(entity->GetMass()) == kNoBody)
        return;
    // The entity's joints go with its old body and are made again once the
    // new one exists.
    std::vector<std::unique_ptr<CJoint>> joints = CaptureJoints(entity);
    // A part that never had a body has nothing to leave.
    if (entity->GetEngine() != nullptr || entity->m_body != nullptr)
        RemoveEntity(entity);
    NewtonBody* body = BuildBody(*entity);
    if (body == nullptr)
    {
        RestoreJoints(joints);
        return;
    }
    entity->m_link.Attach(m_parts);
    entity->m_body = body;
    m_bodied.insert(entity);
    // The owner brings every part up to date: the stored settings reach
    // the new body.
    entity->UpdateParts();

    const CVector half = Scaled(entity->m_collisionSize, 0.5f);
    const CVector centre = Sum(entity->GetPosition(), entity->m_collisionCentre);
    ExpandBounds(Difference(centre, half), Sum(centre, half));

    NewtonBodySetUserData(body, entity);
    NewtonBodySetTransformCallback(body, &CPhysicsEngine::MoveEntity);
    NewtonBodySetForceAndTorqueCallback(body, &CPhysicsEngine::ApplyForces);
    NewtonBodySetAutoactiveCallback(body, &CPhysicsEngine::ActivationChanged);
    RestoreJoints(joints);
}

bool CPhysicsEngine::ReshapeEntity(CPhysicalEntity* entity)
{
    if (entity == nullptr || m_world == nullptr || entity->m_body == nullptr || entity->GetEngine() != this)
        return false;
    CScopedLock lock(GetLock());
    NewtonBody* body = entity->m_body;
    // Prediction stretches a modifier made with the body; a static body's
    // tree and a joint's frames are made with the body too. A dynamic
    // body's collision is convex.
    float mass = 0.0f;
    float inertia[3];
    NewtonBodyGetMassMatrix(body, &mass, &inertia[0], &inertia[1], &inertia[2]);
    if (GetMassType(entity->GetMass()) != kDynamic || mass != entity->GetMass() ||
        entity->m_predictionEnabled || m_jointsOf.count(entity) != 0)
        return false;
    bool isTree = false;
    NewtonCollision* shape = BuildShape(*entity, false, isTree);
    if (shape == nullptr)
        return false;
    NewtonBodySetCollision(body, shape);
    NewtonReleaseCollision(m_world, shape);
    const CVector half = Scaled(entity->m_collisionSize, 0.5f);
    const CVector centre = Sum(entity->GetPosition(), entity->m_collisionCentre);
    ExpandBounds(Difference(centre, half), Sum(centre, half));
    NewtonWorldUnfreezeBody(m_world, body);
    return true;
}

void CPhysicsEngine::RemoveEntity(CPhysicalEntity* entity)
{
    if (entity == nullptr)
        return;
    CScopedLock lock(GetLock());
    // Its contacts end with a last flush, while the entity can still say
    // who it is.
    if (CPhysicsEngine* engine = entity->GetEngine())
        engine->SetMonitored(entity, false);
    entity->m_link.Detach();
    entity->m_body = nullptr;
}

uint32_t CPhysicsEngine::CountActiveEntities() const
{
    uint32_t count = 0;
    for (const CPhysicalEntity* entity : m_bodied)
        if (entity->IsActive())
            ++count;
    return count;
}

void CPhysicsEngine::DetachAllEntities()
{
    m_parts.DetachAll();
}

void CPhysicsEngine::ForgetPart(CPhysicsEngine& engine, CPhysicsLink& link)
{
    // Only parts that AddEntity gave a body are physical entities; a part
    // of another type linked here (a stand-in) has nothing to take away.
    auto* entity = static_cast<CPhysicalEntity*>(link.GetPart());
    if (engine.m_bodied.erase(entity) == 0)
        return;
    engine.Unmonitor(entity);
    entity->m_contacts.clear();
    // Its joints leave the registry before the body takes their world
    // joints with it.
    engine.DestroyJointsOf(entity);
    NewtonBody* body = entity->m_body;
    if (body == nullptr)
        return;
    entity->m_body = nullptr;
    // The part keeps the body's last motion: a new body starts with it.
    float motion[3];
    NewtonBodyGetVelocity(body, motion);
    entity->m_velocity = CVector(motion[0], motion[1], motion[2]);
    NewtonBodyGetOmega(body, motion);
    entity->m_omega = CVector(motion[0], motion[1], motion[2]);
    NewtonBodySetTransformCallback(body, nullptr);
    NewtonBodySetAutoactiveCallback(body, nullptr);
    NewtonBodySetForceAndTorqueCallback(body, nullptr);
    NewtonBodySetUserData(body, nullptr);
    if (engine.m_world != nullptr)
        NewtonDestroyBody(engine.m_world, body);
}

NewtonBody* CPhysicsEngine::BuildBody(CPhysicalEntity& entity)
{
    const int massType = GetMassType(entity.GetMass());
    const bool automaticInertia = massType == kDynamic && IsZero(entity.m_momentOfInertia);
    bool isTree = false;
    NewtonCollision* shape = BuildShape(entity, massType == kStatic, isTree);
    if (shape == nullptr)
        return nullptr;
    // Only a convex shape can stretch; a static tree would lose its body.
    if (entity.m_predictionEnabled && !isTree)
    {
        if (NewtonCollision* modifier = NewtonCreateConvexHullModifier(m_world, shape))
        {
            NewtonReleaseCollision(m_world, shape);
            shape = modifier;
        }
    }
    NewtonBody* body = NewtonCreateBody(m_world, shape);
    if (body != nullptr && automaticInertia)
    {
        float inertia[3];
        float origin[3];
        NewtonConvexCollisionCalculateInertialMatrix(shape, inertia, origin);
        // The layer's inertia is per unit mass.
        const float mass = entity.GetMass();
        entity.SetMomentOfInertia(CVector(inertia[0] * mass, inertia[1] * mass, inertia[2] * mass));
        entity.SetCentreOfMass(CVector(origin[0], origin[1], origin[2]));
    }
    NewtonReleaseCollision(m_world, shape);
    return body;
}

NewtonCollision* CPhysicsEngine::BuildShape(CPhysicalEntity& entity, bool isStatic, bool& isTree)
{
    isTree = false;
    if (isStatic)
    {
        if (NewtonCollision* cached = LoadCollisionCache(&entity))
        {
            // The cached tree is in the body's frame: the box's centre is
            // taken relative to where the entity stands.
            CVector minimum;
            CVector maximum;
            entity.GetBoundingBox(minimum, maximum);
            entity.m_collisionSize = Difference(maximum, minimum);
            entity.m_collisionCentre = Difference(Scaled(Sum(minimum, maximum), 0.5f), entity.GetPosition());
            isTree = true;
            return cached;
        }
        std::vector<Misc::World::CTriangle> faces;
        CVector size;
        CVector centre;
        entity.GetFaces(faces, size, centre, kFaceEpsilon, entity.GetDetailLevel());
        if (!faces.empty())
        {
            NewtonCollision* tree = NewtonCreateTreeCollision(m_world, nullptr);
            NewtonTreeCollisionBeginBuild(tree);
            for (const Misc::World::CTriangle& face : faces)
            {
                const float corners[9] = {face[0].x, face[0].y, face[0].z, face[1].x, face[1].y,
                                          face[1].z, face[2].x, face[2].y, face[2].z};
                NewtonTreeCollisionAddFace(tree, 3, corners, 12, 1);
            }
            NewtonTreeCollisionEndBuild(tree, m_optimiseTrees ? 1 : 0);
            entity.m_collisionSize = size;
            entity.m_collisionCentre = centre;
            isTree = true;
            return tree;
        }
    }
    std::vector<CVector> vertices;
    CVector size;
    CVector centre;
    entity.GetVertices(vertices, size, centre);
    entity.m_collisionSize = size;
    entity.m_collisionCentre = centre;
    float offset[16];
    Translation(centre, offset);
    if (vertices.empty() && entity.m_collisionType == CPhysicalEntity::kConvexHull)
        entity.m_collisionType = CPhysicalEntity::kBox;
    switch (entity.m_collisionType)
    {
    case CPhysicalEntity::kSphere:
        return NewtonCreateSphere(m_world, size.x * 0.5f, size.y * 0.5f, size.z * 0.5f, offset);
    case CPhysicalEntity::kConvexHull:
    {
        // Around the centre, placed by the offset like the other shapes.
        std::vector<float> cloud;
        cloud.reserve(vertices.size() * 3);
        for (const CVector& vertex : vertices)
            cloud.insert(cloud.end(), {vertex.x - centre.x, vertex.y - centre.y, vertex.z - centre.z});
        return NewtonCreateConvexHull(m_world, static_cast<int>(vertices.size()), cloud.data(), 12, offset);
    }
    default:
        return NewtonCreateBox(m_world, size.x, size.y, size.z, offset);
    }
}

void CPhysicsEngine::MoveEntity(const NewtonBody* body, const float* matrix)
{
    auto* entity = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity == nullptr)
        return;
    float angles[3];
    NewtonGetEulerAngle(matrix, angles);
    entity->OnBodyMoved(
        CVector(matrix[12], matrix[13], matrix[14]),
        CVector(angles[0] * kDegreesPerRadian, angles[1] * kDegreesPerRadian, angles[2] * kDegreesPerRadian),
        CVector(matrix[0], matrix[5], matrix[10]));
}

void CPhysicsEngine::ApplyForces(const NewtonBody* body)
{
    auto* entity = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity == nullptr || entity->GetEngine() == nullptr)
        return;
    CVector force = entity->m_constantForce;
    CVector torque = entity->m_constantTorque;
    const CVector& gravity = GetGravity();
    // Constant motion acts only on an awake body: one that is set must not
    // fall asleep while it is still slow (a small torque on a resting body).
    if (!IsZero(force) || !IsZero(torque) || !IsZero(entity->m_constantVelocity) ||
        !IsZero(entity->m_constantOmega))
        NewtonWorldUnfreezeBody(entity->GetEngine()->m_world, body);
    const float mass = entity->GetMass();

    // There is no fluid surface: the body counts as wholly immersed, so one
    // lighter than its fluid keeps rising while its buoyancy is set.
    const CVector& buoyancy = entity->m_buoyancy;
    if (!IsZero(buoyancy))
    {
        const float gravityVector[3] = {gravity.x, gravity.y, gravity.z};
        NewtonBodyAddBuoyancyForce(body, buoyancy.x, buoyancy.y, buoyancy.z, gravityVector, nullptr, nullptr);
    }
    if (!IsZero(entity->m_constantVelocity))
    {
        const float velocity[3] = {entity->m_constantVelocity.x, entity->m_constantVelocity.y,
                                   entity->m_constantVelocity.z};
        NewtonBodySetVelocity(body, velocity);
    }
    if (!IsZero(entity->m_constantOmega))
    {
        const float omega[3] = {entity->m_constantOmega.x, entity->m_constantOmega.y,
                                entity->m_constantOmega.z};
        NewtonBodySetOmega(body, omega);
    }
    // An impulse hands its damping's share to this step and keeps the rest.
    const float damping = entity->m_impulseDamping;
    if (!IsZero(entity->m_impulseForce))
    {
        const CVector share = Scaled(entity->m_impulseForce, damping);
        force = Sum(force, share);
        entity->SetImpulseForce(Difference(entity->m_impulseForce, share));
    }
    if (!IsZero(entity->m_impulseTorque))
    {
        const CVector share = Scaled(entity->m_impulseTorque, damping);
        torque = Sum(torque, share);
        entity->SetImpulseTorque(Difference(entity->m_impulseTorque, share));
    }
    force = Sum(force, Scaled(gravity, mass));

    // Prediction is what a game asks of a fast body: it never passes
    // through another, however fast (the layer's continuous collision).
    NewtonBodySetContinuousCollisionMode(body, entity->m_predictionEnabled ? 1u : 0u);
    if (entity->m_predictionEnabled)
    {
        const float dt = NewtonGetTimeStep(entity->GetEngine()->m_world);
        float matrix[16];
        NewtonBodyGetMatrix(body, matrix);
        float v[3];
        NewtonBodyGetVelocity(body, v);
        const float perMass = mass > 0.0f ? dt / mass : 0.0f;
        const CVector travel((v[0] + force.x * perMass) * dt, (v[1] + force.y * perMass) * dt,
                             (v[2] + force.z * perMass) * dt);
        const CVector& threshold = entity->m_predictionThreshold;
        const CVector& size = entity->m_collisionSize;
        const CVector& factor = entity->m_predictionSkewFactor;
        const CVector& dampening = entity->m_predictionSkewDampening;
        CVector& skew = entity->m_predictionSkew;
        auto along = [&](int row) {
            return travel.x * matrix[4 * row] + travel.y * matrix[4 * row + 1] +
                   travel.z * matrix[4 * row + 2];
        };
        skew = CVector(Skew(along(0), threshold.x * size.x, skew.x, factor.x, dampening.x),
                       Skew(along(1), threshold.y * size.y, skew.y, factor.y, dampening.y),
                       Skew(along(2), threshold.z * size.z, skew.z, factor.z, dampening.z));
        float stretch[16];
        Translation(entity->m_collisionCentre, stretch);
        stretch[0] = skew.x;
        stretch[5] = skew.y;
        stretch[10] = skew.z;
        NewtonConvexHullModifierSetMatrix(NewtonBodyGetCollision(body), stretch);
    }

    const float totalForce[3] = {force.x, force.y, force.z};
    const float totalTorque[3] = {torque.x, torque.y, torque.z};
    NewtonBodyAddForce(body, totalForce);
    NewtonBodyAddTorque(body, totalTorque);
}

void CPhysicsEngine::ActivationChanged(const NewtonBody* body, unsigned state)
{
    auto* entity = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body));
    CPhysicsEngine* engine = entity != nullptr ? entity->GetEngine() : nullptr;
    if (engine == nullptr)
        return;
    engine->m_queues.activated.push_back(CEvtEntityActivated{engine, entity->GetId(), state != 0});
    if (entity->GetMonitorMode() != 0)
        engine->SetMonitored(entity, state != 0);
}
