#include "core/io/DataBag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DataBag, TypedAccessors)
{
    CDataBag bag;
    bag.SetInt(L"dec", 12);
    bag.SetInt(L"hex", 10, true);
    bag.SetInt(L"neg", -1, true);
    bag.SetFloat(L"f", 0.5f);
    bag.SetBool(L"b", true);
    bag.Set(L"x", L"0x1F");
    bag.Set(L"letters", L"abc");
    bag.Set(L"big", L"99999999999");
    std::wstring text;
    EXPECT_TRUE(bag.Get(L"hex", text));
    EXPECT_EQ(text, L"0x0A");
    EXPECT_TRUE(bag.Get(L"neg", text));
    EXPECT_EQ(text, L"0xFFFFFFFF");
    EXPECT_TRUE(bag.Get(L"f", text));
    EXPECT_EQ(text, L"0.5");
    EXPECT_TRUE(bag.Get(L"b", text));
    EXPECT_EQ(text, L"1");

    const struct
    {
        const wchar_t* key;
        int32_t value;
    } ints[] = {{L"dec", 12}, {L"hex", 10}, {L"neg", -1}, {L"x", 31}, {L"letters", 0}, {L"big", 2147483647}};
    for (const auto& test : ints)
    {
        int32_t value = 77;
        EXPECT_TRUE(bag.GetInt(test.key, value));
        EXPECT_EQ(value, test.value) << test.key;
    }
    int32_t untouched = 77;
    EXPECT_FALSE(bag.GetInt(L"absent", untouched));
    EXPECT_EQ(untouched, 77);

    float f = 9.0f;
    EXPECT_TRUE(bag.GetFloat(L"f", f));
    EXPECT_EQ(f, 0.5f);
    EXPECT_TRUE(bag.GetFloat(L"letters", f)); // nothing converts: the old value stays
    EXPECT_EQ(f, 0.5f);
    bool b = false;
    EXPECT_TRUE(bag.GetBool(L"b", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(bag.GetBool(L"letters", b));
    EXPECT_FALSE(b);

    EXPECT_TRUE(bag.Exists(L"x"));
    bag.Delete(L"x");
    bag.Delete(L"never there");
    EXPECT_FALSE(bag.Exists(L"x"));
    EXPECT_EQ(bag.GetCount(), 7u);
    bag.Clear();
    EXPECT_EQ(bag.GetCount(), 0u);
}

TEST(DataBag, KeysAreOrderedByUtf16Units)
{
    CDataBag bag;
    bag.Set(L"\uE000", L"private use");
    bag.Set(L"\U00010000", L"above FFFF");
    bag.Set(L"b", L"");
    bag.Set(L"B", L"");
    std::vector<std::wstring> keys;
    for (const auto& entry : bag)
        keys.push_back(entry.first);
    // In UTF-16 the character above FFFF starts with D800, below E000.
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"B", L"b", L"\U00010000", L"\uE000"}));
}
