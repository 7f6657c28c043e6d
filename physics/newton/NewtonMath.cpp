#include "physics/newton/NewtonMath.h"

#include <cmath>

namespace NewtonMath
{

namespace
{

btVector3 Row(const float* matrix, int row)
{
    return btVector3(matrix[row * 4], matrix[row * 4 + 1], matrix[row * 4 + 2]);
}

bool Normalise(btVector3& v)
{
    const btScalar length = v.length();
    if (!(length > btScalar(1e-12)) || !std::isfinite(length))
        return false;
    v /= length;
    return true;
}

} // namespace

btTransform ToTransform(const float* matrix)
{
    // Unturned (most placements, and every offset): the rows lie along the
    // axes, each normalising to its own axis.
    const bool unturned = matrix[1] == 0 && matrix[2] == 0 && matrix[4] == 0 && matrix[6] == 0 &&
                          matrix[8] == 0 && matrix[9] == 0 && matrix[0] > 0 && matrix[5] > 0 &&
                          matrix[10] > 0 && std::isfinite(matrix[0]) && std::isfinite(matrix[5]) &&
                          std::isfinite(matrix[10]);
    if (unturned)
        return btTransform(btMatrix3x3::getIdentity(), btVector3(matrix[12], matrix[13], matrix[14]));
    btVector3 front = Row(matrix, 0);
    btVector3 up = Row(matrix, 1);
    if (!Normalise(front))
        front = btVector3(1, 0, 0);
    up -= front * front.dot(up);
    if (!Normalise(up))
    {
        // Any axis perpendicular to front.
        up = std::fabs(front.x()) < 0.9f ? btVector3(1, 0, 0) : btVector3(0, 1, 0);
        up -= front * front.dot(up);
        Normalise(up);
    }
    const btVector3 right = front.cross(up);
    // Rows are the images of the axes, so they are the basis's columns.
    btMatrix3x3 basis(front.x(), up.x(), right.x(), front.y(), up.y(), right.y(), front.z(), up.z(),
                      right.z());
    return btTransform(basis, btVector3(matrix[12], matrix[13], matrix[14]));
}

void FromTransform(const btTransform& transform, float* matrix)
{
    const btMatrix3x3& basis = transform.getBasis();
    for (int row = 0; row < 3; ++row)
    {
        const btVector3 axis = basis.getColumn(row);
        matrix[row * 4] = axis.x();
        matrix[row * 4 + 1] = axis.y();
        matrix[row * 4 + 2] = axis.z();
        matrix[row * 4 + 3] = 0.0f;
    }
    FromVector(transform.getOrigin(), matrix + 12);
    matrix[15] = 1.0f;
}

bool IsFinite(const float* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

bool IsIdentity(const btTransform& transform)
{
    const btMatrix3x3& basis = transform.getBasis();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (std::fabs(basis[r][c] - (r == c ? 1 : 0)) > btScalar(1e-6))
                return false;
    return transform.getOrigin().length2() < btScalar(1e-12);
}

float Clamp(float value, float low, float high, float fallback)
{
    if (std::isnan(value))
        return fallback;
    return value < low ? low : (value > high ? high : value);
}

btVector3 EulerAngles(const float* matrix)
{
    // An Irrlicht rotation (x, y, z) has row 0 = (cy cz, cy sz, -sy),
    // row 1 = (sx sy cz - cx sz, sx sy sz + cx cz, sx cy) and
    // row 2 = (cx sy cz + sx sz, cx sy sz - sx cz, cx cy). Scale is divided
    // out of each row first.
    double rows[3][3];
    for (int row = 0; row < 3; ++row)
    {
        double length = 0.0;
        for (int column = 0; column < 3; ++column)
            length += double(matrix[row * 4 + column]) * matrix[row * 4 + column];
        length = std::sqrt(length);
        for (int column = 0; column < 3; ++column)
            rows[row][column] = length > 0.0 ? matrix[row * 4 + column] / length : 0.0;
    }
    double sinY = -rows[0][2];
    sinY = sinY < -1.0 ? -1.0 : (sinY > 1.0 ? 1.0 : sinY);
    const double y = std::asin(sinY);
    const double cosY = std::cos(y);
    double x;
    double z;
    if (std::fabs(cosY) > 1e-6)
    {
        x = std::atan2(rows[1][2] / cosY, rows[2][2] / cosY);
        z = std::atan2(rows[0][1] / cosY, rows[0][0] / cosY);
    }
    else
    {
        // Gimbal lock: only x + z or x - z is known; put it all in z.
        x = 0.0;
        z = std::atan2(-rows[1][0], rows[1][1]);
    }
    return btVector3(btScalar(x), btScalar(y), btScalar(z));
}

} // namespace NewtonMath
