#include "world/WorldMapCollection.h"

#include <algorithm>
#include <functional>
#include <vector>
#include <new>

template <class Kind>
CWorldMap<Kind>::CWorldMap(std::string sectionName)
    : m_entities(typename Table::allocator_type(&m_nodes)), m_ids(std::make_shared<CWorldIdIndex>()),
      m_sectionName(std::move(sectionName))
{
}

template <class Kind> CWorldMap<Kind>::~CWorldMap()
{
    Clear();
}

template <class Kind> void CWorldMap<Kind>::Clear()
{
    m_selection.clear();
    // Each entity is filed once: an index holding as many ids holds only
    // this collection's, and is emptied without hashing one.
    if (m_ids->GetCount() == m_entities.size() + m_unordered.size())
        m_ids->Clear();
    else
    {
        for (Node& node : m_unordered)
            m_ids->Remove(node.key(), this);
        for (auto& entry : m_entities)
            m_ids->Remove(entry.first, this);
    }
    m_unordered.clear();
    // Destroyed in the order of their addresses, mostly the order they were
    // made: in id order a large collection would miss the cache at every
    // entity.
    std::vector<typename Table::iterator> entities;
    entities.reserve(m_entities.size());
    for (auto at = m_entities.begin(); at != m_entities.end(); ++at)
        entities.push_back(at);
    std::sort(entities.begin(), entities.end(),
              [](const auto& a, const auto& b) { return std::less<>()(&a->second, &b->second); });
    for (const auto& at : entities)
        m_entities.erase(at);
}

template <class Kind>
void CWorldMap<Kind>::JoinIdIndex(const std::shared_ptr<CWorldIdIndex>& index, uint32_t rank)
{
    if (index == nullptr || index == m_ids)
        return;
    Order();
    for (auto& entry : m_entities)
        m_ids->Remove(entry.first, this);
    m_ids = index;
    m_rank = rank;
    m_ids->Reserve(m_ids->GetCount() + m_entities.size());
    for (auto& entry : m_entities)
        File(entry.first, entry.second);
}

template <class Kind> void CWorldMap<Kind>::File(const std::string& id, ManagedEntity& entity)
{
    m_ids->Add(id, CWorldIdIndex::SEntry{this, &entity, &entity, m_rank});
}

template <class Kind> void CWorldMap<Kind>::Order()
{
    if (m_unordered.empty())
        return;
    // Sorted by the ids' first eight characters held beside the nodes, the
    // whole ids only among equal ones: the nodes themselves are not touched
    // until they go in, in id order, mostly at the end of the table.
    struct SOrdered
    {
        uint64_t prefix;
        Node* node;
    };
    std::vector<SOrdered> order;
    order.reserve(m_unordered.size());
    for (Node& node : m_unordered)
    {
        uint64_t prefix = 0;
        const std::string& id = node.key();
        for (size_t at = 0; at < 8; ++at)
            prefix = prefix << 8 | (at < id.size() ? static_cast<unsigned char>(id[at]) : 0u);
        order.push_back({prefix, &node});
    }
    std::sort(order.begin(), order.end(),
              [](const SOrdered& a, const SOrdered& b)
              { return a.prefix != b.prefix ? a.prefix < b.prefix : a.node->key() < b.node->key(); });
    for (const SOrdered& entry : order)
        Insert(*entry.node);
    m_unordered.clear();
}

template <class Kind> void CWorldMap<Kind>::Insert(Node& node)
{
    // Ids that come in ascending order (a saved world, a sorted batch) go
    // in at the end without a search.
    if (m_entities.empty() || std::prev(m_entities.end())->first < node.key())
        m_entities.insert(m_entities.end(), std::move(node));
    else
        m_entities.insert(std::move(node));
}

template <class Kind> void CWorldMap<Kind>::ThrowNotFound(const wchar_t* method, std::string_view id)
{
    throw Misc::Error::CKVOError::Format(L"[CWorldMap::%s] Unit not found [%S]", method,
                                         std::string(id).c_str());
}

