#include "ArchiveTestUtil.h"

#include "core/io/ArchiveText.h"
#include "core/io/FileStd.h"
#include "core/io/Language.h"

#include <gtest/gtest.h>

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
