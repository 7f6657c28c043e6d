#include "world/ManagedWaypoint.h"

#include "world/navigation/WaypointArrow.h"
#include "world/navigation/WaypointGraph.h"

#include <algorithm>

using Graphics::Scene::CGraphicalWaypoint;
using DrawPostScene = Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::DrawPostScene>;

CManagedEntity<CGraphicalWaypoint>::~CManagedEntity()
{
    // Before anything the handler reads goes.
    DrawPostScene::Unsubscribe(this);
}

void CManagedEntity<CGraphicalWaypoint>::SetId(const char* id)
{
    CManagedEntityBase::SetId(id);
    NoteWaypointChange();
}

void CManagedEntity<CGraphicalWaypoint>::NewId()
{
    CManagedEntityBase::NewId();
    NoteWaypointChange();
}

void CManagedEntity<CGraphicalWaypoint>::SetFlags(uint32_t flags)
{
    CManagedEntityBase::SetFlags(flags);
    if ((flags & kArrowsFlag) != 0)
        DrawPostScene::Subscribe(this, 0);
    else
        DrawPostScene::Unsubscribe(this);
}

void CManagedEntity<CGraphicalWaypoint>::SetVisible(bool visible)
{
    CGraphicalWaypoint::SetVisible(visible);
    SetFlags(GetFlags());
}

bool CManagedEntity<CGraphicalWaypoint>::OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostScene& event)
{
    Graphics::CGraphicsEngine* engine = CGraphicalWaypoint::GetEngine();
    if (engine == nullptr || event.engine != engine)
        return false;
    IWaypointGraph* graph = GetWaypointGraph();
    if (graph == nullptr)
        return false;
    Graphics::ILineSink& lines = *Graphics::WorldGraphicsOf(engine);
    const SWaypointArrowColors colors = SWaypointArrowColors::For(graph->IsWaypointSelected(GetId()));
    CVector from;
    GetAbsolutePosition(from);
    for (const CWaypointConnection& connection : m_connections)
    {
        // A new connection leads nowhere yet, and a world file may hold
        // connections to waypoints that are gone: nothing to draw.
        CManagedWaypoint* destination = graph->FindWaypoint(connection.GetWaypoint());
        if (destination == nullptr)
            continue;
        CVector to;
        destination->GetAbsolutePosition(to);
        const SWaypointArrow arrow = SWaypointArrow::Between(from, to);
        lines.Draw3DLine(arrow.from, arrow.to, colors.line);
        lines.Draw3DLine(arrow.leftWing, arrow.tip, colors.arrow);
        lines.Draw3DLine(arrow.rightWing, arrow.tip, colors.arrow);
    }
    // Others still receive the event.
    return false;
}

CWaypointConnection& CManagedEntity<CGraphicalWaypoint>::GetConnection(const std::string& id)
{
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(),
                     [&id](const CWaypointConnection& connection) { return connection.GetId() == id; });
    if (found == m_connections.end())
        throw Misc::Error::CKVOError::Format(L"Invalid waypoint connection id:%S", id.c_str());
    // The caller may change it.
    NoteWaypointChange();
    return *found;
}

void CManagedEntity<CGraphicalWaypoint>::AddConnection(const CWaypointConnection& connection)
{
    // A copy first: the connection may be one of the list's own.
    const CWaypointConnection added = connection;
    RemoveConnection(added.GetId());
    m_connections.push_back(added);
    NoteWaypointChange();
}

void CManagedEntity<CGraphicalWaypoint>::RemoveConnection(const std::string& id)
{
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(),
                     [&id](const CWaypointConnection& connection) { return connection.GetId() == id; });
    if (found != m_connections.end())
        m_connections.erase(found);
    NoteWaypointChange();
}

void CManagedEntity<CGraphicalWaypoint>::Clear()
{
    m_waypointType.SetValue(std::wstring());
    m_connections.clear();
    CManagedEntityBase::Clear();
    NoteWaypointChange();
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
    NoteWaypointChange();
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
