// What the physics world answers about rays, boxes and touching pairs.
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "physics/RayCastResult.h"
#include "physics/newton/Newton.h"

#include <algorithm>
#include <utility>

namespace
{

// The box query's target: the walk's callback has no context of its own.
std::vector<std::string>* g_boxTarget = nullptr;

unsigned RayPrefilter(const NewtonBody* body, const NewtonCollision*, void* userData)
{
    const auto* entity = static_cast<const CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity == nullptr)
        return 0;
    const uint32_t mask = static_cast<const CRayCastResult*>(userData)->filter;
    if (mask == 0)
        return 1;
    const uint32_t kind = entity->GetTypeId();
    return (kind & mask) == kind ? 1 : 0;
}

float RayHit(const NewtonBody* body, const float* normal, int, void* userData, float parameter)
{
    const auto* entity = static_cast<const CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity == nullptr)
        return 1.0f;
    auto& result = *static_cast<CRayCastResult*>(userData);
    auto& hits = result.hits;
    const char* id = entity->GetId();
    if (result.everyHit)
    {
        // A body is met more than once (a mesh's far side): its nearest
        // hit stands for it.
        const auto seen =
            std::find_if(hits.begin(), hits.end(), [id](const CRayCastHit& hit) { return hit.id == id; });
        if (seen != hits.end())
        {
            if (seen->parameter <= parameter)
                return 1.0f;
            hits.erase(seen);
        }
    }
    // After every hit of the same parameter: equal hits keep their order.
    const auto at =
        std::upper_bound(hits.begin(), hits.end(), parameter,
                         [](float value, const CRayCastHit& hit) { return value < hit.parameter; });
    hits.insert(at, CRayCastHit{parameter, id, CVector(normal[0], normal[1], normal[2])});
    // Only nearer hits from now on, unless every hit is wanted.
    return result.everyHit ? 1.0f : parameter;
}

void CollectInBox(const NewtonBody* body)
{
    const auto* entity = static_cast<const CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity != nullptr && g_boxTarget != nullptr)
        g_boxTarget->push_back(entity->GetId());
}

} // namespace

bool CPhysicsEngine::RayCast(const CVector& start, const CVector& end, CRayCastResult& result)
{
    if (m_world == nullptr)
        return false;
    result.hits.clear();
    const float from[3] = {start.x, start.y, start.z};
    const float to[3] = {end.x, end.y, end.z};
    NewtonWorldRayCast(m_world, from, to, &RayHit, &result, &RayPrefilter);
    return !result.hits.empty();
}

int CPhysicsEngine::GetEntitiesInBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ,
                                     std::vector<std::string>& ids)
{
    if (m_world == nullptr)
        return 0;
    if (maxX < minX)
        std::swap(minX, maxX);
    if (maxY < minY)
        std::swap(minY, maxY);
    if (maxZ < minZ)
        std::swap(minZ, maxZ);
    const float low[3] = {minX, minY, minZ};
    const float high[3] = {maxX, maxY, maxZ};
    g_boxTarget = &ids;
    NewtonWorldForEachBodyInAABBDo(m_world, low, high, &CollectInBox);
    g_boxTarget = nullptr;
    return static_cast<int>(ids.size());
}

int CPhysicsEngine::GetCollisionData(int maxContacts, CPhysicalEntity* entityA, CPhysicalEntity* entityB,
                                     float* contacts, float* normals, float* penetrations)
{
    if (m_world == nullptr || maxContacts <= 0 || entityA == nullptr || entityB == nullptr)
        return 0;
    NewtonBody* bodyA = entityA->GetBody();
    NewtonBody* bodyB = entityB->GetBody();
    // Only bodies of this world can be compared in it.
    if (bodyA == nullptr || bodyB == nullptr || entityA->GetEngine() != this || entityB->GetEngine() != this)
        return 0;
    NewtonCollision* collisionA = NewtonBodyGetCollision(bodyA);
    NewtonCollision* collisionB = NewtonBodyGetCollision(bodyB);
    if (collisionA == nullptr || collisionB == nullptr)
        return 0;
    float matrixA[16];
    float matrixB[16];
    NewtonBodyGetMatrix(bodyA, matrixA);
    NewtonBodyGetMatrix(bodyB, matrixB);
    return NewtonCollisionCollide(m_world, maxContacts, collisionA, matrixA, collisionB, matrixB, contacts,
                                  normals, penetrations);
}
