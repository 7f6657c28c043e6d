#include "world/ManagedWaypoint.h"

#include <algorithm>

using Graphics::Scene::CGraphicalWaypoint;

CWaypointConnection& CManagedEntity<CGraphicalWaypoint>::GetConnection(const std::string& id)
{
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(),
                     [&id](const CWaypointConnection& connection) { return connection.GetId() == id; });
    if (found == m_connections.end())
        throw Misc::Error::CKVOError::Format(L"Invalid waypoint connection id:%S", id.c_str());
    return *found;
}

void CManagedEntity<CGraphicalWaypoint>::AddConnection(const CWaypointConnection& connection)
{
    // A copy first: the connection may be one of the list's own.
    const CWaypointConnection added = connection;
    RemoveConnection(added.GetId());
    m_connections.push_back(added);
}

void CManagedEntity<CGraphicalWaypoint>::RemoveConnection(const std::string& id)
{
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(),
                     [&id](const CWaypointConnection& connection) { return connection.GetId() == id; });
    if (found != m_connections.end())
        m_connections.erase(found);
}

void CManagedEntity<CGraphicalWaypoint>::Clear()
{
    m_waypointType.SetValue(std::wstring());
    m_connections.clear();
    CManagedEntityBase::Clear();
}

bool CManagedEntity<CGraphicalWaypoint>::Write(Archive& archive)
{
    bool written = archive.WriteString("Waypoint{") && archive.EndLine(+1) && WriteRecord(archive) &&
                   m_waypointType.Write(archive) && archive.WriteString("Connections{") &&
                   archive.EndLine(+1);
    for (CWaypointConnection& connection : m_connections)
        written = written && connection.Write(archive);
    return written && archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(-1) &&
           archive.WriteString("}") && archive.EndLine(0);
}

bool CManagedEntity<CGraphicalWaypoint>::Read(Archive& archive)
{
    if (!ReadOpening(archive))
        return false;
    ReadRecord(archive);
    ManagedEntityReading::ReadText(archive, m_waypointType);
    archive.ExpectToken("Connections{");
    // The token that is no "Connection{" (the "}" of the list) ends it.
    CWaypointConnection scratch;
    while (scratch.Read(archive))
    {
        m_connections.push_back(scratch);
        scratch.SetWaypoint(std::string());
        scratch.SetCost(0.0f);
    }
    archive.ExpectToken("}");
    return true;
}
