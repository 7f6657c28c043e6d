#include "world/navigation/WaypointArrow.h"

#include "physics/JointMath.h"

using namespace JointMath;

SWaypointArrow SWaypointArrow::Between(const CVector& from, const CVector& to)
{
    const CVector d = Subtract(to, from);
    const CVector step = Scale(d, 1.0f / 10.0f);
    const CVector tip = Subtract(to, Scale(step, 2.0f));
    const CVector base = Subtract(to, Scale(step, 3.0f));
    // Straight up or down the side is zero and both strokes start at the
    // base.
    const CVector side = NormaliseFast(Cross(d, CVector(0.0f, 1.0f, 0.0f)));
    const CVector wing = Scale(Scale(side, SquareRootFast(Dot(d, d))), 1.0f / 20.0f);
    return {from, to, tip, Add(base, wing), Subtract(base, wing)};
}

SWaypointArrowColors SWaypointArrowColors::For(bool selected)
{
    const SWaypointArrowColors full{CColor(1.0f, 0.0f, 0.0f, 1.0f), CColor(1.0f, 0.2f, 0.2f, 1.0f)};
    if (selected)
        return full;
    return {full.line * 0.7f, full.arrow * 0.5f};
}
