#pragma once

// The small vector and frame arithmetic of the joints, in single precision.
// Frames are 16 floats in rows front, up, right, position (the body matrix
// layout); a point in a frame's space is a row vector, so A x B applies A
// first.

#include "core/foundation/Vector.h"

#include <cstdint>
#include <cstring>

namespace JointMath
{

inline CVector Add(const CVector& a, const CVector& b)
{
    return CVector(a.x + b.x, a.y + b.y, a.z + b.z);
}

inline CVector Subtract(const CVector& a, const CVector& b)
{
    return CVector(a.x - b.x, a.y - b.y, a.z - b.z);
}

inline CVector Scale(const CVector& a, float factor)
{
    return CVector(a.x * factor, a.y * factor, a.z * factor);
}

inline float Dot(const CVector& a, const CVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline CVector Cross(const CVector& a, const CVector& b)
{
    return CVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

inline bool IsZero(const CVector& a)
{
    return a.x == 0.0f && a.y == 0.0f && a.z == 0.0f;
}

// An approximate square root worked out on the float's bits: half the
// exponent, with the sign kept through the shift.
inline float SquareRootFast(float value)
{
    constexpr uint32_t kOne = 0x3F800000u; // the bits of 1.0f
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits = static_cast<uint32_t>(static_cast<int32_t>(bits - kOne) >> 1) + kOne;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Times the reciprocal of the fast length. A zero vector stays zero (its
// fast length is tiny, not zero).
inline CVector NormaliseFast(const CVector& a)
{
    return Scale(a, 1.0f / SquareRootFast(Dot(a, a)));
}

inline void FromVector(const CVector& v, float* out)
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

inline CVector Row(const float* matrix, int row)
{
    return CVector(matrix[4 * row], matrix[4 * row + 1], matrix[4 * row + 2]);
}

inline void SetIdentity(float* matrix)
{
    for (int i = 0; i < 16; ++i)
        matrix[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

// out = a x b (out may not be a or b).
inline void Multiply(const float* a, const float* b, float* out)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[4 * i + j] = a[4 * i] * b[j] + a[4 * i + 1] * b[4 + j] + a[4 * i + 2] * b[8 + j] +
                             a[4 * i + 3] * b[12 + j];
}

// The inverse of a rotation and translation: the rotation transposed, the
// position -p R^T.
inline void InverseRigid(const float* m, float* out)
{
    for (int i = 0; i < 3; ++i)
    {
        for (int j = 0; j < 3; ++j)
            out[4 * i + j] = m[4 * j + i];
        out[4 * i + 3] = 0.0f;
    }
    const CVector position = Row(m, 3);
    for (int j = 0; j < 3; ++j)
        out[12 + j] = -Dot(position, Row(m, j));
    out[15] = 1.0f;
}

} // namespace JointMath
