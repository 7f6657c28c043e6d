#include "core/foundation/Color.h"

#include "core/foundation/ValueText.h"

#include <utility>

namespace
{

// The float nearest 0.000001.
constexpr float kZeroBound = 0.000001f;

} // namespace

CColor::CColor(float red, float green, float blue, float alpha)
{
    SetComponents(red, green, blue, alpha);
}

float CColor::ComponentRule(float value)
{
    if (value > 1.0f)
    {
        return static_cast<float>(static_cast<double>(value) / 255.0);
    }
    if (value >= 0.0f)
    {
        return value;
    }
    return 0.0f;
}

void CColor::SetComponents(float red, float green, float blue, float alpha)
{
    r = ComponentRule(red);
    g = ComponentRule(green);
    b = ComponentRule(blue);
    a = ComponentRule(alpha);
}

void CColor::Set(const CColor& other)
{
    r = other.r;
    g = other.g;
    b = other.b;
    a = other.a;
}

bool CColor::IsZero() const
{
    for (const float component : {r, g, b, a})
    {
        if (!(component > -kZeroBound && component < kZeroBound))
        {
            return false;
        }
    }
    return true;
}

CColor CColor::operator*(float scalar) const
{
    return CColor(r * scalar, g * scalar, b * scalar, a * scalar);
}

CColor CColor::operator-(const CColor& other) const
{
    return CColor(r - other.r, g - other.g, b - other.b, a - other.a);
}

std::string CColor::ToString() const
{
    return Misc::Text::FormatNarrowC("%.2f %.2f %.2f %.2f", static_cast<double>(r), static_cast<double>(g),
                                     static_cast<double>(b), static_cast<double>(a));
}

void CColor::FromString(const std::string& text)
{
    FromCString(text.c_str());
}

void CColor::FromCString(const char* text)
{
    if (!text)
    {
        return;
    }
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    Misc::Text::ScanFloatsC(text, values, 4);
    SetComponents(values[0], values[1], values[2], values[3]);
}

CNamedColor::CNamedColor(float red, float green, float blue, float alpha, std::string key)
    : CColor(red, green, blue, alpha), m_key(std::move(key))
{
}

CNamedColor::CNamedColor(const CColor& color, std::string key) : CColor(color), m_key(std::move(key)) {}

CNamedColor& CNamedColor::operator=(const CNamedColor& other)
{
    Set(other);
    return *this;
}

CNamedColor& CNamedColor::operator=(const CColor& color)
{
    Set(color);
    return *this;
}
