#include "world/WorldMapCollection.h"

#include <algorithm>
#include <new>

template <class Kind>
CWorldMap<Kind>::CWorldMap(std::string sectionName) : m_sectionName(std::move(sectionName))
{
}

template <class Kind> CWorldMap<Kind>::~CWorldMap()
{
    Clear();
}

template <class Kind> void CWorldMap<Kind>::Clear()
{
    m_selection.clear();
    m_index.clear();
    m_entities.clear();
}

template <class Kind> void CWorldMap<Kind>::ThrowNotFound(const wchar_t* method, std::string_view id)
{
    throw Misc::Error::CKVOError::Format(L"[CWorldMap::%s] Unit not found [%S]", method,
                                         std::string(id).c_str());
}

template <class Kind>
typename CWorldMap<Kind>::ManagedEntity& CWorldMap<Kind>::Stored(std::string_view id, const wchar_t* method)
{
    const auto found = m_index.find(id);
    if (found == m_index.end())
        ThrowNotFound(method, id);
    return *found->second.entity;
}

template <class Kind> void CWorldMap<Kind>::CopyUnit(std::string_view id, Entity*& copy)
{
    // A copy made aside, so that the source stays as it is and the stored
    // copy is made by the one assignment every stored entity goes through.
    ManagedEntity scratch(Stored(id, L"CopyUnit"));
    scratch.NewId();
    AddUnit(scratch, copy);
}

template <class Kind> void CWorldMap<Kind>::RemoveUnit(std::string_view id)
{
    const auto found = m_entities.find(id);
    if (found == m_entities.end())
        return;
    Deselect(id);
    m_index.erase(id);
    m_entities.erase(found);
}

template <class Kind> void CWorldMap<Kind>::GetUnit(std::string_view id, Entity*& entity)
{
    entity = FindUnit(id);
    if (entity == nullptr)
        ThrowNotFound(L"GetUnit", id);
}

template <class Kind> Misc::World::IEntityInterface* CWorldMap<Kind>::GetUnit(std::string_view id)
{
    Entity* entity = nullptr;
    GetUnit(id, entity);
    return entity;
}

template <class Kind> void CWorldMap<Kind>::GetUnit(std::string_view id, ManagedEntity*& entity)
{
    entity = &Stored(id, L"GetUnit");
}

template <class Kind> void CWorldMap<Kind>::GetSelectedUnit(uint32_t index, Entity*& entity)
{
    entity = index < m_selection.size() ? FindUnit(m_selection[index]) : nullptr;
}

template <class Kind> Misc::World::IEntityInterface* CWorldMap<Kind>::GetSelectedUnit(uint32_t index)
{
    Entity* entity = nullptr;
    GetSelectedUnit(index, entity);
    return entity;
}

template <class Kind> void CWorldMap<Kind>::GetUnits(std::vector<Entity*>& entities)
{
    entities.reserve(entities.size() + m_entities.size());
    for (auto& [id, entity] : m_entities)
        entities.push_back(&entity);
}

template <class Kind> void CWorldMap<Kind>::GetSelectedIds(std::vector<std::string>& ids) const
{
    ids.insert(ids.end(), m_selection.begin(), m_selection.end());
}

template <class Kind> bool CWorldMap<Kind>::IsSelected(std::string_view id) const
{
    return std::find(m_selection.begin(), m_selection.end(), id) != m_selection.end();
}

template <class Kind> bool CWorldMap<Kind>::Select(std::string_view id)
{
    if (!Exists(id) || IsSelected(id))
        return false;
    m_selection.emplace_back(id);
    return true;
}

template <class Kind> void CWorldMap<Kind>::SelectAll()
{
    DeselectAll();
    m_selection.reserve(m_entities.size());
    for (const auto& entry : m_entities)
        m_selection.push_back(entry.first);
}

template <class Kind> bool CWorldMap<Kind>::Deselect(std::string_view id)
{
    const auto found = std::find(m_selection.begin(), m_selection.end(), id);
    if (found == m_selection.end())
        return false;
    m_selection.erase(found);
    return true;
}

template <class Kind> void CWorldMap<Kind>::SetVisible(bool visible)
{
    m_visible = visible;
    for (auto& entry : m_entities)
        entry.second.SetVisible(visible);
}

template <class Kind>
bool CWorldMap<Kind>::CreateIterator(CWorldMapEntityIterator*& iterator, std::string_view startId)
{
    return CreateTableIterator(m_entities, iterator, startId);
}

template <class Kind> Misc::World::IEntityInterface* CWorldMap<Kind>::FindUnit(std::string_view id)
{
    // The group asks every collection in turn; an empty one answers
    // without hashing the id.
    if (m_index.empty())
        return nullptr;
    const auto found = m_index.find(id);
    return found == m_index.end() ? nullptr : found->second.face;
}

template <class Kind> void CWorldMap<Kind>::CreateUnit(Entity*& created)
{
    const ManagedEntity fresh;
    AddUnit(fresh, created);
}

template <class Kind> void CWorldMap<Kind>::AddUnit(const ManagedEntity& entity, Entity*& stored)
{
    // A new entity is made in its node and then given the settings, so it
    // never moves once stored; a present id keeps its entity.
    const auto [position, added] = m_entities.try_emplace(entity.GetId());
    if (added)
    {
        m_index.emplace(position->first, SIndexed{&position->second, &position->second});
        position->second = entity;
    }
    stored = &position->second;
}

template <class Kind> Misc::World::IEntityInterface* CWorldMap<Kind>::AddUnit(const ManagedEntity& entity)
{
    Entity* stored = nullptr;
    AddUnit(entity, stored);
    return stored;
}

template <class Kind> bool CWorldMap<Kind>::Write(Misc::Serialization::IArchive& archive)
{
    if (!archive.EndLine(0) || !archive.WriteString((m_sectionName + "{").c_str()) || !archive.EndLine(+1))
        return false;
    for (auto& entry : m_entities)
    {
        if (!entry.second.Write(archive))
            return false;
    }
    return archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

template <class Kind> bool CWorldMap<Kind>::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken((m_sectionName + "{").c_str());
    // One entity reads every block in turn; each is stored as a copy.
    const auto scratch = std::make_unique<ManagedEntity>();
    while (archive.TestToken(CManagedKind<Kind>::kBlock, true))
    {
        scratch->Read(archive);
        AddUnit(*scratch);
        scratch->Clear();
    }
    // Only the section's own "}" ends it: another kind's block here would
    // otherwise be lost along with the rest of the section.
    archive.ExpectToken("}");
    return true;
}

template class CWorldMap<Graphics::Scene::CGraphicalCursor>;
template class CWorldMap<Graphics::Scene::CGraphicalCamera>;
template class CWorldMap<Graphics::Scene::CGraphicalLight>;
template class CWorldMap<Graphics::Scene::CGraphicalParticleSystem>;
template class CWorldMap<Graphics::Scene::CGraphicalWaypoint>;
template class CWorldMap<Graphics::Scene::CGraphicalTrigger>;
template class CWorldMap<Graphics::Scene::CGraphicalBillboard>;
template class CWorldMap<Graphics::Scene::CGraphicalWater>;
template class CWorldMap<Graphics::Scene::CGraphicalTerrain>;
template class CWorldMap<Graphics::Scene::CGraphicalUnit>;
template class CWorldMap<Graphics::Scene::CGraphicalAgent>;
