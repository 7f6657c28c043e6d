#pragma once

// Conversions between the interface's 16-float matrices and Bullet's types,
// and the checks every entry point applies to numbers handed in.

#include <LinearMath/btTransform.h>

namespace NewtonMath
{

// Rows front, up, right, position. The rotation rows are made orthonormal
// (scale is not physics); a degenerate row falls back to the identity axis.
btTransform ToTransform(const float* matrix);
void FromTransform(const btTransform& transform, float* matrix);

bool IsFinite(const float* values, int count);
bool IsIdentity(const btTransform& transform);
inline btVector3 ToVector(const float* v)
{
    return btVector3(v[0], v[1], v[2]);
}
inline void FromVector(const btVector3& v, float* out)
{
    out[0] = v.x();
    out[1] = v.y();
    out[2] = v.z();
}
// Clamps to [low, high]; NaN gives fallback.
float Clamp(float value, float low, float high, float fallback);

// Angles (radians) of an Irrlicht rotation: rotation about x, then y, then z.
btVector3 EulerAngles(const float* matrix);

} // namespace NewtonMath
