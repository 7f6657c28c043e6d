#pragma once

#include "core/io/DataBag.h"
#include "core/io/Serializable.h"
#include "core/world/TypeId.h"
#include "graphics/engine/ParentEntityLookup.h"
#include "physics/JointEntityLookup.h"
#include "world/Fog.h"
#include "world/Sky.h"
#include "world/WorldMapCollection.h"
#include "world/WorldMapGroup.h"

#include <string>
#include <tuple>
#include <utility>

class CWorld;
class CPhysicsEngine;
class CSoundEngine;
namespace Graphics
{
class IWorldGraphics;
}

// The contents of the world: its names, its data bag, the fog and sky and
// the eleven per-kind collections, with a group that searches them all in
// the fixed order Cursors, Units, Cameras, Agents, Lights, ParticleSystems,
// Waypoints, Triggers, Billboards, Waters, Terrains. The object lives as
// long as the world object; loading and unloading change its contents.
//
// Saved, it is the body of a world file: "-Script", the graphics, physics
// and sound engines' settings, the fog, the sky, the data bag and the eleven
// collection sections (Cursors, Cameras, Lights, ParticleSystems, Units,
// Billboards, Waters, Terrains, Waypoints, Triggers, Agents). Files older
// than FileVersion::kEngineRecords hold only the physics settings, after
// the sky.
class CWorldData final : public Misc::Serialization::ISerializable,
                         public IJointEntityLookup,
                         public Graphics::IParentEntityLookup
{
public:
    explicit CWorldData(CWorld* owner);
    ~CWorldData() override;
    CWorldData(const CWorldData&) = delete;
    CWorldData& operator=(const CWorldData&) = delete;

    CWorld* GetOwner() const { return m_owner; }

    const std::wstring& GetPath() const { return m_path; }
    void SetPath(const std::wstring& path) { m_path = path; }
    const std::wstring& GetDataFilename() const { return m_dataFilename; }
    const std::wstring& GetScript() const { return m_script; }
    // An empty name keeps the one stored.
    void SetScript(const std::wstring& script);
    // The path made absolute against the current directory and cleaned.
    std::wstring GetPathLong() const;
    // The world's script inside the world's folder (GetPathLong, "/", the
    // script name); empty when the name is empty, absolute or leads out of
    // the folder.
    std::wstring GetScriptPath() const;

    // Reads the world file `file` in `folder` through the application's
    // file system and adds its contents to the map. The folder and file
    // name are stored when forced or when no path is stored yet, and only
    // when the file was read. A script name that is not empty replaces the
    // stored one before reading (the file's "-Script" then replaces it).
    // False when the file is missing or no archive of a world; an error in
    // the body passes to the caller.
    bool Load(const std::wstring& folder, const std::wstring& file, const std::wstring& script, bool force);
    // Writes the world file `file` into `folder` (created as needed) in the
    // mode ("COMPRESSED", "BINARY" or a text encoding), through a temporary
    // file put in place only when every write succeeded. With copyFolder,
    // the folder the world came from is copied there first, unless there
    // is none or it is the same folder or one that holds the new one. The
    // folder and file name are stored on success; a failed save leaves the
    // old file and the stored names as they were. False when the folder,
    // the file or a write of it fails; an error in the body passes to the
    // caller, as it does for Load.
    bool Save(const std::wstring& folder, const std::wstring& file, const std::string& mode, bool copyFolder);

    // The body of a world file. One rule for both: a body that cannot be
    // read or written at all (no engines, a malformed record) throws a
    // "[Class::Method] ..." error, which loses nothing and tells why; a
    // failed write of the bytes makes Write false and is also kept by the
    // archive, whose Close then fails, so the old file stays.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOWORLDDATA"; }

    // The entity of the id in the group's order; null when none has it.
    // What the joints and the parent links find their entities with.
    Misc::World::IEntityInterface* FindEntity(const std::string& id) override;

    CDataBag& GetDataBag() { return m_dataBag; }
    CFog& GetFog() { return m_fog; }
    CSky& GetSky() { return m_sky; }

    CCursorMap& GetCursors() { return m_cursors; }
    CCameraMap& GetCameras() { return m_cameras; }
    CLightMap& GetLights() { return m_lights; }
    CParticleSystemMap& GetParticleSystems() { return m_particleSystems; }
    CWaypointMap& GetWaypoints() { return m_waypoints; }
    CTriggerMap& GetTriggers() { return m_triggers; }
    CBillboardMap& GetBillboards() { return m_billboards; }
    CWaterMap& GetWaters() { return m_waters; }
    CTerrainMap& GetTerrains() { return m_terrains; }
    CUnitMap& GetUnits() { return m_units; }
    CAgentMap& GetAgents() { return m_agents; }
    CWorldMapGroup& GetGroup() { return m_group; }
    // The collection of one kind (an ITypeId bit); null for a bit that is
    // no collection's.
    IWorldMap* GetMap(uint32_t typeId);

    // Calls f with each collection, in one of the kinds' fixed orders.
    template <Misc::World::EKindOrder Order, class F> void ForEachKind(F&& f)
    {
        ForEachKindAt<Order>(f, std::make_index_sequence<Misc::World::CountInOrder(Order)>{});
    }
    // The collections as pointers to their members, in the order they are
    // declared and so built (the kinds' Members order).
    static constexpr auto Collections()
    {
        return std::make_tuple(&CWorldData::m_cursors, &CWorldData::m_cameras, &CWorldData::m_lights,
                               &CWorldData::m_particleSystems, &CWorldData::m_waypoints,
                               &CWorldData::m_triggers, &CWorldData::m_billboards, &CWorldData::m_waters,
                               &CWorldData::m_terrains, &CWorldData::m_units, &CWorldData::m_agents);
    }

    // Empties names, data bag, collections and sky; the fog stays.
    void Clear();
    // Drops every waypoint connection whose destination is no waypoint of
    // the collection.
    void RemoveInvalidWaypointConnections();

    // The engines of the world's engine object; null where there is none.
    struct SEngines
    {
        Graphics::IWorldGraphics* graphics = nullptr;
        CPhysicsEngine* physics = nullptr;
        CSoundEngine* sound = nullptr;
    };
    SEngines GetEngines() const;

private:
    template <Misc::World::EKindOrder Order, class F, size_t... Index>
    void ForEachKindAt(F& f, std::index_sequence<Index...>)
    {
        constexpr auto ids = Misc::World::KindIdsInOrder<Order>();
        // Collections() lists the collections in the Members order, so a
        // kind's rank there is its place in the list.
        (f(this->*std::get<Misc::World::kKinds[Misc::World::FindKindIndex(ids[Index])].RankIn(
                      Misc::World::EKindOrder::Members)>(Collections())),
         ...);
    }

    CWorld* m_owner;
    std::wstring m_path;
    std::wstring m_dataFilename;
    std::wstring m_script = L"world";
    CDataBag m_dataBag;
    CFog m_fog;
    CSky m_sky;
    CCursorMap m_cursors;
    CCameraMap m_cameras;
    CLightMap m_lights;
    CParticleSystemMap m_particleSystems;
    CWaypointMap m_waypoints;
    CTriggerMap m_triggers;
    CBillboardMap m_billboards;
    CWaterMap m_waters;
    CTerrainMap m_terrains;
    CUnitMap m_units;
    CAgentMap m_agents;
    CWorldMapGroup m_group;
};
