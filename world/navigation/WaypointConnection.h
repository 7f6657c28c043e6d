#pragma once

#include "core/io/Serializable.h"
#include "core/io/Uuid.h"

#include <string>

// One outgoing edge of a waypoint: an id of its own, the id of the waypoint
// it leads to (which need not exist) and what taking it costs. Saved as a
// "Connection{" block.
class CWaypointConnection : public Misc::Serialization::ISerializable
{
public:
    // A fresh id, no destination, cost 0.
    CWaypointConnection() = default;
    CWaypointConnection(const CWaypointConnection&) = default;
    CWaypointConnection& operator=(const CWaypointConnection&) = default;
    virtual ~CWaypointConnection() = default;

    const std::string& GetId() const { return m_id.GetId(); }
    // False, with the id kept, for text that is no UUID.
    bool SetId(const std::string& id) { return m_id.SetId(id); }
    const std::string& GetWaypoint() const { return m_waypoint; }
    void SetWaypoint(const std::string& waypoint) { m_waypoint = waypoint; }
    float GetCost() const { return m_cost; }
    void SetCost(float cost) { m_cost = cost; }

    bool Write(Misc::Serialization::IArchive& archive) override;
    // False, with only the first token read, when it is no "Connection{".
    // A value that does not read throws "[CWaypointConnection::Read] Value
    // of %s unreadable", an "-Id" that is no UUID
    // "[CWaypointConnection::Read] Invalid id:%s".
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOWAYPOINTCONNECTION"; }

private:
    CUuid m_id;
    std::string m_waypoint;
    float m_cost = 0.0f;
};
