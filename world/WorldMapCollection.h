#pragma once

// The world's per-kind collection of entities, CWorldMap<Kind>: a named,
// saveable table of one kind's managed entities keyed by id, with an
// ordered selection and a visibility flag. It is saved as one section of the
// world file: the section name and "{", each entity's block in id order,
// "}".

#include "core/io/Archive.h"
#include "core/io/Serializable.h"
#include "core/world/EntityStorage.h"
#include "world/ManagedCamera.h"
#include "world/ManagedEntity.h"
#include "world/EntityNodePool.h"
#include "world/ManagedWaypoint.h"
#include "world/WorldIdIndex.h"
#include "world/WorldMapInterface.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

template <class Kind>
class CWorldMap final : public IWorldMap,
                        public IUnitFactory<CManagedEntity<Kind>>,
                        public Misc::Serialization::ISerializable
{
public:
    using ManagedEntity = CManagedEntity<Kind>;
    // Ids compare as byte strings, so walks and saves run in ascending byte
    // order of the id text. The map keeps every entity where it was made,
    // in nodes from the collection's own pool.
    using Table = std::map<std::string, ManagedEntity, std::less<>,
                           CEntityNodeAllocator<std::pair<const std::string, ManagedEntity>>>;
    static_assert(Misc::World::kKeepsEntitiesInPlace<Table>);

    explicit CWorldMap(std::string sectionName = KindRowOf<Kind>().plural);
    ~CWorldMap() override;
    CWorldMap(const CWorldMap&) = delete;
    CWorldMap& operator=(const CWorldMap&) = delete;

    // Entities leave their engines as they are destroyed.
    void Clear() override;
    uint32_t GetCount() const override
    {
        return static_cast<uint32_t>(m_entities.size() + m_unordered.size());
    }
    // Throws "[CWorldMap::CopyUnit] Unit not found [id]".
    void CopyUnit(std::string_view id, Entity*& copy) override;
    // The entity leaves its engines as it is destroyed.
    void RemoveUnit(std::string_view id) override;
    // Throws "[CWorldMap::GetUnit] Unit not found [id]".
    void GetUnit(std::string_view id, Entity*& entity) override;
    Entity* GetUnit(std::string_view id) override;
    // The concrete entity, found and failing as the other lookups.
    void GetUnit(std::string_view id, ManagedEntity*& entity);
    // The concrete entity; null when there is none.
    ManagedEntity* FindStored(std::string_view id)
    {
        const CWorldIdIndex::SEntry* found = m_ids->Find(id, this);
        return found != nullptr ? static_cast<ManagedEntity*>(found->entity) : nullptr;
    }
    void GetSelectedUnit(uint32_t index, Entity*& entity) override;
    Entity* GetSelectedUnit(uint32_t index) override;
    void GetUnits(std::vector<Entity*>& entities) override;
    void GetSelectedIds(std::vector<std::string>& ids) const override;
    uint32_t GetSelectedCount() const override { return static_cast<uint32_t>(m_selection.size()); }
    bool IsSelected(std::string_view id) const override;
    bool Select(std::string_view id) override;
    void SelectAll() override;
    bool Deselect(std::string_view id) override;
    void DeselectAll() override { m_selection.clear(); }
    bool Exists(std::string_view id) const override { return m_ids->Find(id, this) != nullptr; }
    bool IsVisible() const override { return m_visible; }
    // Stores the flag and passes it to every entity held now; entities
    // added later keep their own.
    void SetVisible(bool visible) override;
    bool CreateIterator(CWorldMapEntityIterator*& iterator) override { return CreateIterator(iterator, {}); }
    bool CreateIterator(CWorldMapEntityIterator*& iterator, std::string_view startId) override;
    Entity* FindUnit(std::string_view id) override;
    const std::string& GetSectionName() const override { return m_sectionName; }
    void JoinIdIndex(const std::shared_ptr<CWorldIdIndex>& index, uint32_t rank) override;

    // The factory.
    void CreateUnit(Entity*& created) override;
    void AddUnit(const ManagedEntity& entity, Entity*& stored) override;
    Entity* AddUnit(const ManagedEntity& entity) override;

    // The section. Reading adds to what the collection holds; blocks whose
    // ids are present are dropped. Each block is read straight into the
    // entity that is stored. A section that does not open with its
    // own name, or that does not end with "}" after its own blocks, throws
    // the archive's reading error.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOWORLDMAP"; }

    // Every entity, whether or not the table has taken it in yet, in no
    // particular order; the table is not put in order for it.
    template <class F> void ForEachStored(F&& f)
    {
        for (Node& node : m_unordered)
            f(node.mapped());
        for (auto& entry : m_entities)
            f(entry.second);
    }
    size_t GetStoredCount() const { return m_entities.size() + m_unordered.size(); }

    // The table, for the iterators over parts; every entity is in it.
    Table& GetTable()
    {
        Order();
        return m_entities;
    }

private:
    using Node = typename Table::node_type;

    [[noreturn]] static void ThrowNotFound(const wchar_t* method, std::string_view id);
    ManagedEntity& Stored(std::string_view id, const wchar_t* method);
    // A new entity with the kind's defaults in a node of its own, not yet
    // in the table.
    Node NewNode();
    // Puts the node's entity in the table under its id; null, with the node
    // given back, when the id is present.
    ManagedEntity* Store(Node& node);
    void File(const std::string& id, ManagedEntity& entity);
    // The table takes the entities made since it was last in order.
    void Order();
    // Puts the node in the table; its id is not there.
    void Insert(Node& node);

    // Declared before everything that holds nodes, so that it goes last.
    CEntityNodePool m_nodes;
    Table m_entities;
    // Entities made but not yet in the table, in the order they were made.
    std::vector<Node> m_unordered;
    // The same entities by id, for lookups that do not walk the tree: an
    // index of the collection's own, or the one its group shares.
    std::shared_ptr<CWorldIdIndex> m_ids;
    uint32_t m_rank = 0;
    std::vector<std::string> m_selection;
    std::string m_sectionName;
    bool m_visible = true;
};

