#pragma once

#include <string>

// A colour of four float components (red, green, blue, alpha), each
// nominally a fraction from 0 to 1. Values handed in from outside pass the
// component rule (ComponentRule), so that byte values (above 1, up to 255)
// become fractions too.
//
// Write and Read take an archive (Misc::Serialization::IArchive or one of
// its classes) as a template parameter: they need only its float, space,
// string and line calls, so this layer does not depend on the archives.
class CColor
{
public:
    CColor() = default;
    // Each component through the component rule.
    CColor(float red, float green, float blue, float alpha);

    // The component rule: a value above 1 is a byte value and is divided by
    // 255; a value from 0 to 1 is a fraction and stays; a negative value
    // (or not a number) gives 0. There is no upper clamp: 510 gives 2.
    static float ComponentRule(float value);

    // Setters apply the component rule.
    void SetComponents(float red, float green, float blue, float alpha);
    void SetRed(float value) { r = ComponentRule(value); }
    void SetGreen(float value) { g = ComponentRule(value); }
    void SetBlue(float value) { b = ComponentRule(value); }
    void SetAlpha(float value) { a = ComponentRule(value); }
    // Copies the four components as they are.
    void Set(const CColor& other);

    // True when every component lies strictly between -0.000001 and 0.000001.
    bool IsZero() const;

    // Both build their result through the component rule, so a product
    // above 1 is read as a byte value and a negative difference becomes 0.
    CColor operator*(float scalar) const;
    CColor operator-(const CColor& other) const;

    // "r g b a" with two decimals each.
    std::string ToString() const;
    // Reads up to four numbers as red, green, blue and alpha, starting from
    // (0, 0, 0, 0), and passes each through the component rule: an empty
    // text gives (0, 0, 0, 0), three numbers give alpha 0.
    void FromString(const std::string& text);
    // As FromString; a null pointer leaves the colour unchanged.
    void FromCString(const char* text);

    // The four components with six decimals, separated by single spaces, as
    // one run of text on the current line. False when a write failed.
    template <class Archive> bool Write(Archive& archive) const
    {
        return archive.WriteFloat(r, 6) && archive.WriteSpaces(1) && archive.WriteFloat(g, 6) &&
               archive.WriteSpaces(1) && archive.WriteFloat(b, 6) && archive.WriteSpaces(1) &&
               archive.WriteFloat(a, 6);
    }
    // Reads four floats and passes each through the component rule. False
    // when a read failed (that component keeps its value before the rule).
    template <class Archive> bool Read(Archive& archive)
    {
        // All four reads are made even when one fails, so that the archive
        // stays in step with the fields that follow.
        float values[4] = {r, g, b, a};
        bool ok = true;
        for (float& value : values)
            ok = archive.ReadFloat(value) && ok;
        SetComponents(values[0], values[1], values[2], values[3]);
        return ok;
    }

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// The colour of one saved field, together with the archive key it is saved
// under ("-Diffuse", "-BackColor", ...). The key is fixed by the owner when
// the field is made: assigning another colour copies the components only.
class CNamedColor : public CColor
{
public:
    // The components through the component rule.
    CNamedColor(float red, float green, float blue, float alpha, std::string key);
    // The colour copied unchanged.
    CNamedColor(const CColor& color, std::string key);
    CNamedColor(const CNamedColor& other) = default;

    CNamedColor& operator=(const CNamedColor& other);
    CNamedColor& operator=(const CColor& color);

    const std::string& GetKey() const { return m_key; }

    // One line: the key, a space and the colour; false when a write failed.
    template <class Archive> bool Write(Archive& archive) const
    {
        return archive.WriteString(m_key, true) && archive.WriteSpaces(1) && CColor::Write(archive) &&
               archive.EndLine(0);
    }
    // Expects the key (a different one throws from the archive), then reads
    // the colour; false when a read failed.
    template <class Archive> bool Read(Archive& archive)
    {
        archive.ExpectToken(m_key.c_str());
        return CColor::Read(archive);
    }

private:
    std::string m_key;
};
