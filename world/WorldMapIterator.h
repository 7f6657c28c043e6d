#pragma once

#include "core/world/EntityInterface.h"

#include <new>
#include <string_view>

// Walks the entities of one collection, or of every collection of a group,
// without showing the container. `Item` is what the walk yields for each
// entity: the entity itself (its IEntityInterface) or one of its parts
// (CGraphicalEntity, CPhysicalEntity, CSonicEntity), so that code handing
// parts to an engine treats every kind alike. The caller owns the iterator.
template <class Item> class CWorldMapIterator
{
public:
    virtual ~CWorldMapIterator() = default;

    // To the first entity.
    virtual void First() = 0;
    // Past the last entity: the iterator is done.
    virtual void End() = 0;
    // One entity forward; nothing when done.
    virtual void Next() = 0;
    // One entity back; nothing at the first entity.
    virtual void Previous() = 0;
    // On the first entity (also when there is none).
    virtual bool IsFirst() = 0;
    // Past the last entity.
    virtual bool IsDone() = 0;
    // What the current entity yields; null when done.
    virtual Item* CurrentItem() = 0;
    virtual bool IsValid() const { return true; }
};

using CWorldMapEntityIterator = CWorldMapIterator<Misc::World::IEntityInterface>;

// An iterator over one collection's entity table, in the table's id order.
// It must not outlive the collection; removing the entity it stands on
// invalidates it.
template <class Table, class Item> class CWorldMapTableIterator final : public CWorldMapIterator<Item>
{
public:
    // On the entity under `startId`, done at once when the table has none;
    // on the first entity with an empty start id.
    CWorldMapTableIterator(Table& table, std::string_view startId)
        : m_table(&table), m_position(startId.empty() ? table.begin() : table.find(startId))
    {
    }

    void First() override { m_position = m_table->begin(); }
    void End() override { m_position = m_table->end(); }
    void Next() override
    {
        if (m_position != m_table->end())
            ++m_position;
    }
    void Previous() override
    {
        if (m_position != m_table->begin())
            --m_position;
    }
    bool IsFirst() override { return m_position == m_table->begin(); }
    bool IsDone() override { return m_position == m_table->end(); }
    // Every entity is each of its parts, so the yield is an upcast.
    Item* CurrentItem() override { return m_position == m_table->end() ? nullptr : &m_position->second; }

private:
    Table* m_table;
    typename Table::iterator m_position;
};

// Stores a new iterator in `out`, deleting the one it held before unless it
// is the same; false, leaving `out` as it was, when none could be made.
template <class Item> bool StoreWorldMapIterator(CWorldMapIterator<Item>* made, CWorldMapIterator<Item>*& out)
{
    if (made == nullptr)
        return false;
    if (out != nullptr && out != made)
        delete out;
    out = made;
    return true;
}

// A new iterator over the table, yielding `Item`, stored in `out` as above.
template <class Item, class Table>
bool CreateTableIterator(Table& table, CWorldMapIterator<Item>*& out, std::string_view startId)
{
    return StoreWorldMapIterator<Item>(new (std::nothrow) CWorldMapTableIterator<Table, Item>(table, startId),
                                       out);
}
