#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Rect.h"
#include "core/foundation/Vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

void ExpectColor(const CColor& color, float r, float g, float b, float a, const std::string& what)
{
    EXPECT_FLOAT_EQ(color.r, r) << what;
    EXPECT_FLOAT_EQ(color.g, g) << what;
    EXPECT_FLOAT_EQ(color.b, b) << what;
    EXPECT_FLOAT_EQ(color.a, a) << what;
}

} // namespace

TEST(ValueTypes, TextForms)
{
    EXPECT_EQ(CPoint(-0.5f, 2.0f).ToString(), "-0.500000 2.000000");
    EXPECT_EQ(CVector(1.0f, 2.0f, 3.0f).ToString(), "1.000000 2.000000 3.000000");
    EXPECT_EQ(CRect(0.0f, 0.125f, 640.0f, -3.0f).ToString(), "0.000000 0.125000 640.000000 -3.000000");
    EXPECT_EQ(CColor(1.0f, 0.5f, 0.0f, 1.0f).ToString(), "1.00 0.50 0.00 1.00");
    // Large values are written in full, not cut.
    EXPECT_EQ(CPoint(1e20f, 0.0f).ToString(), "100000002004087734272.000000 0.000000");
}

TEST(ValueTypes, ParsingKeepsComponentsTheTextDoesNotReach)
{
    struct Case
    {
        const char* text;
        float expected[4];
    };
    // Every value starts as (7, 8, 9, 10).
    const Case cases[] = {
        {"3", {3, 8, 9, 10}},
        {"abc", {7, 8, 9, 10}},
        {"", {7, 8, 9, 10}},
        {"  4\t5\n6 7", {4, 5, 6, 7}},
        {"1e2 -0.5 +3", {100, -0.5f, 3, 10}},
        {"1 2 x 4", {1, 2, 9, 10}},
        {"1,5 6", {1, 8, 9, 10}}, // a comma is not a decimal point
        {"1-2", {1, -2, 9, 10}},
        {"1 2 3 4 5", {1, 2, 3, 4}},
    };
    for (const Case& c : cases)
    {
        CPoint point(7, 8);
        point.FromString(c.text);
        EXPECT_EQ(point.x, c.expected[0]) << c.text;
        EXPECT_EQ(point.y, c.expected[1]) << c.text;

        CVector vector(7, 8, 9);
        vector.FromString(c.text);
        EXPECT_EQ(vector.x, c.expected[0]) << c.text;
        EXPECT_EQ(vector.y, c.expected[1]) << c.text;
        EXPECT_EQ(vector.z, c.expected[2]) << c.text;

        CRect rect(7, 8, 9, 10);
        rect.FromString(c.text);
        EXPECT_EQ(rect.x1, c.expected[0]) << c.text;
        EXPECT_EQ(rect.y1, c.expected[1]) << c.text;
        EXPECT_EQ(rect.x2, c.expected[2]) << c.text;
        EXPECT_EQ(rect.y2, c.expected[3]) << c.text;
    }
}

TEST(ValueTypes, TextFormsReadBack)
{
    CVector vector;
    vector.FromString(CVector(-1.5f, 0.000001f, 12345.678f).ToString());
    EXPECT_FLOAT_EQ(vector.x, -1.5f);
    EXPECT_FLOAT_EQ(vector.y, 0.000001f);
    EXPECT_FLOAT_EQ(vector.z, 12345.678f);

    CRect rect;
    rect.FromString(CRect(0.25f, 0.5f, 0.75f, 1.0f).ToString());
    EXPECT_EQ(rect.x1, 0.25f);
    EXPECT_EQ(rect.y2, 1.0f);
}

TEST(ValueTypes, ColourComponentRule)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float in;
        float out;
    } cases[] = {
        {0.0f, 0.0f},
        {0.25f, 0.25f},
        {1.0f, 1.0f}, // 1 is a fraction, not a byte value
        {1.5f, 1.5f / 255.0f},
        {255.0f, 1.0f},
        {128.0f, 128.0f / 255.0f},
        {300.0f, 300.0f / 255.0f},
        {510.0f, 2.0f}, // no upper clamp
        {-0.5f, 0.0f},
        {-300.0f, 0.0f},
        {nan, 0.0f},
    };
    for (const auto& c : cases)
    {
        const std::string what = "input " + std::to_string(c.in);
        EXPECT_FLOAT_EQ(CColor::ComponentRule(c.in), c.out) << what;
        ExpectColor(CColor(c.in, c.in, c.in, c.in), c.out, c.out, c.out, c.out, what + " (constructor)");
        CColor color;
        color.SetComponents(c.in, 0, c.in, 0);
        ExpectColor(color, c.out, 0, c.out, 0, what + " (SetComponents)");
        CColor single;
        single.SetRed(c.in);
        single.SetGreen(c.in);
        single.SetBlue(c.in);
        single.SetAlpha(c.in);
        ExpectColor(single, c.out, c.out, c.out, c.out, what + " (single setters)");
    }
    EXPECT_NEAR(CColor::ComponentRule(1.5f), 0.00588f, 0.00001f);
    EXPECT_NEAR(CColor::ComponentRule(300.0f), 1.176f, 0.001f);
}

