#pragma once

// Item positions and indices that scripts pass to the GUI functions of
// menus, tabs and scroll bars.

#include <climits>
#include <cmath>
#include <cstdint>

namespace IGraphicsGui
{

// A whole index, or -1 (no item) for a number that is none: not a number,
// or beyond 32 bits (which must not wrap onto a real index).
inline int32_t ToIndex(double number)
{
    if (!(number >= static_cast<double>(INT32_MIN) && number <= static_cast<double>(INT32_MAX)))
        return -1;
    return static_cast<int32_t>(std::trunc(number));
}

// A number clamped into [low, high]; not a number gives low.
inline double Clamp(double number, double low, double high)
{
    if (!(number >= low))
        return low;
    return number > high ? high : number;
}

} // namespace IGraphicsGui
