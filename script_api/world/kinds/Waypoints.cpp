#include "script_api/world/kinds/Waypoints.h"

#include "script_api/world/EntityArguments.h"
#include "world/navigation/WaypointGraph.h"

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/ScriptNumbers.h"

#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

using Waypoint = ScriptWorld::Unit<Misc::World::kTypeIdWaypoint, CManagedWaypoint>;

// The waypoint a connection leads to; "[CWorldMap::GetUnit] Unit not found
// [%s]" when the graph holds none under its destination id.
CManagedWaypoint& Destination(Waypoint waypoint, const std::string& connectionId)
{
    const std::string& id = waypoint->GetConnection(connectionId).GetWaypoint();
    auto* destination =
        ScriptWorld::AsEntity<CManagedWaypoint>(ScriptWorld::FindUnit(Misc::World::kTypeIdWaypoint, id));
    if (destination == nullptr)
        ScriptWorld::ThrowUnitNotFound(id);
    return *destination;
}

std::wstring getWaypointType(LuaState*, Waypoint waypoint)
{
    return waypoint->GetWaypointType();
}

void setWaypointType(LuaState*, Waypoint waypoint, const std::wstring& type)
{
    waypoint->SetWaypointType(type);
}

std::string createWaypointConnection(LuaState*, Waypoint waypoint)
{
    const CWaypointConnection connection;
    waypoint->AddConnection(connection);
    return connection.GetId();
}

void deleteWaypointConnection(LuaState*, Waypoint waypoint, const std::string& connectionId)
{
    waypoint->RemoveConnection(connectionId);
}

int32_t getWaypointConnectionCount(LuaState*, Waypoint waypoint)
{
    return static_cast<int32_t>(waypoint->GetConnections().size());
}

// An index at or past the end, or below 0, names the last connection.
LuaObject getWaypointConnectionId(LuaState* state, Waypoint waypoint, LuaPlus::Index index)
{
    const std::vector<CWaypointConnection>& connections = waypoint->GetConnections();
    LuaObject id;
    if (connections.empty())
        return id;
    const size_t at = index.value >= 0 ? static_cast<size_t>(index.value) : connections.size();
    id.Assign(state, std::string_view(connections[std::min(at, connections.size() - 1)].GetId()));
    return id;
}

std::string getWaypointConnectionDestinationId(LuaState*, Waypoint waypoint, const std::string& connectionId)
{
    return waypoint->GetConnection(connectionId).GetWaypoint();
}

std::wstring getWaypointConnectionDestinationName(LuaState*, Waypoint waypoint,
                                                  const std::string& connectionId)
{
    return Destination(waypoint, connectionId).GetName();
}

float getWaypointConnectionCost(LuaState*, Waypoint waypoint, const std::string& connectionId)
{
    return waypoint->GetConnection(connectionId).GetCost();
}

// No check that a waypoint of that id exists: graphs are built in any
// order.
void setWaypointConnectionDestinationId(LuaState*, Waypoint waypoint, const std::string& connectionId,
                                        const std::string& destinationId)
{
    waypoint->GetConnection(connectionId).SetWaypoint(destinationId);
}

// Renames the waypoint the connection leads to.
void setWaypointConnectionDestinationName(LuaState*, Waypoint waypoint, const std::string& connectionId,
                                          const std::wstring& name)
{
    Destination(waypoint, connectionId).SetName(name);
}

void setWaypointConnectionCost(LuaState*, Waypoint waypoint, const std::string& connectionId, float cost)
{
    waypoint->GetConnection(connectionId).SetCost(cost);
}

} // namespace

void RegisterIWorldWaypointFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getWaypointType", &getWaypointType);
    table.RegisterHelper("setWaypointType", &setWaypointType);
    table.RegisterHelper("createWaypointConnection", &createWaypointConnection);
    table.RegisterHelper("deleteWaypointConnection", &deleteWaypointConnection);
    table.RegisterHelper("getWaypointConnectionCount", &getWaypointConnectionCount);
    table.RegisterHelper("getWaypointConnectionId", &getWaypointConnectionId);
    table.RegisterHelper("getWaypointConnectionDestinationId", &getWaypointConnectionDestinationId);
    table.RegisterHelper("getWaypointConnectionDestinationName", &getWaypointConnectionDestinationName);
    table.RegisterHelper("getWaypointConnectionCost", &getWaypointConnectionCost);
    table.RegisterHelper("setWaypointConnectionDestinationId", &setWaypointConnectionDestinationId);
    table.RegisterHelper("setWaypointConnectionDestinationName", &setWaypointConnectionDestinationName);
    table.RegisterHelper("setWaypointConnectionCost", &setWaypointConnectionCost);
    RegisterIWorldWaypointNavigatorFunctions(table);
}
