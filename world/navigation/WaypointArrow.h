#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/Vector.h"

// How a waypoint draws one connection: a line from the waypoint to the
// destination and two strokes that meet at a tip eight tenths of the way,
// starting seven tenths of the way and one twentieth of the connection's
// length to either side (in the horizontal plane).
struct SWaypointArrow
{
    CVector from;
    CVector to;
    CVector tip;
    // The starts of the two strokes to the tip.
    CVector leftWing;
    CVector rightWing;

    static SWaypointArrow Between(const CVector& from, const CVector& to);
};

// The colours of a waypoint's connections: full for a selected waypoint,
// dimmed otherwise.
struct SWaypointArrowColors
{
    CColor line;
    CColor arrow;

    static SWaypointArrowColors For(bool selected);
};
