#include "world/WorldData.h"

#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/PathUtilities.h"
#include "core/world/TypeId.h"

namespace World = Misc::World;

CWorldData::CWorldData(CWorld* owner) : m_owner(owner)
{
    for (IWorldMap* map : {static_cast<IWorldMap*>(&m_cursors), static_cast<IWorldMap*>(&m_units),
                           static_cast<IWorldMap*>(&m_cameras), static_cast<IWorldMap*>(&m_agents),
                           static_cast<IWorldMap*>(&m_lights), static_cast<IWorldMap*>(&m_particleSystems),
                           static_cast<IWorldMap*>(&m_waypoints), static_cast<IWorldMap*>(&m_triggers),
                           static_cast<IWorldMap*>(&m_billboards), static_cast<IWorldMap*>(&m_waters),
                           static_cast<IWorldMap*>(&m_terrains)})
        m_group.AddMap(map);
}

void CWorldData::SetScript(const std::wstring& script)
{
    if (!script.empty())
        m_script = script;
}

std::wstring CWorldData::GetPathLong() const
{
    std::wstring path = m_path;
    if (IsRelativePath(path))
        path = CCurrentDirectory().Get() + L"/" + path;
    CleanPath(path, L"/");
    return path;
}

IWorldMap* CWorldData::GetMap(uint32_t typeId)
{
    switch (typeId)
    {
    case World::kTypeIdCursor:
        return &m_cursors;
    case World::kTypeIdCamera:
        return &m_cameras;
    case World::kTypeIdLight:
        return &m_lights;
    case World::kTypeIdParticleSystem:
        return &m_particleSystems;
    case World::kTypeIdWaypoint:
        return &m_waypoints;
    case World::kTypeIdTrigger:
        return &m_triggers;
    case World::kTypeIdBillboard:
        return &m_billboards;
    case World::kTypeIdWater:
        return &m_waters;
    case World::kTypeIdTerrain:
        return &m_terrains;
    case World::kTypeIdUnit:
        return &m_units;
    case World::kTypeIdAgent:
        return &m_agents;
    default:
        return nullptr;
    }
}

std::vector<IWorldMap*> CWorldData::GetMapsInFileOrder()
{
    return {&m_cursors, &m_cameras,  &m_lights,    &m_particleSystems, &m_units, &m_billboards,
            &m_waters,  &m_terrains, &m_waypoints, &m_triggers,        &m_agents};
}

bool CWorldData::Write(Misc::Serialization::IArchive& archive)
{
    archive.WriteKeyWString("-Script", m_script);
    m_fog.Write(archive);
    m_sky.Write(archive);
    m_dataBag.Write(archive);
    for (IWorldMap* map : GetMapsInFileOrder())
        dynamic_cast<Misc::Serialization::ISerializable&>(*map).Write(archive);
    return true;
}

bool CWorldData::Read(Misc::Serialization::IArchive& archive)
{
    archive.ReadKeyWString("-Script", m_script);
    m_fog.Read(archive);
    m_sky.Read(archive);
    m_dataBag.Read(archive);
    for (IWorldMap* map : GetMapsInFileOrder())
        dynamic_cast<Misc::Serialization::ISerializable&>(*map).Read(archive);
    return true;
}

void CWorldData::Clear()
{
    m_path.clear();
    m_dataFilename.clear();
    m_script = L"world";
    m_dataBag.Clear();
    for (IWorldMap* map : {static_cast<IWorldMap*>(&m_cursors), static_cast<IWorldMap*>(&m_units),
                           static_cast<IWorldMap*>(&m_agents), static_cast<IWorldMap*>(&m_lights),
                           static_cast<IWorldMap*>(&m_particleSystems), static_cast<IWorldMap*>(&m_cameras),
                           static_cast<IWorldMap*>(&m_waypoints), static_cast<IWorldMap*>(&m_triggers),
                           static_cast<IWorldMap*>(&m_billboards), static_cast<IWorldMap*>(&m_waters),
                           static_cast<IWorldMap*>(&m_terrains)})
        map->Clear();
    m_sky.Clear();
}

void CWorldData::RemoveInvalidWaypointConnections()
{
    for (auto& entry : m_waypoints.GetTable())
    {
        std::vector<std::string> gone;
        auto& waypoint = entry.second;
        for (const CWaypointConnection& connection : waypoint.GetConnections())
        {
            if (!m_waypoints.Exists(connection.GetWaypoint()))
                gone.push_back(connection.GetId());
        }
        for (const std::string& connection : gone)
            waypoint.RemoveConnection(connection);
    }
}
