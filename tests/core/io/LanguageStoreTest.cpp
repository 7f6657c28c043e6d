#include "ArchiveTestUtil.h"

#include "core/io/ArchiveText.h"
#include "core/io/DataBag.h"
#include "core/io/FileStd.h"
#include "core/io/Language.h"
#include "core/io/Uuid.h"

#include <gtest/gtest.h>

#include <regex>

using Misc::Serialization::CArchiveText;
using namespace ArchiveTest;

namespace
{
CLanguage LoadFixture()
{
    CTestFolder folder;
    folder.Write("de.kvolanguage", Fixture("language_de.kvolanguage"));
    CLanguage language;
    const CFilePtr file = OpenRead(folder.Wide("de.kvolanguage"));
    EXPECT_TRUE(language.Load(file.get()));
    return language;
}
} // namespace

TEST(LanguageStore, LookupBySectionAndCode)
{
    const CLanguage language = LoadFixture();
    EXPECT_EQ(language.GetCount(), 4u);
    EXPECT_TRUE(language.Exists(L"menu", L"quit"));
    EXPECT_FALSE(language.Exists(L"menu", L"Quit"));
    EXPECT_EQ(language.Get(L"menu", L"save"), L"Spiel speichern");
    EXPECT_EQ(language.Get(L"menu", L"title"), L"M\u00e4rchen \U0001F3F0");
    EXPECT_EQ(language.Get(L"menu", L"missing"), L"");

    const struct
    {
        std::wstring token;
        bool found;
        std::wstring text;
    } cases[] = {
        {L"#menu#quit", true, L"Beenden"},
        {L"#menu#quit#anything after", true, L"Beenden"}, // a third "#" ends the code
        {L"#menu#missing", false, L""},
        {L"menu#quit", false, L""}, // no leading "#": no translation
        {L"", false, L""},
        {L"#menu", true, L"empty"}, // no second "#": empty section and code
    };
    for (const auto& test : cases)
    {
        std::wstring text;
        EXPECT_EQ(language.Translate(test.token, text), test.found);
        EXPECT_EQ(text, test.text);
    }
}

TEST(LanguageStore, EditSaveAndLoadInEveryMode)
{
    CTestFolder folder;
    CLanguage language = LoadFixture();
    language.Set(L"menu", L"quit", L"Verlassen");
    language.Delete(L"", L"");
    language.Delete(L"none", L"none");
    EXPECT_EQ(language.GetCount(), 3u);
    for (const char* mode : {"UTF16", "UTF8", "BINARY", "COMPRESSED", "cp"})
    {
        ASSERT_TRUE(language.Save(folder.Wide("out.kvolanguage"), mode)) << mode;
        CLanguage loaded;
        loaded.Set(L"old", L"entry", L"kept");
        const CFilePtr file = OpenRead(folder.Wide("out.kvolanguage"));
        EXPECT_TRUE(loaded.Load(file.get())) << mode;
        EXPECT_EQ(loaded.GetCount(), 4u) << mode;
        EXPECT_EQ(loaded.Get(L"menu", L"quit"), L"Verlassen");
        EXPECT_EQ(loaded.Get(L"menu", L"title"), L"M\u00e4rchen \U0001F3F0") << mode;
    }
    language.Clear();
    EXPECT_EQ(language.GetCount(), 0u);
    EXPECT_FALSE(language.Load(nullptr));
}

TEST(LanguageStore, TextArchiveTranslatesTokensWhileReading)
{
    CTestFolder folder;
    const CLanguage language = LoadFixture();
    folder.Write("gui.txt", "KVOGUI -Label #menu#quit -Tip \"#menu#save\" -Other #menu#none "
                            "-Raw #menu#quit|rest");
    CArchiveText archive(folder.Wide("gui.txt"), false, "KVOGUI", 0, &language);
    std::wstring text;
    EXPECT_TRUE(archive.ReadKeyWString("-Label", text));
    EXPECT_EQ(text, L"Beenden");
    std::string narrow;
    EXPECT_TRUE(archive.ReadKeyString("-Tip", narrow));
    EXPECT_EQ(narrow, "Spiel speichern");
    EXPECT_TRUE(archive.ReadKeyWString("-Other", text));
    EXPECT_EQ(text, L"#menu#none"); // no translation: the text stays
    archive.ExpectToken("-Raw");
    EXPECT_EQ(archive.GetWString(L"|"), L"Beenden");
}

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

TEST(Uuid, TextFormAndParsing)
{
    const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
    CUuid id;
    EXPECT_TRUE(std::regex_match(id.GetId(), form));
    CUuid other;
    EXPECT_NE(id.GetId(), other.GetId());
    const std::string before = other.GetId();
    other.NewId();
    EXPECT_NE(other.GetId(), before);

    EXPECT_TRUE(id.SetId("6BA7B810-9DAD-11D1-80B4-00C04FD430C8"));
    EXPECT_EQ(id.GetId(), "6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    EXPECT_TRUE(id.SetId("00000000-0000-0000-0000-00000000000F"));
    EXPECT_EQ(id.GetId(), "00000000-0000-0000-0000-00000000000f");
    EXPECT_TRUE(id.SetId("6BA7B810-9DAD-11D1-80B4-00C04FD430C8"));
    for (const char* bad : {"", "not a uuid", "6ba7b810-9dad-11d1-80b4-00c04fd430c",
                            "{6ba7b810-9dad-11d1-80b4-00c04fd430c8}", "6ba7b810-9dad-11d1-80b4-00c04fd430c8x",
                            "6ba7b810-9dad-11d1-80b4-00c04fd430cg", "6ba7b810+9dad-11d1-80b4-00c04fd430c8",
                            "6ba7b8109-dad-11d1-80b4-00c04fd430c8", " 6ba7b810-9dad-11d1-80b4-00c04fd430c"})
    {
        EXPECT_FALSE(id.SetId(bad)) << bad;
        EXPECT_EQ(id.GetId(), "6ba7b810-9dad-11d1-80b4-00c04fd430c8") << bad;
    }
    CUuid copy(id);
    EXPECT_EQ(copy.GetId(), id.GetId());
    other = id;
    EXPECT_EQ(other.GetId(), id.GetId());
}

TEST(Uuid, WrittenAndReadInText)
{
    CTestFolder folder;
    CUuid id;
    {
        CArchiveText archive(folder.Wide("id.txt"), true, "KVOTEST", 1030);
        EXPECT_TRUE(id.Write(archive));
    }
    EXPECT_EQ(folder.Read("id.txt").substr(3 + 7 + 2 + 10 + 16 + 3 + 3), "-Id " + id.GetId() + "\r\n");
    CArchiveText archive(folder.Wide("id.txt"), false, "KVOTEST", 1);
    CUuid read;
    EXPECT_TRUE(read.Read(archive));
    EXPECT_EQ(read.GetId(), id.GetId());

    folder.Write("bad.txt", "KVOTEST -Id garbage");
    CArchiveText bad(folder.Wide("bad.txt"), false, "KVOTEST", 0);
    const std::string kept = read.GetId();
    EXPECT_FALSE(read.Read(bad));
    EXPECT_EQ(read.GetId(), kept);
}
