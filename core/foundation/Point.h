#pragma once

#include <string>

// A 2D point or size, in screen fractions or pixels.
class CPoint
{
public:
    CPoint() = default;
    CPoint(float x_, float y_) : x(x_), y(y_) {}

    // "x y" with six decimals each.
    std::string ToString() const;
    // Reads up to two numbers into x and y; the ones the text does not
    // reach (or cannot read as numbers) keep their values.
    void FromString(const std::string& text);
    // As FromString, up to the first NUL; a null pointer leaves the value
    // unchanged.
    void FromCString(const char* text);

    float x = 0.0f;
    float y = 0.0f;
};
