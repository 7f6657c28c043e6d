#include "world/WorldMapGroup.h"

#include "core/foundation/KVOError.h"
#include "world/WorldMapGroupIterator.h"

#include <new>

namespace
{
[[noreturn]] void ThrowNotFound(const wchar_t* method, std::string_view id)
{
    throw Misc::Error::CKVOError::Format(L"[CWorldMapGroup::%s] Unit not found [%S]", method,
                                         std::string(id).c_str());
}
} // namespace

void CWorldMapGroup::AddMap(IWorldMap* map)
{
    map->JoinIdIndex(m_ids, static_cast<uint32_t>(m_maps.size()));
    m_maps.push_back(map);
}

IWorldMap* CWorldMapGroup::GetHolder(std::string_view id) const
{
    const CWorldIdIndex::SEntry* found = m_ids->Find(id);
    return found != nullptr ? found->holder : nullptr;
}

Misc::World::IEntityInterface* CWorldMapGroup::FindUnit(std::string_view id) const
{
    const CWorldIdIndex::SEntry* found = m_ids->Find(id);
    return found != nullptr ? found->face : nullptr;
}

void CWorldMapGroup::Clear()
{
    for (IWorldMap* map : m_maps)
        map->Clear();
}

uint32_t CWorldMapGroup::GetCount() const
{
    uint32_t count = 0;
    for (const IWorldMap* map : m_maps)
        count += map->GetCount();
    return count;
}

void CWorldMapGroup::CopyUnit(std::string_view id, Entity*& copy)
{
    IWorldMap* holder = GetHolder(id);
    if (holder == nullptr)
        ThrowNotFound(L"CopyUnit", id);
    holder->CopyUnit(id, copy);
}

void CWorldMapGroup::RemoveUnit(std::string_view id)
{
    if (IWorldMap* holder = GetHolder(id))
        holder->RemoveUnit(id);
}

void CWorldMapGroup::GetUnit(std::string_view id, Entity*& entity)
{
    entity = FindUnit(id);
    if (entity == nullptr)
        ThrowNotFound(L"GetUnit", id);
}

Misc::World::IEntityInterface* CWorldMapGroup::GetUnit(std::string_view id)
{
    Entity* entity = nullptr;
    GetUnit(id, entity);
    return entity;
}

void CWorldMapGroup::GetSelectedUnit(uint32_t index, Entity*& entity)
{
    entity = nullptr;
    uint32_t remaining = index;
    for (IWorldMap* map : m_maps)
    {
        const uint32_t selected = map->GetSelectedCount();
        if (selected > remaining)
        {
            map->GetSelectedUnit(remaining, entity);
            return;
        }
        remaining -= selected;
    }
}

Misc::World::IEntityInterface* CWorldMapGroup::GetSelectedUnit(uint32_t index)
{
    Entity* entity = nullptr;
    GetSelectedUnit(index, entity);
    return entity;
}

void CWorldMapGroup::GetUnits(std::vector<Entity*>& entities)
{
    for (IWorldMap* map : m_maps)
        map->GetUnits(entities);
}

void CWorldMapGroup::GetSelectedIds(std::vector<std::string>& ids) const
{
    for (const IWorldMap* map : m_maps)
        map->GetSelectedIds(ids);
}

uint32_t CWorldMapGroup::GetSelectedCount() const
{
    uint32_t count = 0;
    for (const IWorldMap* map : m_maps)
        count += map->GetSelectedCount();
    return count;
}

bool CWorldMapGroup::IsSelected(std::string_view id) const
{
    for (const IWorldMap* map : m_maps)
    {
        if (map->IsSelected(id))
            return true;
    }
    return false;
}

bool CWorldMapGroup::Select(std::string_view id)
{
    IWorldMap* holder = GetHolder(id);
    return holder != nullptr && holder->Select(id);
}

void CWorldMapGroup::SelectAll()
{
    for (IWorldMap* map : m_maps)
        map->SelectAll();
}

bool CWorldMapGroup::Deselect(std::string_view id)
{
    IWorldMap* holder = GetHolder(id);
    return holder != nullptr && holder->Deselect(id);
}

void CWorldMapGroup::DeselectAll()
{
    for (IWorldMap* map : m_maps)
        map->DeselectAll();
}

bool CWorldMapGroup::Exists(std::string_view id) const
{
    return GetHolder(id) != nullptr;
}

bool CWorldMapGroup::IsVisible() const
{
    for (const IWorldMap* map : m_maps)
    {
        if (!map->IsVisible())
            return false;
    }
    return true;
}

void CWorldMapGroup::SetVisible(bool visible)
{
    for (IWorldMap* map : m_maps)
        map->SetVisible(visible);
}

bool CWorldMapGroup::CreateIterator(CWorldMapEntityIterator*& iterator)
{
    return StoreWorldMapIterator<Misc::World::IEntityInterface>(
        new (std::nothrow) CWorldMapGroupIterator(*this), iterator);
}
