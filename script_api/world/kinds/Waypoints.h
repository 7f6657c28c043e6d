#pragma once

// The functions of IWorld over the waypoint graph, registered right after
// the waypoints' own block: a waypoint's type and connections, then the
// navigators that search routes through the graph.

#include "core/script/lua/ScriptMetaTable.h"

// Both groups, in that order.
void RegisterIWorldWaypointFunctions(CScriptMetaTable& table);
void RegisterIWorldWaypointNavigatorFunctions(CScriptMetaTable& table);
