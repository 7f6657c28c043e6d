#include "core/foundation/Color.h"

#include "core/foundation/ValueText.h"
#include "core/io/Archive.h"

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
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    if (!text.empty())
    {
        Misc::Text::ScanFloatsC(text.c_str(), values, 4);
    }
    SetComponents(values[0], values[1], values[2], values[3]);
}

void CColor::FromCString(const char* text)
{
    if (text)
    {
        FromString(text);
    }
}

bool CColor::Write(Misc::Serialization::IArchive& archive) const
{
    return archive.WriteFloat(r, 6) && archive.WriteSpaces(1) && archive.WriteFloat(g, 6) &&
           archive.WriteSpaces(1) && archive.WriteFloat(b, 6) && archive.WriteSpaces(1) &&
           archive.WriteFloat(a, 6);
}

bool CColor::Read(Misc::Serialization::IArchive& archive)
{
    // All four reads are made even when one fails, so that the archive
    // stays in step with the fields that follow.
    float values[4] = {r, g, b, a};
    bool ok = true;
    for (float& value : values)
    {
        ok = archive.ReadFloat(value) && ok;
    }
    SetComponents(values[0], values[1], values[2], values[3]);
    return ok;
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

bool CNamedColor::Write(Misc::Serialization::IArchive& archive) const
{
    return archive.WriteString(m_key, true) && archive.WriteSpaces(1) && CColor::Write(archive) &&
           archive.EndLine(0);
}

bool CNamedColor::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken(m_key.c_str());
    return CColor::Read(archive);
}
