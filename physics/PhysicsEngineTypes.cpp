// Physics types as material groups, and contact monitoring through the
// material pairs' callbacks.
#include "core/foundation/KVOError.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "physics/newton/Newton.h"

#include <algorithm>

namespace
{

// The pair the material callbacks are working on.
struct SContactScratch
{
    const NewtonBody* bodyA = nullptr;
    const NewtonBody* bodyB = nullptr;
    CPhysicalEntity* entityA = nullptr;
    CPhysicalEntity* entityB = nullptr;
    int contacts = 0;
};

SContactScratch g_scratch;

constexpr const wchar_t* kDefaultType = L"default";

} // namespace

CPhysicsEngine::TypeMap& CPhysicsEngine::Types()
{
    static TypeMap types;
    return types;
}

const CPhysicsEngine::TypeMap& CPhysicsEngine::GetTypes()
{
    return Types();
}

bool CPhysicsEngine::CreateType(const std::wstring& name, float staticFriction, float dynamicFriction,
                                float elasticity)
{
    if (m_world == nullptr)
        return false;
    TypeMap& types = Types();
    auto existing = types.find(name);
    int32_t id;
    if (existing != types.end())
        id = existing->second.GetGroupId();
    else if (name.empty() || name == kDefaultType)
        id = NewtonMaterialGetDefaultGroupID(m_world);
    else
        id = NewtonMaterialCreateGroupID(m_world);
    // The world's groups are all taken: any id handed out now would be
    // another type's, whose pairs the new type would overwrite.
    if (id < 0)
        throw Misc::Error::CKVOError::Format(
            L"[CPhysicsEngine::CreateType] No material group left for type : %s", name.c_str());
    const CPhysicsType created(id, name, staticFriction, dynamicFriction, elasticity);
    types.insert_or_assign(name, created);
    // The material of a pair is the average of its two types.
    for (const auto& [typeName, type] : types)
    {
        (void)typeName;
        NewtonMaterialSetDefaultFriction(m_world, type.GetGroupId(), id,
                                         (type.GetStaticFriction() + staticFriction) * 0.5f,
                                         (type.GetDynamicFriction() + dynamicFriction) * 0.5f);
        NewtonMaterialSetDefaultElasticity(m_world, type.GetGroupId(), id,
                                           (type.GetElasticity() + elasticity) * 0.5f);
        NewtonMaterialSetCollisionCallback(m_world, type.GetGroupId(), id, &g_scratch,
                                           &CPhysicsEngine::ContactBegin, &CPhysicsEngine::ContactProcess,
                                           &CPhysicsEngine::ContactEnd);
    }
    return true;
}

void CPhysicsEngine::DeleteType(const std::wstring& name)
{
    // The group stays until every type goes.
    if (m_world != nullptr && name != kDefaultType)
        Types().erase(name);
}

void CPhysicsEngine::DeleteAllTypes(bool recreate)
{
    if (m_world == nullptr)
        return;
    TypeMap& types = Types();
    for (const auto& first : types)
        for (const auto& second : types)
            NewtonMaterialSetCollisionCallback(m_world, first.second.GetGroupId(), second.second.GetGroupId(),
                                               &g_scratch, nullptr, nullptr, nullptr);
    types.clear();
    NewtonMaterialDestroyAllGroupID(m_world);
    if (!recreate)
        return;
    CreateType(kDefaultType, m_staticFriction, m_dynamicFriction, m_elasticity);
    for (CPhysicalEntity* entity : m_bodied)
        if (entity->GetBody() != nullptr)
            NewtonBodySetMaterialGroupID(entity->GetBody(), GetTypeId(entity->GetPhysicsTypeName()));
}

const CPhysicsType& CPhysicsEngine::GetType(const std::wstring& name) const
{
    const TypeMap& types = Types();
    auto found = types.find(name);
    if (found == types.end())
        found = types.find(kDefaultType);
    if (found == types.end())
        throw Misc::Error::CKVOError::Format(L"[CPhysicsEngine::GetType] Type not found : %s", name.c_str());
    return found->second;
}

int32_t CPhysicsEngine::GetTypeId(const std::wstring& name) const
{
    return GetType(name).GetGroupId();
}

