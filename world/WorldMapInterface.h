#pragma once

#include "world/WorldMapIterator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWorldIdIndex;

// The operations that a collection of entities and a group of collections
// share. Ids are the narrow text of an entity's UUID; entities are handed out
// as their IEntityInterface, pointing into the collection's storage (valid
// until the entity is removed or the collection cleared or destroyed).
class IWorldMapOperations
{
public:
    using Entity = Misc::World::IEntityInterface;

    virtual ~IWorldMapOperations() = default;

    // Destroys every entity and empties the selection.
    virtual void Clear() = 0;
    virtual uint32_t GetCount() const = 0;
    // Stores a copy of the entity under a fresh id; throws
    // "[...::CopyUnit] Unit not found [id]" when there is none.
    virtual void CopyUnit(std::string_view id, Entity*& copy) = 0;
    // Deselects and destroys the entity; nothing when there is none.
    virtual void RemoveUnit(std::string_view id) = 0;
    // Throws "[...::GetUnit] Unit not found [id]" when there is none.
    virtual void GetUnit(std::string_view id, Entity*& entity) = 0;
    virtual Entity* GetUnit(std::string_view id) = 0;
    // The entity of the index-th selected id; null past the selection.
    virtual void GetSelectedUnit(uint32_t index, Entity*& entity) = 0;
    virtual Entity* GetSelectedUnit(uint32_t index) = 0;
    // Append, in id order and in selection order; the vectors are not
    // emptied first.
    virtual void GetUnits(std::vector<Entity*>& entities) = 0;
    virtual void GetSelectedIds(std::vector<std::string>& ids) const = 0;
    virtual uint32_t GetSelectedCount() const = 0;
    virtual bool IsSelected(std::string_view id) const = 0;
    // False, changing nothing, for an unknown or already selected id.
    virtual bool Select(std::string_view id) = 0;
    // Every entity once, in id order.
    virtual void SelectAll() = 0;
    // False when the id is not selected.
    virtual bool Deselect(std::string_view id) = 0;
    virtual void DeselectAll() = 0;
    virtual bool Exists(std::string_view id) const = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    // A new iterator on the first entity in `iterator` (an iterator it held
    // before is deleted); false when none could be made.
    virtual bool CreateIterator(CWorldMapEntityIterator*& iterator) = 0;
};

// One collection of the world: the shared operations, an iterator from a
// given entity and a lookup that does not throw.
class IWorldMap : public IWorldMapOperations
{
public:
    using IWorldMapOperations::CreateIterator;
    // On the entity under `startId` (done at once when there is none), on
    // the first entity for an empty id.
    virtual bool CreateIterator(CWorldMapEntityIterator*& iterator, std::string_view startId) = 0;
    // The entity, or null when there is none.
    virtual Entity* FindUnit(std::string_view id) = 0;
    // The section name the collection is saved under ("Lights", ...).
    virtual const std::string& GetSectionName() const = 0;
    // Files the collection's ids in the index shared by a group, at its
    // place in the group's search order, from now on. A collection on its
    // own keeps an index of its own.
    virtual void JoinIdIndex(const std::shared_ptr<CWorldIdIndex>& index, uint32_t rank) = 0;
};

// Makes and stores the entities of one collection. Every stored entity is a
// copy; the results point at the stored copy, never at the caller's object.
template <class ManagedEntity> class IUnitFactory
{
public:
    virtual ~IUnitFactory() = default;

    // A new entity with the kind's defaults under a fresh id.
    virtual void CreateUnit(Misc::World::IEntityInterface*& created) = 0;
    // Stores a copy under the entity's id, unless the id is present: then
    // the stored entity stays and is the one given back.
    virtual void AddUnit(const ManagedEntity& entity, Misc::World::IEntityInterface*& stored) = 0;
    virtual Misc::World::IEntityInterface* AddUnit(const ManagedEntity& entity) = 0;
};
