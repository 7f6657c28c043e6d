#pragma once

#include "core/events/Multicast.h"
#include "world/ManagedEntity.h"
#include "world/navigation/WaypointConnection.h"
#include "world/navigation/WaypointRevision.h"

#include <string>
#include <vector>

// A node of the world's waypoint graph: a managed waypoint with a type text
// and its outgoing connections, in order. Saved as a "Waypoint{" block that
// holds the entity record, "-WaypointType" and a "Connections{" block.
//
// While bit 2048 of its flags is set it draws its connections after the
// scene, as arrows to the waypoints they lead to in the world's waypoint
// graph (WaypointGraph.h); connections to waypoints the graph does not hold
// are left out.
template <>
class CManagedEntity<Graphics::Scene::CGraphicalWaypoint>
    : public CManagedEntityBase<Graphics::Scene::CGraphicalWaypoint>,
      public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPostScene>
{
public:
    // The flags bit that switches the arrows on.
    static constexpr uint32_t kArrowsFlag = 2048;

    // Every change of a waypoint or of its connections is a change of the
    // waypoint revision (WaypointGraph.h).
    CManagedEntity() = default;
    // A copy draws nothing until its flags are set again.
    CManagedEntity(const CManagedEntity&) = default;
    // The managed assignment, then the type and the connections.
    CManagedEntity& operator=(const CManagedEntity&) = default;
    ~CManagedEntity() override;

    void SetId(const char* id) override;
    void NewId() override;

    // The entity's flags, not the subscriber's own word.
    using CManagedEntityBase::GetFlags;
    // As every kind, then the drawing follows bit 2048.
    void SetFlags(uint32_t flags) override;
    // The flags are set again, so that the drawing follows them.
    void SetVisible(bool visible) override;

    // Draws the connections for the engine that holds this waypoint.
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostScene& event) override;

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
    // Notes a change of the waypoint revision as the waypoint is made,
    // copied, assigned and destroyed.
    struct SChangeNote
    {
        SChangeNote() { NoteWaypointChange(); }
        SChangeNote(const SChangeNote&) { NoteWaypointChange(); }
        SChangeNote& operator=(const SChangeNote&)
        {
            NoteWaypointChange();
            return *this;
        }
        ~SChangeNote() { NoteWaypointChange(); }
    };

    std::vector<CWaypointConnection> m_connections;
    CTextValue m_waypointType{L"-WaypointType"};
    SChangeNote m_changeNote;
};
