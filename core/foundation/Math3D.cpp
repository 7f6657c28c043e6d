#include "core/foundation/Math3D.h"

#include <aabbox3d.h>
#include <line3d.h>
#include <matrix4.h>
#include <quaternion.h>

#include <cmath>

using irr::core::aabbox3df;
using irr::core::matrix4;
using irr::core::quaternion;
using irr::core::vector3df;

namespace
{

// The float nearest pi/180, used for every degree input.
constexpr float kDegToRad = 0.01745329238474369f;
// 180/pi in double (look-at angles, matrix to Euler) and the float nearest
// it (quaternion to Euler).
constexpr double kRadToDeg64 = 57.29577951308232;
constexpr float kRadToDeg32 = 57.295780181884766f;
// Below this cosine of the y angle the matrix is in gimbal lock.
constexpr double kGimbalThreshold = 1e-8;
// Quaternions closer than this (1 - dot product) interpolate linearly.
constexpr float kSlerpThreshold = 0.05f;
// Directions with a squared length up to this are too short to normalise.
constexpr float kNormaliseThreshold = 0.000001f;

vector3df ToIrr(const CVector& v)
{
    return v.ToIrrlicht();
}

// R(r): the rotation matrix of Euler degrees. Sines and cosines are rounded
// to float and combined in float.
matrix4 RotationMatrix(const CVector& rotation)
{
    const float rx = rotation.x * kDegToRad;
    const float ry = rotation.y * kDegToRad;
    const float rz = rotation.z * kDegToRad;
    const float cr = static_cast<float>(std::cos(static_cast<double>(rx)));
    const float sr = static_cast<float>(std::sin(static_cast<double>(rx)));
    const float cp = static_cast<float>(std::cos(static_cast<double>(ry)));
    const float sp = static_cast<float>(std::sin(static_cast<double>(ry)));
    const float cy = static_cast<float>(std::cos(static_cast<double>(rz)));
    const float sy = static_cast<float>(std::sin(static_cast<double>(rz)));

    matrix4 m(matrix4::EM4CONST_IDENTITY);
    m[0] = cp * cy;
    m[1] = cp * sy;
    m[2] = -sp;
    m[4] = sr * sp * cy - cr * sy;
    m[5] = sr * sp * sy + cr * cy;
    m[6] = sr * cp;
    m[8] = cr * sp * cy + sr * sy;
    m[9] = cr * sp * sy - sr * cy;
    m[10] = cr * cp;
    return m;
}

// a * b in Irrlicht's order (b applied first). A factor that is the
// identity within 0.000001 in every element leaves the other unchanged.
matrix4 Multiply(const matrix4& a, const matrix4& b)
{
    if (a.isIdentity())
    {
        return b;
    }
    if (b.isIdentity())
    {
        return a;
    }
    matrix4 product(matrix4::EM4CONST_NOTHING);
    product.setbyproduct_nocheck(a, b);
    return product;
}

// Wraps a double angle in degrees that lies in (-360, 360) into [0, 360)
// as a float. The float rounding of a value just below 360 can give 360
// itself, which is the same angle as 0.
float WrapDegrees(double degrees)
{
    if (degrees < 0.0)
    {
        degrees += 360.0;
    }
    float wrapped = static_cast<float>(degrees);
    if (wrapped >= 360.0f)
    {
        wrapped -= 360.0f;
    }
    return wrapped;
}

// Euler degrees of a rotation matrix, each in [0, 360).
CVector MatrixToEulerDegrees(const matrix4& m)
{
    // Rounding can push the element just beyond [-1, 1], where asin has no
    // value.
    double sinY = static_cast<double>(m[2]);
    if (sinY > 1.0)
    {
        sinY = 1.0;
    }
    else if (sinY < -1.0)
    {
        sinY = -1.0;
    }
    const float y = -static_cast<float>(std::asin(sinY));
    const double c = std::cos(static_cast<double>(y));

    double x = 0.0;
    double z = 0.0;
    if (std::fabs(c) > kGimbalThreshold)
    {
        const float k = static_cast<float>(1.0 / c);
        x = std::atan2(static_cast<double>(m[6] * k), static_cast<double>(m[10] * k));
        z = std::atan2(static_cast<double>(m[1] * k), static_cast<double>(m[0] * k));
    }
    else
    {
        z = std::atan2(static_cast<double>(-m[4]), static_cast<double>(m[5]));
    }
    return CVector(WrapDegrees(x * kRadToDeg64), WrapDegrees(static_cast<double>(y) * kRadToDeg64),
                   WrapDegrees(z * kRadToDeg64));
}

// Euler degrees of a quaternion, computed in double: x and z in
// [-180, 180], y in [-90, 90].
CVector QuaternionToEulerDegrees(const quaternion& q)
{
    const double qx = q.X;
    const double qy = q.Y;
    const double qz = q.Z;
    const double qw = q.W;
    const double z = std::atan2(2.0 * (qx * qy + qz * qw), qx * qx - qy * qy - qz * qz + qw * qw);
    const double x = std::atan2(2.0 * (qy * qz + qx * qw), -qx * qx - qy * qy + qz * qz + qw * qw);
    double sinY = -2.0 * (qx * qz - qy * qw);
    if (sinY > 1.0)
    {
        sinY = 1.0;
    }
    else if (sinY < -1.0)
    {
        sinY = -1.0;
    }
    const double y = std::asin(sinY);
    return CVector(static_cast<float>(x) * kRadToDeg32, static_cast<float>(y) * kRadToDeg32,
                   static_cast<float>(z) * kRadToDeg32);
}

// The unit quaternion of Euler degrees.
quaternion EulerDegreesToQuaternion(const CVector& rotation)
{
    quaternion q;
    q.set(rotation.x * kDegToRad, rotation.y * kDegToRad, rotation.z * kDegToRad);
    return q;
}

// Spherical interpolation along the shorter arc, not normalised again.
quaternion Slerp(quaternion q1, const quaternion& q2, float t)
{
    float d = q1.dotProduct(q2);
    if (d < 0.0f)
    {
        q1 = q1 * -1.0f;
        d = -d;
    }
    float s1 = 1.0f - t;
    float s2 = t;
    if (1.0f - d >= kSlerpThreshold)
    {
        const float theta = std::acos(d);
        const float sinTheta = std::sin(theta);
        s1 = std::sin(theta * (1.0f - t)) / sinTheta;
        s2 = std::sin(theta * t) / sinTheta;
    }
    return q1 * s1 + q2 * s2;
}

} // namespace

