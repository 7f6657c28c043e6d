#pragma once

#include <string>

// A 3D position, direction, rotation (Euler angles in degrees) or scale.
class CVector
{
public:
    CVector() = default;
    CVector(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    // "x y z" with six decimals each.
    std::string ToString() const;
    // Reads up to three numbers into x, y, z; the ones the text does not
    // reach (or cannot read as numbers) keep their values.
    void FromString(const std::string& text);
    // As FromString, up to the first NUL; a null pointer leaves the value
    // unchanged.
    void FromCString(const char* text);

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
