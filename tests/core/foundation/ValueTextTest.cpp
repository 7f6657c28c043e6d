// Value texts read the floats sscanf reads, bit for bit, whether they take
// the quick way (plain numbers between blanks) or not: a table of texts at
// the edges of the quick way, then a seeded run of made-up texts.
#include "core/foundation/ValueText.h"

#include "core/foundation/ScopedCLocale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace
{

// The reading the quick way must match: sscanf in the "C" locale.
int ScanWithSscanf(const char* text, float* values, int count)
{
    const Misc::Text::CScopedCLocale cLocale;
    float read[4] = {};
    int scanned = 0;
    switch (count)
    {
    case 1:
        scanned = std::sscanf(text, "%f", &read[0]);
        break;
    case 2:
        scanned = std::sscanf(text, "%f %f", &read[0], &read[1]);
        break;
    case 3:
        scanned = std::sscanf(text, "%f %f %f", &read[0], &read[1], &read[2]);
        break;
    default:
        scanned = std::sscanf(text, "%f %f %f %f", &read[0], &read[1], &read[2], &read[3]);
        break;
    }
    scanned = scanned < 0 ? 0 : scanned;
    for (int i = 0; i < scanned; ++i)
        values[i] = read[i];
    return scanned;
}

void ExpectAsSscanf(const std::string& text)
{
    for (int count = 1; count <= 4; ++count)
    {
        float expected[4] = {7, 8, 9, 10};
        float actual[4] = {7, 8, 9, 10};
        const int expectedCount = ScanWithSscanf(text.c_str(), expected, count);
        const int actualCount = Misc::Text::ScanFloatsC(text.c_str(), actual, count);
        ASSERT_EQ(actualCount, expectedCount) << "\"" << text << "\" count " << count;
        ASSERT_EQ(std::memcmp(actual, expected, sizeof(actual)), 0) << "\"" << text << "\" count " << count;
    }
}

TEST(ValueText, ReadsAsSscanfAtTheEdgesOfPlainNumbers)
{
    const char* const texts[] = {
        "",
        "   ",
        "1",
        "-1",
        "-0",
        "-0.0",
        "0.1 0.2 0.3 0.4",
        "0.100000 0.200000 0.300000 0.400000",
        "1 2 3 4 5",
        "1 2",
        " \t\n\v\f\r1\t2\n3\r4",
        "1,2",
        "1;2",
        "1 x 3",
        "x",
        "-",
        "- 1",
        "1 -",
        "+1 2",
        ".5 1",
        "1. 2",
        "1.5e3 2",
        "1e",
        "1E+2",
        "0x1p3 1",
        "inf 1",
        "nan 2",
        "-inf",
        "16777216 16777217 16777219",
        "0.1000000000000000",
        "123456789012345678",
        "1234567890123456789",
        "0.000000000000000001",
        "00012.5000 -000.25",
        "3.4028235677973366e38",
        "340282356779733661637539395458142568448",
        "1 2 3 4.5.6",
        "1 2 3 4x",
        "2.5f",
        "1..2",
        "1 2\0 3",
        "-0.000000 0.000000",
        "1234567.1234567 -7654321.7654321",
        "9999999.9999999 1677721.6000000",
        "16777216.0 16777217.0 1.6777217",
        "12345678.5 1.12345678",
        "0.1234567 0.12345678 0.123456789",
        "1.5\xc3\xa9 2",
        "7:5 1/2",
    };
    for (const char* text : texts)
        ExpectAsSscanf(text);
}

TEST(ValueText, ReadsAsSscanfOnMadeUpTexts)
{
    std::mt19937 random(1140);
    const auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
    for (int round = 0; round < 20000; ++round)
    {
        std::string text;
        const int tokens = static_cast<int>(random() % 6);
        for (int token = 0; token < tokens; ++token)
        {
            const int blanks = static_cast<int>(random() % 3);
            for (int i = 0; i < blanks; ++i)
                text += pick(" \t\n ");
            if (random() % 2 == 0)
                text += '-';
            const int whole = static_cast<int>(random() % 12);
            for (int i = 0; i < whole; ++i)
                text += pick("0123456789");
            if (random() % 3 != 0)
            {
                text += '.';
                const int decimals = static_cast<int>(random() % 12);
                for (int i = 0; i < decimals; ++i)
                    text += pick("00123456789");
            }
            // Now and then something that ends the plain number.
            if (random() % 8 == 0)
                text += pick("eE+-.xX,;f");
        }
        ExpectAsSscanf(text);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
