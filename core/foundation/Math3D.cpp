#include "core/foundation/Math3D.h"

#include <cfloat>
#include <cmath>

// The operations below round as the renderer's own math does (every step in
// float unless it says otherwise), so that what a script computes matches
// what the scene draws to the last bit.

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
// Matrix elements this close to those of the identity count as the identity.
constexpr float kIdentityTolerance = 0.000001f;

CVector operator+(const CVector& a, const CVector& b)
{
    return CVector(a.x + b.x, a.y + b.y, a.z + b.z);
}

CVector operator-(const CVector& a, const CVector& b)
{
    return CVector(a.x - b.x, a.y - b.y, a.z - b.z);
}

CVector operator*(const CVector& v, float factor)
{
    return CVector(v.x * factor, v.y * factor, v.z * factor);
}

float Dot(const CVector& a, const CVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

CVector Cross(const CVector& a, const CVector& b)
{
    return CVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Length(const CVector& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// A 4x4 matrix of 16 floats, column after column: element (row, column) is
// at 4 * row + column, the translation in 12..14, vectors multiply from the
// left.
struct SMatrix
{
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    float At(int row, int column) const { return m[4 * row + column]; }

    bool IsIdentity() const
    {
        for (int i = 0; i < 16; ++i)
        {
            const float identity = i % 5 == 0 ? 1.0f : 0.0f;
            if (!(m[i] + kIdentityTolerance >= identity && m[i] - kIdentityTolerance <= identity))
            {
                return false;
            }
        }
        return true;
    }

    // The vector turned by the upper 3x3 part.
    CVector Rotate(const CVector& v) const
    {
        return CVector(v.x * m[0] + v.y * m[4] + v.z * m[8], v.x * m[1] + v.y * m[5] + v.z * m[9],
                       v.x * m[2] + v.y * m[6] + v.z * m[10]);
    }
};

// A rotation quaternion; the default is no rotation.
struct SQuaternion
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    float Dot(const SQuaternion& q) const { return x * q.x + y * q.y + z * q.z + w * q.w; }
    SQuaternion operator*(float s) const { return {s * x, s * y, s * z, s * w}; }
    SQuaternion operator+(const SQuaternion& q) const { return {x + q.x, y + q.y, z + q.z, w + q.w}; }
};

// The cosine and sine of an angle in radians, in double then rounded. An
// angle of 0 (most axes of most entities) needs no call: cos 0 is 1 and
// sin 0 is the 0 itself, sign included.
void CosSin(float angle, float& cosine, float& sine)
{
    if (angle == 0.0f)
    {
        cosine = 1.0f;
        sine = angle;
        return;
    }
    cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    sine = static_cast<float>(std::sin(static_cast<double>(angle)));
}

// R(r): the rotation matrix of Euler degrees. Sines and cosines are rounded
// to float and combined in float.
SMatrix RotationMatrix(const CVector& rotation)
{
    float cr, sr, cp, sp, cy, sy;
    CosSin(rotation.x * kDegToRad, cr, sr);
    CosSin(rotation.y * kDegToRad, cp, sp);
    CosSin(rotation.z * kDegToRad, cy, sy);

    SMatrix m;
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
SMatrix Multiply(const SMatrix& a, const SMatrix& b)
{
    if (a.IsIdentity())
    {
        return b;
    }
    if (b.IsIdentity())
    {
        return a;
    }
    SMatrix product;
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            const float* bColumn = &b.m[4 * column];
            product[4 * column + row] = a[row] * bColumn[0] + a[4 + row] * bColumn[1] +
                                        a[8 + row] * bColumn[2] + a[12 + row] * bColumn[3];
        }
    }
    return product;
}

// The inverse by Cramer's rule with the determinant's reciprocal in float;
// false (and `inverse` untouched) when the determinant is within FLT_MIN of
// 0.
bool Invert(const SMatrix& matrix, SMatrix& inverse)
{
    const auto m = [&matrix](int row, int column) { return matrix.At(row, column); };
    float d = (m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0)) * (m(2, 2) * m(3, 3) - m(2, 3) * m(3, 2)) -
              (m(0, 0) * m(1, 2) - m(0, 2) * m(1, 0)) * (m(2, 1) * m(3, 3) - m(2, 3) * m(3, 1)) +
              (m(0, 0) * m(1, 3) - m(0, 3) * m(1, 0)) * (m(2, 1) * m(3, 2) - m(2, 2) * m(3, 1)) +
              (m(0, 1) * m(1, 2) - m(0, 2) * m(1, 1)) * (m(2, 0) * m(3, 3) - m(2, 3) * m(3, 0)) -
              (m(0, 1) * m(1, 3) - m(0, 3) * m(1, 1)) * (m(2, 0) * m(3, 2) - m(2, 2) * m(3, 0)) +
              (m(0, 2) * m(1, 3) - m(0, 3) * m(1, 2)) * (m(2, 0) * m(3, 1) - m(2, 1) * m(3, 0));
    if (std::fabs(d) <= FLT_MIN)
    {
        return false;
    }
    d = 1.0f / d;

    const auto out = [&inverse](int row, int column) -> float& { return inverse[4 * row + column]; };
    out(0, 0) = d * (m(1, 1) * (m(2, 2) * m(3, 3) - m(2, 3) * m(3, 2)) +
                     m(1, 2) * (m(2, 3) * m(3, 1) - m(2, 1) * m(3, 3)) +
                     m(1, 3) * (m(2, 1) * m(3, 2) - m(2, 2) * m(3, 1)));
    out(0, 1) = d * (m(2, 1) * (m(0, 2) * m(3, 3) - m(0, 3) * m(3, 2)) +
                     m(2, 2) * (m(0, 3) * m(3, 1) - m(0, 1) * m(3, 3)) +
                     m(2, 3) * (m(0, 1) * m(3, 2) - m(0, 2) * m(3, 1)));
    out(0, 2) = d * (m(3, 1) * (m(0, 2) * m(1, 3) - m(0, 3) * m(1, 2)) +
                     m(3, 2) * (m(0, 3) * m(1, 1) - m(0, 1) * m(1, 3)) +
                     m(3, 3) * (m(0, 1) * m(1, 2) - m(0, 2) * m(1, 1)));
    out(0, 3) = d * (m(0, 1) * (m(1, 3) * m(2, 2) - m(1, 2) * m(2, 3)) +
                     m(0, 2) * (m(1, 1) * m(2, 3) - m(1, 3) * m(2, 1)) +
                     m(0, 3) * (m(1, 2) * m(2, 1) - m(1, 1) * m(2, 2)));
    out(1, 0) = d * (m(1, 2) * (m(2, 0) * m(3, 3) - m(2, 3) * m(3, 0)) +
                     m(1, 3) * (m(2, 2) * m(3, 0) - m(2, 0) * m(3, 2)) +
                     m(1, 0) * (m(2, 3) * m(3, 2) - m(2, 2) * m(3, 3)));
    out(1, 1) = d * (m(2, 2) * (m(0, 0) * m(3, 3) - m(0, 3) * m(3, 0)) +
                     m(2, 3) * (m(0, 2) * m(3, 0) - m(0, 0) * m(3, 2)) +
                     m(2, 0) * (m(0, 3) * m(3, 2) - m(0, 2) * m(3, 3)));
    out(1, 2) = d * (m(3, 2) * (m(0, 0) * m(1, 3) - m(0, 3) * m(1, 0)) +
                     m(3, 3) * (m(0, 2) * m(1, 0) - m(0, 0) * m(1, 2)) +
                     m(3, 0) * (m(0, 3) * m(1, 2) - m(0, 2) * m(1, 3)));
    out(1, 3) = d * (m(0, 2) * (m(1, 3) * m(2, 0) - m(1, 0) * m(2, 3)) +
                     m(0, 3) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
                     m(0, 0) * (m(1, 2) * m(2, 3) - m(1, 3) * m(2, 2)));
    out(2, 0) = d * (m(1, 3) * (m(2, 0) * m(3, 1) - m(2, 1) * m(3, 0)) +
                     m(1, 0) * (m(2, 1) * m(3, 3) - m(2, 3) * m(3, 1)) +
                     m(1, 1) * (m(2, 3) * m(3, 0) - m(2, 0) * m(3, 3)));
    out(2, 1) = d * (m(2, 3) * (m(0, 0) * m(3, 1) - m(0, 1) * m(3, 0)) +
                     m(2, 0) * (m(0, 1) * m(3, 3) - m(0, 3) * m(3, 1)) +
                     m(2, 1) * (m(0, 3) * m(3, 0) - m(0, 0) * m(3, 3)));
    out(2, 2) = d * (m(3, 3) * (m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0)) +
                     m(3, 0) * (m(0, 1) * m(1, 3) - m(0, 3) * m(1, 1)) +
                     m(3, 1) * (m(0, 3) * m(1, 0) - m(0, 0) * m(1, 3)));
    out(2, 3) = d * (m(0, 3) * (m(1, 1) * m(2, 0) - m(1, 0) * m(2, 1)) +
                     m(0, 0) * (m(1, 3) * m(2, 1) - m(1, 1) * m(2, 3)) +
                     m(0, 1) * (m(1, 0) * m(2, 3) - m(1, 3) * m(2, 0)));
    out(3, 0) = d * (m(1, 0) * (m(2, 2) * m(3, 1) - m(2, 1) * m(3, 2)) +
                     m(1, 1) * (m(2, 0) * m(3, 2) - m(2, 2) * m(3, 0)) +
                     m(1, 2) * (m(2, 1) * m(3, 0) - m(2, 0) * m(3, 1)));
    out(3, 1) = d * (m(2, 0) * (m(0, 2) * m(3, 1) - m(0, 1) * m(3, 2)) +
                     m(2, 1) * (m(0, 0) * m(3, 2) - m(0, 2) * m(3, 0)) +
                     m(2, 2) * (m(0, 1) * m(3, 0) - m(0, 0) * m(3, 1)));
    out(3, 2) = d * (m(3, 0) * (m(0, 2) * m(1, 1) - m(0, 1) * m(1, 2)) +
                     m(3, 1) * (m(0, 0) * m(1, 2) - m(0, 2) * m(1, 0)) +
                     m(3, 2) * (m(0, 1) * m(1, 0) - m(0, 0) * m(1, 1)));
    out(3, 3) = d * (m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) +
                     m(0, 1) * (m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2)) +
                     m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0)));
    return true;
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
CVector MatrixToEulerDegrees(const SMatrix& m)
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
CVector QuaternionToEulerDegrees(const SQuaternion& q)
{
    const double qx = q.x;
    const double qy = q.y;
    const double qz = q.z;
    const double qw = q.w;
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

// The unit quaternion of Euler degrees: the half angles' sines and cosines
// and their products in double, the components rounded to float, then
// normalised in float.
SQuaternion EulerDegreesToQuaternion(const CVector& rotation)
{
    const double halfX = rotation.x * kDegToRad * 0.5;
    const double halfY = rotation.y * kDegToRad * 0.5;
    const double halfZ = rotation.z * kDegToRad * 0.5;
    const double sr = std::sin(halfX);
    const double cr = std::cos(halfX);
    const double sp = std::sin(halfY);
    const double cp = std::cos(halfY);
    const double sy = std::sin(halfZ);
    const double cy = std::cos(halfZ);
    const double cpcy = cp * cy;
    const double spcy = sp * cy;
    const double cpsy = cp * sy;
    const double spsy = sp * sy;

    SQuaternion q;
    q.x = static_cast<float>(sr * cpcy - cr * spsy);
    q.y = static_cast<float>(cr * spcy + sr * cpsy);
    q.z = static_cast<float>(cr * cpsy - sr * spcy);
    q.w = static_cast<float>(cr * cpcy + sr * spsy);
    const float n = q.Dot(q);
    if (n == 1.0f)
    {
        return q;
    }
    const float scale = 1.0f / std::sqrt(n);
    q.x *= scale;
    q.y *= scale;
    q.z *= scale;
    q.w *= scale;
    return q;
}

// Spherical interpolation along the shorter arc, not normalised again.
SQuaternion Slerp(SQuaternion q1, const SQuaternion& q2, float t)
{
    float d = q1.Dot(q2);
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
    return max - min;
}

CVector BoxGetCentre(const CVector& min, const CVector& max)
{
    return (min + max) * 0.5f;
}

bool BoxPointInside(const CVector& min, const CVector& max, const CVector& point)
{
    return point.x >= min.x && point.x <= max.x && point.y >= min.y && point.y <= max.y && point.z >= min.z &&
           point.z <= max.z;
}

void BoxExtendPoint(CVector& min, CVector& max, const CVector& point)
{
    // Each bound is compared only with itself, so a not-a-number stays out.
    if (point.x > max.x)
    {
        max.x = point.x;
    }
    if (point.y > max.y)
    {
        max.y = point.y;
    }
    if (point.z > max.z)
    {
        max.z = point.z;
    }
    if (point.x < min.x)
    {
        min.x = point.x;
    }
    if (point.y < min.y)
    {
        min.y = point.y;
    }
    if (point.z < min.z)
    {
        min.z = point.z;
    }
}

void BoxExtendBox(CVector& min1, CVector& max1, const CVector& min2, const CVector& max2)
{
    BoxExtendPoint(min1, max1, max2);
    BoxExtendPoint(min1, max1, min2);
}

bool BoxIntersectsBox(const CVector& min1, const CVector& max1, const CVector& min2, const CVector& max2)
{
    return min1.x <= max2.x && min1.y <= max2.y && min1.z <= max2.z && max1.x >= min2.x && max1.y >= min2.y &&
           max1.z >= min2.z;
}

bool BoxIntersectsLine(const CVector& min, const CVector& max, const CVector& start, const CVector& end)
{
    const CVector middle = (start + end) * 0.5f;
    CVector direction = end - start;
    const float lengthSquared = Dot(direction, direction);
    if (lengthSquared > kNormaliseThreshold)
    {
        direction = direction * (1.0f / std::sqrt(lengthSquared));
    }
    const float halfLength = Length(start - end) * 0.5f;

    // Separating axes: the box's three, then the line's direction crossed
    // with each of them.
    const CVector e = (max - min) * 0.5f;
    const CVector t = (min + max) * 0.5f - middle;
    const float ax = std::fabs(direction.x);
    const float ay = std::fabs(direction.y);
    const float az = std::fabs(direction.z);
    if (std::fabs(t.x) > e.x + halfLength * ax || std::fabs(t.y) > e.y + halfLength * ay ||
        std::fabs(t.z) > e.z + halfLength * az)
    {
        return false;
    }
    if (std::fabs(t.y * direction.z - t.z * direction.y) > e.y * az + e.z * ay)
    {
        return false;
    }
    if (std::fabs(t.z * direction.x - t.x * direction.z) > e.x * az + e.z * ax)
    {
        return false;
    }
    // Not-a-number distances separate nothing.
    return !(std::fabs(t.x * direction.y - t.y * direction.x) > e.x * ay + e.y * ax);
}

void BoxGetVertices(const CVector& min, const CVector& max, std::vector<CVector>& vertices)
{
    // Corners as the centre plus or minus the half diagonal (which rounds
    // differently from min and max themselves).
    const CVector middle = (min + max) * 0.5f;
    const CVector diagonal = middle - max;
    vertices.clear();
    vertices.reserve(8);
    for (int corner = 0; corner < 8; ++corner)
    {
        const float dx = (corner & 4) != 0 ? middle.x - diagonal.x : middle.x + diagonal.x;
        const float dy = (corner & 1) != 0 ? middle.y - diagonal.y : middle.y + diagonal.y;
        const float dz = (corner & 2) != 0 ? middle.z - diagonal.z : middle.z + diagonal.z;
        vertices.emplace_back(dx, dy, dz);
    }
}

CVector LineClosestPoint(const CVector& start, const CVector& end, const CVector& point)
{
    // A segment without length has no direction to project on: its start
    // is the nearest point (instead of a point of not-a-numbers).
    const float length = Length(end - start);
    if (!std::isfinite(1.0f / length))
    {
        return start;
    }
    const CVector direction = (end - start) * (1.0f / length);
    const float along = Dot(direction, point - start);
    if (along < 0.0f)
    {
        return start;
    }
    if (along > length)
    {
        return end;
    }
    return start + direction * along;
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
    return RotationMatrix(rotation).Rotate(v);
}

CVector GetOrientationCross(const CVector& rotation, const CVector& v, const CVector& w)
{
    return Cross(GetOrientation(rotation, v), w);
}

CVector RotateVector(const CVector& point, const CVector& centre, const CVector& rotation)
{
    return centre + RotationMatrix(rotation).Rotate(point - centre);
}

CVector TransformVector(const CVector& v, const CVector& position, const CVector& forward, const CVector& up)
{
    const CVector side = Cross(up, forward);
    const CVector upAxis = Cross(forward, side);
    return side * v.x + upAxis * v.y + forward * v.z + position;
}

CVector UntransformVector(const CVector& v, const CVector& /*position*/, const CVector& forward,
                          const CVector& up)
{
    const CVector side = Cross(up, forward);
    const CVector upAxis = Cross(forward, side);
    return CVector(Dot(side, v), Dot(upAxis, v), Dot(forward, v));
}

CVector GetRotationsAboutAxis(const CVector& axis, float angle)
{
    const float half = 0.5f * (angle * kDegToRad);
    const float sine = std::sin(half);
    SQuaternion q;
    q.w = std::cos(half);
    q.x = sine * axis.x;
    q.y = sine * axis.y;
    q.z = sine * axis.z;
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
    SMatrix inverse;
    Invert(RotationMatrix(r2), inverse);
    return MatrixToEulerDegrees(Multiply(RotationMatrix(r1), inverse));
}

void MakeTransformationMatrix(const CVector& position, const CVector& rotation, const CVector& scale,
                              float* matrix)
{
    SMatrix transform = RotationMatrix(rotation);
    transform[12] = position.x;
    transform[13] = position.y;
    transform[14] = position.z;
    SMatrix scaling;
    scaling[0] = scale.x;
    scaling[5] = scale.y;
    scaling[10] = scale.z;
    const SMatrix product = Multiply(transform, scaling);
    for (int i = 0; i < 16; ++i)
    {
        matrix[i] = product[i];
    }
}
