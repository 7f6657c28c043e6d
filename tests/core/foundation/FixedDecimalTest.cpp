#include "core/foundation/FixedDecimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using Misc::Text::FormatFixed;

namespace
{

std::string Library(float value, int precision)
{
    char text[512];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::fixed, precision);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("<too long>");
}

std::string Ours(float value, int precision)
{
    char text[512];
    char* end = FormatFixed(text, text + sizeof text, value, precision);
    return end ? std::string(text, end) : std::string("<too long>");
}

float FromBits(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

TEST(FixedDecimal, WritesWhatTheLibraryWrites)
{
    const float kInf = std::numeric_limits<float>::infinity();
    // Ties at the last decimal (exact in binary), signs of zero, subnormals,
    // the ends of the integer range and values the library has to format.
    const float edges[] = {0.0f,
                           -0.0f,
                           0.5f,
                           1.5f,
                           2.5f,
                           -0.5f,
                           -2.5f,
                           0.125f,
                           0.375f,
                           0.0625f,
                           1.0e-7f,
                           -1.0e-9f,
                           0.0000005f,
                           0.9999995f,
                           9.9999995f,
                           FromBits(1),
                           FromBits(0x807FFFFF),
                           std::numeric_limits<float>::min(),
                           4294967040.0f,
                           -4294967040.0f,
                           4294967296.0f,
                           1.0e20f,
                           -3.0e38f,
                           std::numeric_limits<float>::max(),
                           kInf,
                           -kInf,
                           std::nanf(""),
                           16777216.0f,
                           16777217.0f,
                           123456.789f,
                           -0.1f,
                           0.3f};
    for (const float value : edges)
    {
        for (int precision = 0; precision <= 12; ++precision)
            EXPECT_EQ(Ours(value, precision), Library(value, precision)) << value << " to " << precision;
    }

    // Any bit pattern, and values in the range saves hold with the halves
    // and quarters of the last decimal that make ties.
    std::mt19937 random(20261210);
    std::uniform_int_distribution<uint32_t> anyBits;
    std::uniform_real_distribution<float> coordinate(-100000.0f, 100000.0f);
    std::uniform_int_distribution<int> decimals(0, 10);
    for (int i = 0; i < 200000; ++i)
    {
        const int precision = decimals(random);
        float value = i % 2 == 0 ? FromBits(anyBits(random)) : coordinate(random);
        if (i % 5 == 0)
            value = std::ldexp(static_cast<float>(static_cast<int>(anyBits(random) % 4096) - 2048),
                               -static_cast<int>(anyBits(random) % 40));
        ASSERT_EQ(Ours(value, precision), Library(value, precision)) << value << " to " << precision;
    }
}

TEST(FixedDecimal, TooSmallABufferIsRefused)
{
    char text[8];
    EXPECT_NE(FormatFixed(text, text + 8, 1.25f, 6), nullptr); // "1.250000" just fits
    EXPECT_EQ(FormatFixed(text, text + 7, 1.25f, 6), nullptr);
    EXPECT_EQ(FormatFixed(text, text + 8, 1.0e30f, 2), nullptr); // the library's path
    EXPECT_EQ(FormatFixed(text, text, 0.0f, 0), nullptr);
    char* end = FormatFixed(text, text + 8, -0.5f, 5);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(std::string(text, end), "-0.50000");
}
