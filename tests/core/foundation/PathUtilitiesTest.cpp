#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/PathUtilities.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{

// A scratch folder holding "sub dir/f\xc3\xa9.txt".
class PathUtilitiesTest : public ::testing::Test
{
protected:
    void SetUp() override { m_scratch.Write("sub dir/f\xc3\xa9.txt", "x"); }

    std::wstring Wide(const std::filesystem::path& path) const { return FromNativePath(path.string()); }

    CTestFolder m_scratch;
    const std::filesystem::path m_root = m_scratch.Path();
};

} // namespace

TEST(PathUtilities, FindNextPathPartWalksPartsAtBothSeparators)
{
    const std::wstring path = L"a\\bc//d";
    size_t next = 0;
    size_t length = 0;
    EXPECT_EQ(FindNextPathPart(path, 0, next, length), 0u);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(next, 2u);
    EXPECT_EQ(FindNextPathPart(path, next, next, length), 2u);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(FindNextPathPart(path, next, next, length), 5u); // the empty part between "//"
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(FindNextPathPart(path, next, next, length), 6u);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(next, std::wstring::npos);
    EXPECT_EQ(FindNextPathPart(path, next, next, length), std::wstring::npos);
    EXPECT_EQ(FindNextPathPart(path, 99, next, length), std::wstring::npos);
}

TEST(PathUtilities, CleanPath)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* separator;
        const wchar_t* cleaned;
    } cases[] = {
        {L"\\a\\.\\b\\..\\c", L"/", L"/a/c"},
        {L"./x//y", L"/", L"x/y"},
        {L"../../a", L"/", L"../../a"},
        {L"", L"/", L""},
        {L"a/../..", L"/", L".."},
        {L"/", L"/", L""},
        {L".\\/x", L"/", L"x"},
        {L"a/b/", L"/", L"a/b"},
        {L"//server/share", L"/", L"/server/share"},
        {L"dir/sub/../f.txt", L"\\", L"dir\\f.txt"},
        {L"C:\\x\\..\\y", L"/", L"C:/y"},
        {L"a/./b/./", L"/", L"a/b"},
    };
    for (const auto& c : cases)
    {
        std::wstring path = c.path;
        CleanPath(path, c.separator);
        EXPECT_EQ(path, c.cleaned) << "path '" << c.path << "'";
    }
}

TEST(PathUtilities, IsRelativePath)
{
    const struct
    {
        const wchar_t* path;
        bool relative;
    } cases[] = {
        {L"C:\\x", false}, {L"/x", false}, {L"\\x", false}, {L"x\\y", true},
        {L"", false},      {L"./", false}, {L"../x", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRelativePath(c.path), c.relative) << "path '" << c.path << "'";
}

TEST(PathUtilities, ExtractFilenameComponents)
{
    const struct
    {
        const wchar_t* path;
        bool drive, folder, name, extension;
        const wchar_t* result;
    } cases[] = {
        {L"scripts\\game\\main.lua", true, true, false, false, L"scripts/game/"},
        {L"scripts\\game\\main.lua", false, false, true, false, L"main"},
        {L"scripts\\game\\main.lua", false, false, false, true, L".lua"},
        {L"scripts\\game\\main.lua", false, false, true, true, L"main.lua"},
        {L"/abs/./x/../archive.tar.gz", true, true, true, true, L"/abs/archive.tar.gz"},
        {L"/abs/archive.tar.gz", false, false, false, true, L".gz"},
        {L"main.lua", true, true, false, false, L""},
        {L"dir.d/noext", false, false, true, true, L"noext"},
        {L"dir.d/noext", false, false, false, true, L""},
        {L"C:\\games\\x.lua", true, true, false, false, L"C:/games/"},
        {L"a/.hidden", false, false, true, false, L""},
        {L"a/.hidden", false, false, false, true, L".hidden"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractFilenameComponents(c.path, c.drive, c.folder, c.name, c.extension), c.result)
            << "path '" << c.path << "'";
}

TEST_F(PathUtilitiesTest, FileAndPathExistenceWithEitherSeparator)
{
    const std::wstring root = Wide(m_root);
    EXPECT_TRUE(PathExists(root + L"\\sub dir"));
    EXPECT_FALSE(FileExists(root + L"\\sub dir"));
    EXPECT_TRUE(FileExists(root + L"\\sub dir\\f\u00e9.txt"));
    EXPECT_FALSE(PathExists(root + L"/sub dir/f\u00e9.txt"));
    EXPECT_FALSE(FileExists(root + L"/missing.txt"));
    EXPECT_FALSE(PathExists(root + L"/missing"));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(PathExists(L""));
}

TEST_F(PathUtilitiesTest, CurrentDirectoryChangesAndRestores)
{
    const std::wstring before = CCurrentDirectory().Get();
    const std::wstring target = Wide(std::filesystem::canonical(m_root / "sub dir"));
    {
        CCurrentDirectory change(Wide(m_root) + L"\\sub dir", true);
        EXPECT_EQ(change.Get(), target);
        EXPECT_TRUE(FileExists(L"f\u00e9.txt"));
        EXPECT_FALSE(change.Set(L"missing-folder"));
        EXPECT_EQ(change.Get(), target);
        EXPECT_FALSE(change.Set(L"")); // nothing to change
    }
    EXPECT_EQ(CCurrentDirectory().Get(), before);

    {
        CCurrentDirectory change(Wide(m_root), false);
    }
    EXPECT_EQ(CCurrentDirectory().Get(), Wide(std::filesystem::canonical(m_root)));
    std::filesystem::current_path(ToNativePath(before));
}
