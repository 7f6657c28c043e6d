#pragma once

// Whole numbers from the doubles that scripts and files hand in, one rule
// for each way a caller wants them. NaN has no whole value: every rule
// answers false for it and the caller decides (a script argument refuses
// it, a table field reads it as missing).

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace Misc::WholeNumbers
{

// The bounds of T as doubles: the lowest value (exact) and the first whole
// number above the highest (2^31, 2^64: exact, where the highest is not).
template <typename T> constexpr double kLowest = static_cast<double>(std::numeric_limits<T>::min());
template <typename T>
constexpr double kAboveHighest = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2.0;

// Truncated toward zero and held within T's range: values beyond it give
// the nearest limit.
template <typename T> bool Saturate(double value, T& result)
{
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>);
    if (std::isnan(value))
        return false;
    if (value <= kLowest<T>)
        result = std::numeric_limits<T>::min();
    else if (value >= kAboveHighest<T>)
        result = std::numeric_limits<T>::max();
    else
        result = static_cast<T>(value);
    return true;
}

// Truncated toward zero to 64 bits (saturating), then the low bits that
// fit T, as the scripts' original platform cut numbers: 4294967295 reaches
// a 32-bit int as -1.
template <typename T> bool Wrap(double value, T& result)
{
    int64_t whole = 0;
    if (!Saturate(value, whole))
        return false;
    result = static_cast<T>(static_cast<uint64_t>(whole));
    return true;
}

// Truncated toward zero when that lies within T's range; false beyond it.
template <typename T> bool Truncate(double value, T& result)
{
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>);
    const double whole = std::trunc(value);
    if (!(whole >= kLowest<T> && whole < kAboveHighest<T>))
        return false;
    result = static_cast<T>(whole);
    return true;
}

// Only a whole number within T's range: no fraction, nothing beyond.
template <typename T> bool Exact(double value, T& result)
{
    return std::trunc(value) == value && Truncate(value, result);
}

} // namespace Misc::WholeNumbers
