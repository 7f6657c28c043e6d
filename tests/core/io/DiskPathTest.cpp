#include "core/io/DiskPath.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace
{

TEST(DiskPath, GlobbingBacktracksAndIgnoresCase)
{
    struct
    {
        const wchar_t* name;
        const wchar_t* pattern;
        bool matches;
    } cases[] = {
        {L"a.b.txt", L"*.txt", true}, // "*" is retried past the first "."
        {L"A.TXT", L"*.txt", true},
        {L"a.txt", L"a.txt", true},
        {L"a.txt", L"?.txt", true},
        {L"ab.txt", L"?.txt", false},
        {L"noext", L"*.*", true},
        {L"noext", L"*.", false},
        {L"abc", L"a*b*c", true},
        {L"abcabd", L"a*b?", true},
        {L"abx", L"a*b", false},
        {L"", L"*", true},
        {L"x", L"", false},
        {L"\u00c4rger", L"\u00e4RGER", true},
        {L"\u0391\u0392", L"\u03b1*", true},
    };
    for (const auto& test : cases)
        EXPECT_EQ(DiskPath::MatchPattern(test.name, test.pattern), test.matches)
            << test.name << " " << test.pattern;
    EXPECT_TRUE(DiskPath::EqualNoCase(L"Stra\u00dfe", L"STRA\u00dfE"));
    EXPECT_FALSE(DiskPath::EqualNoCase(L"a", L"ab"));
}

TEST(DiskPath, ResolvesEachPartWithoutCase)
{
    CTestFolder folder;
    folder.Write("Data/Maps/Level1.MAP", "1");
    folder.Write("Data/\u00c4rger.txt", "2");
    folder.Write("Both/a.txt", "lower");
    folder.Write("Both/A.txt", "upper");
    const std::string root = folder.Path().string();

    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"\\data\\MAPS\\level1.map"), root + "/Data/Maps/Level1.MAP");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/DATA/\u00e4rger.TXT"), root + "/Data/\xC3\x84rger.txt");
    // Exact names win; among case variants the smallest name.
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/both/a.txt"), root + "/Both/a.txt");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/both/A.TXT"), root + "/Both/A.txt");
    // What does not exist keeps its spelling after the last existing part.
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/data/New/File.txt"), root + "/Data/New/File.txt");
    EXPECT_EQ(DiskPath::Resolve(L""), "");
}

TEST(DiskPath, FolderListingsFollowChanges)
{
    CTestFolder folder;
    folder.Write("Old/First.txt", "");
    // An old folder: its listing is kept between lookups.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(folder.Path() / "Old", old);
    const std::string root = folder.Path().string();
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/old/first.TXT"), root + "/Old/First.txt");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/old/second.txt"), root + "/Old/second.txt");

    // A new file changes the folder's time, and with it the listing.
    folder.Write("Old/Second.TXT", "");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/old/second.txt"), root + "/Old/Second.TXT");
    std::filesystem::remove(folder.Path() / "Old/First.txt");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/old/first.TXT"), root + "/Old/first.TXT");
}

// Parts are resolved from the first that is missing as written; once one
// matches nothing, the rest keeps its spelling without further lookups (a
// deep missing name costs one lookup per part, not one per part pair).
TEST(DiskPath, DeepMissingNamesKeepTheirSpelling)
{
    CTestFolder folder;
    folder.Write("Data/Maps/Level1.MAP", "1");
    const std::string root = folder.Path().string();
    std::wstring deep = folder.Wide() + L"/data/MAPS";
    std::string expected = root + "/Data/Maps";
    for (int i = 0; i < 200; ++i)
    {
        deep += L"/Part" + std::to_wstring(i);
        expected += "/Part" + std::to_string(i);
    }
    EXPECT_EQ(DiskPath::Resolve(deep + L"/x.txt"), expected + "/x.txt");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/DATA/new/MAPS/level1.map"),
              root + "/Data/new/MAPS/level1.map");
    EXPECT_EQ(DiskPath::Resolve(folder.Wide() + L"/data/./MAPS/../maps/level1.map"),
              root + "/Data/./Maps/../Maps/Level1.MAP");

    // The wide form that existence checks use.
    EXPECT_EQ(DiskPath::ResolveExistingPath(folder.Wide() + L"\\DATA\\maps\\LEVEL1.map"),
              folder.Wide() + L"/Data/Maps/Level1.MAP");
    EXPECT_EQ(DiskPath::ResolveExistingPath(L""), L"");
}

} // namespace
