#pragma once

#include "core/foundation/Vector.h"

#include <vector>

// Stateless 3D math on vectors, boxes, lines and rotations.
//
// A box is a pair (min, max) of vectors, a line a pair (start, end).
// Rotations are Euler angles in degrees (x, y, z) in Irrlicht's matrix
// convention: +y is up and +z forward; +90 about y turns +z into +x, +90
// about x turns +z into -y. The rounding points (which steps run in float,
// which in double) are fixed so that results match to the last bit.

// max - min.
CVector BoxGetExtents(const CVector& min, const CVector& max);
// (min + max) * 0.5.
CVector BoxGetCentre(const CVector& min, const CVector& max);
// min <= p <= max on all three axes (bounds included).
bool BoxPointInside(const CVector& min, const CVector& max, const CVector& point);
// Grows the box to enclose the point.
void BoxExtendPoint(CVector& min, CVector& max, const CVector& point);
// Grows box 1 to enclose box 2 (by the point max2, then the point min2).
void BoxExtendBox(CVector& min1, CVector& max1, const CVector& min2, const CVector& max2);
// Touching boxes intersect.
bool BoxIntersectsBox(const CVector& min1, const CVector& max1, const CVector& min2, const CVector& max2);
// Separating-axis test of the segment against the box; touching counts.
bool BoxIntersectsLine(const CVector& min, const CVector& max, const CVector& start, const CVector& end);
// Clears the list and appends the 8 corners: index 0 is the min corner,
// 7 the max corner, 1 has the max y, 2 the max z, 4 the max x.
void BoxGetVertices(const CVector& min, const CVector& max, std::vector<CVector>& vertices);

// The point of the segment nearest to the point; a segment of length 0
// gives its start.
CVector LineClosestPoint(const CVector& start, const CVector& end, const CVector& point);

// The rotation whose forward direction is a - b (z is always 0). Straight
// down gives x = 90, straight up x = 270; a = b gives (270, 0, 0).
CVector GetLookAtRotations(const CVector& a, const CVector& b);
// v turned by the rotation.
CVector GetOrientation(const CVector& rotation, const CVector& v);
// GetOrientation(rotation, v) x w.
CVector GetOrientationCross(const CVector& rotation, const CVector& v, const CVector& w);
// The point turned about the centre by the rotation.
CVector RotateVector(const CVector& point, const CVector& centre, const CVector& rotation);

// The frame of forward f and up u has the axes side = u x f, up' = f x side
// and f, not normalised. TransformVector takes v as coordinates in that frame
// placed at the position; UntransformVector gives v's components along the
// axes (the position takes no part).
CVector TransformVector(const CVector& v, const CVector& position, const CVector& forward, const CVector& up);
CVector UntransformVector(const CVector& v, const CVector& position, const CVector& forward,
                          const CVector& up);

// The rotation of `angle` degrees about the axis (the axis is not
// normalised, so a non-unit axis gives other angles).
CVector GetRotationsAboutAxis(const CVector& axis, float angle);
// Spherical interpolation from r1 (t = 0) to r2 (t = 1) through
// quaternions. The x and z results lie in [-180, 180], y in [-90, 90].
CVector RotationSlerp(const CVector& r1, const CVector& r2, float t);
// The rotation of R(r1) * R(r2): r2 applied first, then r1. Each result
// component lies in [0, 360).
CVector RotationAdd(const CVector& r1, const CVector& r2);
// The rotation of R(r1) * inverse(R(r2)), in [0, 360).
CVector RotationSubtract(const CVector& r1, const CVector& r2);

// Writes the 16 floats (Irrlicht's layout, translation in 12..14) of the
// rotation matrix of `rotation` with the position as translation, times
// the scale matrix.
void MakeTransformationMatrix(const CVector& position, const CVector& rotation, const CVector& scale,
                              float* matrix);