bool CPhysicsEngine::TypeExists(const std::wstring& name) const
{
    return Types().count(name) != 0;
}

bool CPhysicsEngine::SetMonitored(CPhysicalEntity* entity, bool on)
{
    if (entity == nullptr)
        return false;
    if (on)
    {
        if (m_monitoredAt.count(entity) == 0)
            m_monitoredAt.emplace(entity, m_monitored.insert(m_monitored.end(), entity));
    }
    else if (Unmonitor(entity))
        FlushContacts(entity);
    return true;
}

bool CPhysicsEngine::IsMonitored(const CPhysicalEntity* entity) const
{
    return m_monitoredAt.count(entity) != 0;
}

bool CPhysicsEngine::Unmonitor(const CPhysicalEntity* entity)
{
    const auto found = m_monitoredAt.find(entity);
    if (found == m_monitoredAt.end())
        return false;
    m_monitored.erase(found->second);
    m_monitoredAt.erase(found);
    return true;
}

void CPhysicsEngine::FlushContacts(CPhysicalEntity* entity)
{
    if (entity == nullptr)
        return;
    CPhysicalEntity::ContactMap& contacts = entity->m_contacts;
    for (auto contact = contacts.begin(); contact != contacts.end();)
    {
        if (contact->second == CPhysicalEntity::kContactOver)
        {
            m_queues.exit.push_back(CEvtEntityPair{this, entity->GetId(), contact->first});
            contact = contacts.erase(contact);
            continue;
        }
        if (contact->second == CPhysicalEntity::kContactNew)
            m_queues.enter.push_back(CEvtEntityPair{this, entity->GetId(), contact->first});
        // Not seen again before the next flush: over.
        contact->second = CPhysicalEntity::kContactOver;
        ++contact;
    }
}

void CPhysicsEngine::FlushAllContacts()
{
    for (CPhysicalEntity* entity : m_monitored)
        FlushContacts(entity);
}

bool CPhysicsEngine::AddCollisionToList(CPhysicalEntity* entity, CPhysicalEntity* other)
{
    auto [contact, added] = entity->m_contacts.emplace(other->GetId(), CPhysicalEntity::kContactNew);
    // A contact seen again goes on; one still new since its first sighting
    // (an update of several sub-steps) stays new until it is flushed.
    if (!added && contact->second == CPhysicalEntity::kContactOver)
        contact->second = CPhysicalEntity::kContactGoesOn;
    return added;
}

bool CPhysicsEngine::RemoveCollisionFromList(CPhysicalEntity* entity, CPhysicalEntity* other)
{
    return entity->m_contacts.erase(other->GetId()) != 0;
}

int CPhysicsEngine::ContactBegin(const NewtonMaterial* material, const NewtonBody* body0,
                                 const NewtonBody* body1)
{
    (void)material;
    auto* entityA = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body0));
    auto* entityB = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body1));
    if (entityA == nullptr || entityB == nullptr || entityA->GetEngine() == nullptr ||
        entityB->GetEngine() == nullptr)
        return 0;
    g_scratch = SContactScratch{body0, body1, entityA, entityB, 0};
    if (entityA->GetMonitorMode() == 1)
        entityA->GetEngine()->AddCollisionToList(entityA, entityB);
    if (entityB->GetMonitorMode() == 1)
        entityB->GetEngine()->AddCollisionToList(entityB, entityA);
    return entityA->IsCollidable() && entityB->IsCollidable() ? 1 : 0;
}

int CPhysicsEngine::ContactProcess(const NewtonMaterial* material)
{
    (void)material;
    ++g_scratch.contacts;
    return 1;
}

void CPhysicsEngine::ContactEnd(const NewtonMaterial* material)
{
    (void)material;
    CPhysicalEntity* entityA = g_scratch.entityA;
    CPhysicalEntity* entityB = g_scratch.entityB;
    if (entityA == nullptr || entityB == nullptr || g_scratch.contacts <= 0)
        return;
    if (entityA->GetMonitorMode() == 2 && entityA->GetEngine() != nullptr)
        entityA->GetEngine()->AddCollisionToList(entityA, entityB);
    if (entityB->GetMonitorMode() == 2 && entityB->GetEngine() != nullptr)
        entityB->GetEngine()->AddCollisionToList(entityB, entityA);
}
