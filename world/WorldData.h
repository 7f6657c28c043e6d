#pragma once

#include "core/io/DataBag.h"
#include "world/Fog.h"
#include "world/Sky.h"
#include "world/WorldMapCollection.h"
#include "world/WorldMapGroup.h"

#include <string>
#include <vector>

class CWorld;

// The contents of the world: its names, its data bag, the fog and sky and
// the eleven per-kind collections, with a group that searches them all in
// the fixed order Cursors, Units, Cameras, Agents, Lights, ParticleSystems,
// Waypoints, Triggers, Billboards, Waters, Terrains. The object lives as
// long as the world object; loading and unloading change its contents.
class CWorldData : public Misc::Serialization::ISerializable
{
public:
    explicit CWorldData(CWorld* owner);
    virtual ~CWorldData() = default;
    CWorldData(const CWorldData&) = delete;
    CWorldData& operator=(const CWorldData&) = delete;

    CWorld* GetOwner() const { return m_owner; }

    // The body of a world file: the script name, the fog, the sky, the data
    // bag and the eleven sections. Reading adds to what the map holds.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOWORLDDATA"; }

    const std::wstring& GetPath() const { return m_path; }
    void SetPath(const std::wstring& path) { m_path = path; }
    const std::wstring& GetDataFilename() const { return m_dataFilename; }
    void SetDataFilename(const std::wstring& name) { m_dataFilename = name; }
    const std::wstring& GetScript() const { return m_script; }
    // An empty name keeps the one stored.
    void SetScript(const std::wstring& script);
    // The path made absolute against the current directory and cleaned.
    std::wstring GetPathLong() const;

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

    // The collections in the order of the world file.
    std::vector<IWorldMap*> GetMapsInFileOrder();

    // Empties names, data bag, collections and sky; the fog stays.
    void Clear();
    // Drops every waypoint connection whose destination is no waypoint of
    // the collection.
    void RemoveInvalidWaypointConnections();

private:
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