CVector BoxGetExtents(const CVector& min, const CVector& max)
{
    return CVector(aabbox3df(ToIrr(min), ToIrr(max)).getExtent());
}

CVector BoxGetCentre(const CVector& min, const CVector& max)
{
    return CVector((ToIrr(min) + ToIrr(max)) * 0.5f);
}

bool BoxPointInside(const CVector& min, const CVector& max, const CVector& point)
{
    return aabbox3df(ToIrr(min), ToIrr(max)).isPointInside(ToIrr(point));
}

void BoxExtendPoint(CVector& min, CVector& max, const CVector& point)
{
    aabbox3df box(ToIrr(min), ToIrr(max));
    box.addInternalPoint(ToIrr(point));
    min = CVector(box.MinEdge);
    max = CVector(box.MaxEdge);
}

void BoxExtendBox(CVector& min1, CVector& max1, const CVector& min2, const CVector& max2)
{
    aabbox3df box(ToIrr(min1), ToIrr(max1));
    box.addInternalBox(aabbox3df(ToIrr(min2), ToIrr(max2)));
    min1 = CVector(box.MinEdge);
    max1 = CVector(box.MaxEdge);
}

bool BoxIntersectsBox(const CVector& min1, const CVector& max1, const CVector& min2, const CVector& max2)
{
    return aabbox3df(ToIrr(min1), ToIrr(max1)).intersectsWithBox(aabbox3df(ToIrr(min2), ToIrr(max2)));
}

bool BoxIntersectsLine(const CVector& min, const CVector& max, const CVector& start, const CVector& end)
{
    const vector3df from = ToIrr(start);
    const vector3df to = ToIrr(end);
    const vector3df middle = (from + to) * 0.5f;
    vector3df direction = to - from;
    const float lengthSquared = direction.getLengthSQ();
    if (lengthSquared > kNormaliseThreshold)
    {
        direction *= 1.0f / std::sqrt(lengthSquared);
    }
    const float halfLength = (from - to).getLength() * 0.5f;
    return aabbox3df(ToIrr(min), ToIrr(max)).intersectsWithLine(middle, direction, halfLength);
}

void BoxGetVertices(const CVector& min, const CVector& max, std::vector<CVector>& vertices)
{
    vector3df corners[8];
    aabbox3df(ToIrr(min), ToIrr(max)).getEdges(corners);
    vertices.clear();
    vertices.reserve(8);
    for (const vector3df& corner : corners)
    {
        vertices.emplace_back(corner);
    }
}

