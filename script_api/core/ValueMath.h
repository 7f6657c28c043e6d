#pragma once

// Component-wise arithmetic on the value types as scripts see it, shared by
// the methods of the script value classes and the IMisc functions. Each
// type lists its float components in order; the operations below work on
// any number of them. Sums of products run in double precision and are
// stored as floats.

#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Rect.h"
#include "core/foundation/Vector.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace ValueMath
{

template <typename T> struct Components;

template <> struct Components<CPoint>
{
    static constexpr int kCount = 2;
    static constexpr float CPoint::*kMembers[kCount] = {&CPoint::x, &CPoint::y};
};

template <> struct Components<CVector>
{
    static constexpr int kCount = 3;
    static constexpr float CVector::*kMembers[kCount] = {&CVector::x, &CVector::y, &CVector::z};
};

template <> struct Components<CRect>
{
    static constexpr int kCount = 4;
    static constexpr float CRect::*kMembers[kCount] = {&CRect::x1, &CRect::y1, &CRect::x2, &CRect::y2};
};

template <> struct Components<CColor>
{
    static constexpr int kCount = 4;
    static constexpr float CColor::*kMembers[kCount] = {&CColor::r, &CColor::g, &CColor::b, &CColor::a};
};

template <typename T> float& At(T& value, int i)
{
    return value.*Components<T>::kMembers[i];
}

template <typename T> float At(const T& value, int i)
{
    return value.*Components<T>::kMembers[i];
}

template <typename T, typename Operation> T Map(const T& a, Operation operation)
{
    T result = a;
    for (int i = 0; i < Components<T>::kCount; ++i)
        At(result, i) = operation(At(a, i), i);
    return result;
}

template <typename T> T Add(const T& a, const T& b)
{
    return Map(a, [&b](float c, int i) { return c + At(b, i); });
}

template <typename T> T Subtract(const T& a, const T& b)
{
    return Map(a, [&b](float c, int i) { return c - At(b, i); });
}

template <typename T> T Multiply(const T& a, float s)
{
    return Map(a, [s](float c, int) { return c * s; });
}

template <typename T> T Divide(const T& a, float s)
{
    return Map(a, [s](float c, int) { return c / s; });
}

template <typename T> T Negative(const T& a)
{
    return Map(a, [](float c, int) { return -c; });
}

// Negative components times -1 (so -0 stays -0, as a sign test would).
template <typename T> T Abs(const T& a)
{
    return Map(a, [](float c, int) { return c < 0.0f ? c * -1.0f : c; });
}

// Every component exactly 0.
template <typename T> bool IsZero(const T& a)
{
    for (int i = 0; i < Components<T>::kCount; ++i)
        if (At(a, i) != 0.0f)
            return false;
    return true;
}

// Every difference exactly 0.
template <typename T> bool Equal(const T& a, const T& b)
{
    for (int i = 0; i < Components<T>::kCount; ++i)
        if (At(a, i) - At(b, i) != 0.0f)
            return false;
    return true;
}

// Strictly less in every component.
template <typename T> bool LessThan(const T& a, const T& b)
{
    for (int i = 0; i < Components<T>::kCount; ++i)
        if (!(At(a, i) < At(b, i)))
            return false;
    return true;
}

template <typename T> bool GreaterThan(const T& a, const T& b)
{
    return LessThan(b, a);
}

template <typename T> bool LessThanEqual(const T& a, const T& b)
{
    return LessThan(a, b) || Equal(a, b);
}

template <typename T> bool GreaterThanEqual(const T& a, const T& b)
{
    return GreaterThan(a, b) || Equal(a, b);
}

template <typename T> float DotProduct(const T& a, const T& b)
{
    double sum = 0.0;
    for (int i = 0; i < Components<T>::kCount; ++i)
        sum += static_cast<double>(At(a, i)) * static_cast<double>(At(b, i));
    return static_cast<float>(sum);
}

// The square root of a float computed on its bits: half the exponent.
inline float SquareRootFast(float value)
{
    constexpr uint32_t kOne = 0x3F800000u; // the bits of 1.0f
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    // Subtract with 32-bit wrap-around, then shift keeping the sign.
    const auto shifted = static_cast<int32_t>(bits - kOne) >> 1;
    bits = static_cast<uint32_t>(shifted) + kOne;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// 1 / sqrt(value) from a guess on the bits and one refinement step. A value
// of 0 gives a large finite number, so normalising a zero vector keeps it 0.
inline float ReciprocalSquareRootFast(float value)
{
    constexpr uint32_t kOne = 0x3F800000u;
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits = (3u * kOne - bits) >> 1;
    float guess = 0.0f;
    std::memcpy(&guess, &bits, sizeof guess);
    return (1.47f - 0.47f * value * guess * guess) * guess;
}

template <typename T> float LengthSquared(const T& a)
{
    return DotProduct(a, a);
}

template <typename T> float Length(const T& a)
{
    return static_cast<float>(std::sqrt(static_cast<double>(LengthSquared(a))));
}

template <typename T> float LengthFast(const T& a)
{
    return SquareRootFast(LengthSquared(a));
}

template <typename T> float DistanceSquared(const T& a, const T& b)
{
    return LengthSquared(Subtract(a, b));
}

template <typename T> float Distance(const T& a, const T& b)
{
    return Length(Subtract(a, b));
}

template <typename T> float DistanceFast(const T& a, const T& b)
{
    return LengthFast(Subtract(a, b));
}

// Times 1/length, with no check for a zero length (NaN components then).
template <typename T> T Normalise(const T& a)
{
    const double factor = 1.0 / std::sqrt(static_cast<double>(LengthSquared(a)));
    return Map(a, [factor](float c, int) { return static_cast<float>(c * factor); });
}

// Times the fast reciprocal square root; a zero value stays zero.
template <typename T> T NormaliseFast(const T& a)
{
    return Multiply(a, ReciprocalSquareRootFast(LengthSquared(a)));
}

// a x b.
inline CVector CrossProduct(const CVector& a, const CVector& b)
{
    return CVector(static_cast<float>(static_cast<double>(a.y) * b.z - static_cast<double>(a.z) * b.y),
                   static_cast<float>(static_cast<double>(a.z) * b.x - static_cast<double>(a.x) * b.z),
                   static_cast<float>(static_cast<double>(a.x) * b.y - static_cast<double>(a.y) * b.x));
}

// The largest component; ties go to the later one.
inline float Max(const CVector& v)
{
    if (v.y < v.x && v.z < v.x)
        return v.x;
    if (v.y >= v.x && v.z < v.y)
        return v.y;
    return v.z;
}

inline float Min(const CVector& v)
{
    if (v.y <= v.x)
        return v.z > v.y ? v.y : v.z;
    return v.z > v.x ? v.x : v.z;
}

inline float MaxAbs(const CVector& v)
{
    return Max(Abs(v));
}

inline float MinAbs(const CVector& v)
{
    return Min(Abs(v));
}

// Rectangles compare their upper-left corners...
inline bool RectLessThan(const CRect& a, const CRect& b)
{
    return a.x1 < b.x1 && a.y1 < b.y1;
}

inline bool RectGreaterThanUpperLeft(const CRect& a, const CRect& b)
{
    return a.x1 > b.x1 && a.y1 > b.y1;
}

// ...except IMisc's rectGreaterThan, which compares the lower-right ones.
inline bool RectGreaterThanLowerRight(const CRect& a, const CRect& b)
{
    return a.x2 > b.x2 && a.y2 > b.y2;
}

// The corner comparisons, or all four components equal.
inline bool RectLessThanEqual(const CRect& a, const CRect& b)
{
    return RectLessThan(a, b) || Equal(a, b);
}

inline bool RectGreaterThanEqualUpperLeft(const CRect& a, const CRect& b)
{
    return RectGreaterThanUpperLeft(a, b) || Equal(a, b);
}

inline bool RectGreaterThanEqualLowerRight(const CRect& a, const CRect& b)
{
    return RectGreaterThanLowerRight(a, b) || Equal(a, b);
}

// Touching edges intersect.
inline bool RectIntersect(const CRect& a, const CRect& b)
{
    return a.x1 <= b.x2 && a.y1 <= b.y2 && b.x1 <= a.x2 && b.y1 <= a.y2;
}

// The strict interior and the two corners (x1, y1) and (x2, y2); a point on
// an edge elsewhere is outside.
inline bool RectIsPointInside(const CRect& r, const CPoint& p)
{
    const bool afterUpperLeft = (p.x > r.x1 && p.y > r.y1) || (p.x == r.x1 && p.y == r.y1);
    const bool beforeLowerRight = (p.x < r.x2 && p.y < r.y2) || (p.x == r.x2 && p.y == r.y2);
    return afterUpperLeft && beforeLowerRight;
}

inline float RectWidth(const CRect& r)
{
    return r.x2 <= r.x1 ? r.x1 - r.x2 : r.x2 - r.x1;
}

inline float RectHeight(const CRect& r)
{
    return r.y2 <= r.y1 ? r.y1 - r.y2 : r.y2 - r.y1;
}

// Colours are equal when the difference built through the component rule is
// zero, so a colour below the other in every component equals it.
inline bool ColorEqual(const CColor& a, const CColor& b)
{
    return (a - b).IsZero();
}

} // namespace ValueMath