TEST(ValueTypes, ColourFromText)
{
    const struct
    {
        const char* text;
        float r, g, b, a;
    } cases[] = {
        {"255 128 0", 1.0f, 128.0f / 255.0f, 0.0f, 0.0f}, // the missing alpha is 0, not 1
        {"", 0, 0, 0, 0},
        {"abc", 0, 0, 0, 0},
        {"0.5", 0.5f, 0, 0, 0},
        {"1 1 1 1", 1, 1, 1, 1},
        {"-1 2 0.5 255", 0, 2.0f / 255.0f, 0.5f, 1},
    };
    for (const auto& c : cases)
    {
        CColor color(0.1f, 0.2f, 0.3f, 0.4f);
        color.FromString(c.text);
        ExpectColor(color, c.r, c.g, c.b, c.a, c.text);

        CColor fromPointer(0.1f, 0.2f, 0.3f, 0.4f);
        fromPointer.FromCString(c.text);
        ExpectColor(fromPointer, c.r, c.g, c.b, c.a, std::string(c.text) + " (pointer)");
    }

    CColor unchanged(0.1f, 0.2f, 0.3f, 0.4f);
    unchanged.FromCString(nullptr);
    ExpectColor(unchanged, 0.1f, 0.2f, 0.3f, 0.4f, "null pointer");

    // Two decimals: 128/255 goes out as 0.50 and comes back as 0.5.
    const CColor byteColor(255, 128, 0, 255);
    EXPECT_EQ(byteColor.ToString(), "1.00 0.50 0.00 1.00");
    CColor readBack;
    readBack.FromString(byteColor.ToString());
    ExpectColor(readBack, 1, 0.5f, 0, 1, "read back");
}

TEST(ValueTypes, ColourCopiesSkipTheRule)
{
    CColor wide;
    wide.r = 2.0f; // outside 0..1, as script arithmetic may leave it
    wide.a = 0.5f;

    CColor copied;
    copied.Set(wide);
    ExpectColor(copied, 2.0f, 0, 0, 0.5f, "Set");
    CColor assigned;
    assigned = wide;
    ExpectColor(assigned, 2.0f, 0, 0, 0.5f, "operator=");

    const CNamedColor named(wide, "-Diffuse");
    ExpectColor(named, 2.0f, 0, 0, 0.5f, "named from a colour");
    EXPECT_EQ(named.GetKey(), "-Diffuse");

    const CNamedColor byBytes(255, 0, 51, 2, "-Ambient");
    ExpectColor(byBytes, 1, 0, 0.2f, 2.0f / 255.0f, "named from components");
}

TEST(ValueTypes, NamedColourKeepsItsKeyOnAssignment)
{
    CNamedColor field(0.5f, 0.5f, 0.5f, 1.0f, "-Ambient");
    field = CColor(1, 0, 0, 1);
    ExpectColor(field, 1, 0, 0, 1, "from a colour");
    EXPECT_EQ(field.GetKey(), "-Ambient");

    field = CNamedColor(0, 1, 0, 1, "-Specular");
    ExpectColor(field, 0, 1, 0, 1, "from a named colour");
    EXPECT_EQ(field.GetKey(), "-Ambient");

    const CNamedColor copy(field);
    EXPECT_EQ(copy.GetKey(), "-Ambient");
}

TEST(ValueTypes, ColourIsZeroBoundsAreExclusive)
{
    const struct
    {
        float r, g, b, a;
        bool zero;
    } cases[] = {
        {0, 0, 0, 0, true},          {0.0000009f, -0.0000009f, 0, 0, true},
        {0.000001f, 0, 0, 0, false}, {0, 0, 0, -0.000001f, false},
        {0, 0, 0.5f, 0, false},      {std::numeric_limits<float>::quiet_NaN(), 0, 0, 0, false},
    };
    for (const auto& c : cases)
    {
        CColor color;
        color.r = c.r;
        color.g = c.g;
        color.b = c.b;
        color.a = c.a;
        EXPECT_EQ(color.IsZero(), c.zero) << c.r << " " << c.g << " " << c.b << " " << c.a;
    }
}

TEST(ValueTypes, ColourArithmeticGoesThroughTheRule)
{
    // A larger subtrahend clamps that component to 0.
    ExpectColor(CColor(0.2f, 0.2f, 0.2f, 1) - CColor(0.5f, 0, 0, 1), 0, 0.2f, 0.2f, 0, "difference");
    // A product above 1 reads as a byte value.
    ExpectColor(CColor(1, 1, 1, 1) * 2.0f, 2.0f / 255.0f, 2.0f / 255.0f, 2.0f / 255.0f, 2.0f / 255.0f,
                "double");
    ExpectColor(CColor(1, 0.5f, 0, 1) * 0.5f, 0.5f, 0.25f, 0, 0.5f, "half");
    ExpectColor(CColor(1, 0.5f, 0, 1) * -1.0f, 0, 0, 0, 0, "negative");
    // Colours within 0.000001 of each other have a zero difference.
    EXPECT_TRUE((CColor(0.5f, 0.5f, 0.5f, 0.5f) - CColor(0.4999995f, 0.5f, 0.5f, 0.5000005f)).IsZero());
}
