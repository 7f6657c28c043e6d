#pragma once

#include <cstdint>

// The revision of every world's waypoints: it changes whenever a waypoint
// is made, changed or destroyed, or one of its connections changes, so
// that what was read of a waypoint graph can be kept until then.
uint64_t GetWaypointRevision();
void NoteWaypointChange();