CVector LineClosestPoint(const CVector& start, const CVector& end, const CVector& point)
{
    // A segment without length has no direction to project on: its start
    // is the nearest point (instead of a point of not-a-numbers).
    const float length = (ToIrr(end) - ToIrr(start)).getLength();
    if (!std::isfinite(1.0f / length))
    {
        return start;
    }
    return CVector(irr::core::line3df(ToIrr(start), ToIrr(end)).getClosestPoint(ToIrr(point)));
}

CVector GetLookAtRotations(const CVector& a, const CVector& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;

    const float yRadians = static_cast<float>(std::atan2(static_cast<double>(dx), static_cast<double>(dz)));
    float y = static_cast<float>(static_cast<double>(yRadians) * kRadToDeg64);
    if (y < 0.0f)
    {
        y += 360.0f;
    }
    if (y >= 360.0f)
    {
        y -= 360.0f;
    }

    const float horizontal = std::sqrt(dx * dx + dz * dz);
    float x = static_cast<float>(
        std::atan2(static_cast<double>(horizontal), static_cast<double>(dy)) * kRadToDeg64 - 90.0);
    if (x < 0.0f)
    {
        x += 360.0f;
    }
    if (x >= 360.0f)
    {
        x -= 360.0f;
    }
    return CVector(x, y, 0.0f);
}

CVector GetOrientation(const CVector& rotation, const CVector& v)
{
    vector3df turned = ToIrr(v);
    RotationMatrix(rotation).rotateVect(turned);
    return CVector(turned);
}

CVector GetOrientationCross(const CVector& rotation, const CVector& v, const CVector& w)
{
    return CVector(ToIrr(GetOrientation(rotation, v)).crossProduct(ToIrr(w)));
}

CVector RotateVector(const CVector& point, const CVector& centre, const CVector& rotation)
{
    vector3df offset = ToIrr(point) - ToIrr(centre);
    RotationMatrix(rotation).rotateVect(offset);
    return CVector(ToIrr(centre) + offset);
}

CVector TransformVector(const CVector& v, const CVector& position, const CVector& forward, const CVector& up)
{
    const vector3df f = ToIrr(forward);
    const vector3df side = ToIrr(up).crossProduct(f);
    const vector3df upAxis = f.crossProduct(side);
    return CVector(side * v.x + upAxis * v.y + f * v.z + ToIrr(position));
}

CVector UntransformVector(const CVector& v, const CVector& /*position*/, const CVector& forward,
                          const CVector& up)
{
    const vector3df f = ToIrr(forward);
    const vector3df side = ToIrr(up).crossProduct(f);
    const vector3df upAxis = f.crossProduct(side);
    const vector3df value = ToIrr(v);
    return CVector(side.dotProduct(value), upAxis.dotProduct(value), f.dotProduct(value));
}

CVector GetRotationsAboutAxis(const CVector& axis, float angle)
{
    quaternion q;
    q.fromAngleAxis(angle * kDegToRad, ToIrr(axis));
    return QuaternionToEulerDegrees(q);
}

CVector RotationSlerp(const CVector& r1, const CVector& r2, float t)
{
    return QuaternionToEulerDegrees(Slerp(EulerDegreesToQuaternion(r1), EulerDegreesToQuaternion(r2), t));
}

CVector RotationAdd(const CVector& r1, const CVector& r2)
{
    return MatrixToEulerDegrees(Multiply(RotationMatrix(r1), RotationMatrix(r2)));
}

CVector RotationSubtract(const CVector& r1, const CVector& r2)
{
    matrix4 inverse(matrix4::EM4CONST_IDENTITY);
    RotationMatrix(r2).getInverse(inverse);
    return MatrixToEulerDegrees(Multiply(RotationMatrix(r1), inverse));
}

void MakeTransformationMatrix(const CVector& position, const CVector& rotation, const CVector& scale,
                              float* matrix)
{
    matrix4 transform = RotationMatrix(rotation);
    transform.setTranslation(ToIrr(position));
    matrix4 scaling(matrix4::EM4CONST_IDENTITY);
    scaling.setScale(ToIrr(scale));
    const matrix4 product = Multiply(transform, scaling);
    for (int i = 0; i < 16; ++i)
    {
        matrix[i] = product[i];
    }
}
