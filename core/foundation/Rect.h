#pragma once

#include <string>

// A rectangle given by its upper-left (x1, y1) and lower-right (x2, y2)
// corners.
class CRect
{
public:
    CRect() = default;
    CRect(float x1_, float y1_, float x2_, float y2_) : x1(x1_), y1(y1_), x2(x2_), y2(y2_) {}

    // "x1 y1 x2 y2" with six decimals each.
    std::string ToString() const;
    // Reads up to four numbers into x1, y1, x2, y2; the ones the text does
    // not reach (or cannot read as numbers) keep their values.
    void FromString(const std::string& text);
    // As FromString, up to the first NUL; a null pointer leaves the value
    // unchanged.
    void FromCString(const char* text);

    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
};
