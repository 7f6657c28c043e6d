#pragma once

#include "world/ManagedEntity.h"
#include "world/WaypointConnection.h"

#include <string>
#include <vector>

// A node of the world's waypoint graph: a managed waypoint with a type text
// and its outgoing connections, in order. Saved as a "Waypoint{" block that
// holds the entity record, "-WaypointType" and a "Connections{" block.
template <>
class CManagedEntity<Graphics::Scene::CGraphicalWaypoint>
    : public CManagedEntityBase<Graphics::Scene::CGraphicalWaypoint>
{
public:
    CManagedEntity() = default;
    CManagedEntity(const CManagedEntity&) = default;
    // The managed assignment, then the type and the connections.
    CManagedEntity& operator=(const CManagedEntity&) = default;
    ~CManagedEntity() override = default;

    const std::wstring& GetWaypointType() const { return m_waypointType.GetValue(); }
    void SetWaypointType(const std::wstring& type) { m_waypointType.SetValue(type); }

    const std::vector<CWaypointConnection>& GetConnections() const { return m_connections; }
    // The first connection with the id; throws "Invalid waypoint connection
    // id:%s" when there is none.
    CWaypointConnection& GetConnection(const std::string& id);
    // Replaces the connection with the same id, if any, and puts the
    // connection last.
    void AddConnection(const CWaypointConnection& connection);
    // The first connection with the id; nothing when there is none.
    void RemoveConnection(const std::string& id);

    // No type and no connections, then every managed entity's clear.
    void Clear() override;

    bool Write(Archive& archive) override;
    // The connections read are appended as they come, duplicates included.
    bool Read(Archive& archive) override;

private:
    std::vector<CWaypointConnection> m_connections;
    CTextValue m_waypointType{L"-WaypointType"};
};
