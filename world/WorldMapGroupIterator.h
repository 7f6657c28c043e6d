#pragma once

#include "world/WorldMapIterator.h"

#include <cstddef>
#include <memory>

class CWorldMapGroup;

// Walks every entity of a group: collection after collection in the group's
// order, each in id order, stepping over empty collections. It must not
// outlive the group or its collections.
class CWorldMapGroupIterator final : public CWorldMapEntityIterator
{
public:
    // On the group's first entity.
    explicit CWorldMapGroupIterator(CWorldMapGroup& group);

    void First() override;
    // Past the last collection; the current collection's iterator stays.
    void End() override;
    void Next() override;
    // The entity before the current one in group order (the last entity
    // when done); nothing on the first entity.
    void Previous() override;
    bool IsFirst() override;
    // Steps over empty collections before it answers.
    bool IsDone() override;
    Misc::World::IEntityInterface* CurrentItem() override;

private:
    // Makes the iterator of collection `index` the current one, on its first
    // entity; past the last collection there is none to make.
    void Enter(size_t index);
    // On to the next collection with an entity, or past the last one.
    void MoveOn();
    // Makes the last entity of the last non-empty collection before `end`
    // the current one; false, changing nothing, when there is none.
    bool EnterLastBefore(size_t end);

    CWorldMapGroup* m_group;
    size_t m_index = 0;
    std::unique_ptr<CWorldMapEntityIterator> m_inner;
};
