#pragma once

#include "world/WorldIdIndex.h"
#include "world/WorldMapInterface.h"

#include <memory>
#include <string>
#include <vector>

// Makes a list of collections look like one: each operation goes to the
// collections in list order. An id belongs to the first collection that
// holds it. The group neither owns nor destroys its collections; its owner
// fills the list right after construction (the world: Cursors, Units,
// Cameras, Agents, Lights, ParticleSystems, Waypoints, Triggers, Billboards,
// Waters, Terrains).
class CWorldMapGroup : public IWorldMapOperations
{
public:
    CWorldMapGroup() = default;
    CWorldMapGroup(const CWorldMapGroup&) = delete;
    CWorldMapGroup& operator=(const CWorldMapGroup&) = delete;

    // Puts a collection last in the search order. The collections file
    // their ids in one index the group keeps with them, so that a lookup
    // across them all is one lookup.
    void AddMap(IWorldMap* map);
    const std::vector<IWorldMap*>& GetMaps() const { return m_maps; }
    // The collection that holds the id; null when none does.
    IWorldMap* GetHolder(std::string_view id) const;

    void Clear() override;
    uint32_t GetCount() const override;
    // Throws "[CWorldMapGroup::CopyUnit] Unit not found [id]".
    void CopyUnit(std::string_view id, Entity*& copy) override;
    void RemoveUnit(std::string_view id) override;
    // Throws "[CWorldMapGroup::GetUnit] Unit not found [id]", with the
    // entity pointer null.
    void GetUnit(std::string_view id, Entity*& entity) override;
    Entity* GetUnit(std::string_view id) override;
    // The group's selection is each collection's in list order.
    void GetSelectedUnit(uint32_t index, Entity*& entity) override;
    Entity* GetSelectedUnit(uint32_t index) override;
    void GetUnits(std::vector<Entity*>& entities) override;
    void GetSelectedIds(std::vector<std::string>& ids) const override;
    uint32_t GetSelectedCount() const override;
    bool IsSelected(std::string_view id) const override;
    bool Select(std::string_view id) override;
    void SelectAll() override;
    bool Deselect(std::string_view id) override;
    void DeselectAll() override;
    bool Exists(std::string_view id) const override;
    // True when every collection is visible.
    bool IsVisible() const override;
    void SetVisible(bool visible) override;
    // Walks every entity, collection after collection.
    bool CreateIterator(CWorldMapEntityIterator*& iterator) override;

    // The entity, or null when no collection holds it.
    Entity* FindUnit(std::string_view id) const;
    // The index of the ids of every collection of the group.
    const CWorldIdIndex& GetIdIndex() const { return *m_ids; }

private:
    std::vector<IWorldMap*> m_maps;
    std::shared_ptr<CWorldIdIndex> m_ids = std::make_shared<CWorldIdIndex>();
};