using CCursorMap = CWorldMap<Graphics::Scene::CGraphicalCursor>;
using CCameraMap = CWorldMap<Graphics::Scene::CGraphicalCamera>;
using CLightMap = CWorldMap<Graphics::Scene::CGraphicalLight>;
using CParticleSystemMap = CWorldMap<Graphics::Scene::CGraphicalParticleSystem>;
using CWaypointMap = CWorldMap<Graphics::Scene::CGraphicalWaypoint>;
using CTriggerMap = CWorldMap<Graphics::Scene::CGraphicalTrigger>;
using CBillboardMap = CWorldMap<Graphics::Scene::CGraphicalBillboard>;
using CWaterMap = CWorldMap<Graphics::Scene::CGraphicalWater>;
using CTerrainMap = CWorldMap<Graphics::Scene::CGraphicalTerrain>;
using CUnitMap = CWorldMap<Graphics::Scene::CGraphicalUnit>;
using CAgentMap = CWorldMap<Graphics::Scene::CGraphicalAgent>;

// Iterators over one collection that yield one part of each entity, for
// the code that hands the parts of every kind to an engine. Each starts as
// CreateIterator does and stores the new iterator the same way.
template <class Kind>
bool CreateGraphicalIterator(CWorldMap<Kind>& map,
                             CWorldMapIterator<Graphics::Scene::CGraphicalEntity>*& iterator,
                             std::string_view startId = {})
{
    return CreateTableIterator(map.GetTable(), iterator, startId);
}

template <class Kind>
bool CreatePhysicalIterator(CWorldMap<Kind>& map, CWorldMapIterator<CPhysicalEntity>*& iterator,
                            std::string_view startId = {})
{
    return CreateTableIterator(map.GetTable(), iterator, startId);
}

template <class Kind>
bool CreateSonicIterator(CWorldMap<Kind>& map, CWorldMapIterator<CSonicEntity>*& iterator,
                         std::string_view startId = {})
{
    return CreateTableIterator(map.GetTable(), iterator, startId);
}

// The kinds are built once, in WorldMapCollection.cpp.
#define HALVANE_DECLARE_WORLD_MAP(Class) extern template class CWorldMap<Graphics::Scene::Class>;
HALVANE_COLLECTED_KIND_CLASSES(HALVANE_DECLARE_WORLD_MAP)
#undef HALVANE_DECLARE_WORLD_MAP