template <class Kind>
typename CWorldMap<Kind>::ManagedEntity& CWorldMap<Kind>::Stored(std::string_view id, const wchar_t* method)
{
    const CWorldIdIndex::SEntry* found = m_ids->Find(id, this);
    if (found == nullptr)
        ThrowNotFound(method, id);
    return *static_cast<ManagedEntity*>(found->entity);
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
    if (!Exists(id))
        return;
    Order();
    const auto found = m_entities.find(id);
    if (found == m_entities.end())
        return;
    Deselect(id);
    m_ids->Remove(found->first, this);
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
    Order();
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
    Order();
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
    for (auto& entry : GetTable())
        entry.second.SetVisible(visible);
}

template <class Kind>
bool CWorldMap<Kind>::CreateIterator(CWorldMapEntityIterator*& iterator, std::string_view startId)
{
    return CreateTableIterator(GetTable(), iterator, startId);
}

template <class Kind> Misc::World::IEntityInterface* CWorldMap<Kind>::FindUnit(std::string_view id)
{
    // The group asks every collection in turn; an empty one answers
    // without hashing the id.
    if (m_entities.empty() && m_unordered.empty())
        return nullptr;
    const CWorldIdIndex::SEntry* found = m_ids->Find(id, this);
    return found == nullptr ? nullptr : found->face;
}

template <class Kind> typename CWorldMap<Kind>::Node CWorldMap<Kind>::NewNode()
{
    // A node is made by a table and taken out of it again: the entity is
    // built where it stays and keyed once its id is known.
    Table maker(m_entities.get_allocator());
    return maker.extract(maker.try_emplace(std::string()).first);
}

template <class Kind> typename CWorldMap<Kind>::ManagedEntity* CWorldMap<Kind>::Store(Node& node)
{
    node.key() = node.mapped().GetId();
    if (Exists(node.key()))
        return nullptr;
    ManagedEntity& entity = node.mapped();
    File(node.key(), entity);
    Insert(node);
    return &entity;
}

template <class Kind> void CWorldMap<Kind>::CreateUnit(Entity*& created)
{
    Node node = NewNode();
    node.key() = node.mapped().GetId();
    // A new id that is taken already is drawn again.
    while (Exists(node.key()))
    {
        node.mapped().NewId();
        node.key() = node.mapped().GetId();
    }
    // The table takes it in order when it is next walked: scripts make
    // many entities in a row, and random ids would each search the tree.
    ManagedEntity& entity = node.mapped();
    File(node.key(), entity);
    m_unordered.push_back(std::move(node));
    created = &entity;
}

template <class Kind> void CWorldMap<Kind>::AddUnit(const ManagedEntity& entity, Entity*& stored)
{
    // A new entity is made in its node and then given the settings, so it
    // never moves once stored; a present id keeps its entity.
    Order();
    const auto [position, added] = m_entities.try_emplace(entity.GetId());
    if (added)
    {
        File(position->first, position->second);
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
    for (auto& entry : GetTable())
    {
        if (!entry.second.Write(archive))
            return false;
    }
    return archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

template <class Kind> bool CWorldMap<Kind>::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken((m_sectionName + "{").c_str());
    while (archive.TestToken(KindRowOf<Kind>().block, true))
    {
        // A block whose id is present goes with its node.
        Node node = NewNode();
        node.mapped().Read(archive);
        Store(node);
    }
    // Only the section's own "}" ends it: another kind's block here would
    // otherwise be lost along with the rest of the section.
    archive.ExpectToken("}");
    return true;
}

#define HALVANE_BUILD_WORLD_MAP(Class) template class CWorldMap<Graphics::Scene::Class>;
HALVANE_COLLECTED_KIND_CLASSES(HALVANE_BUILD_WORLD_MAP)
#undef HALVANE_BUILD_WORLD_MAP
