#include "ArchiveTestUtil.h"

#include "core/foundation/StringConversion.h"
#include "core/io/Options.h"
#include "core/io/SaveFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>

using namespace ArchiveTest;
namespace fs = std::filesystem;

namespace
{

// Saves a one-entry option store with the value to the path in the mode.
bool SaveOptions(const std::wstring& path, const std::wstring& value, const char* mode = "UTF8")
{
    COptions options;
    options.Set(L"[k]", value);
    return options.Save(path, mode);
}

std::wstring LoadedValue(const std::string& path)
{
    COptions options;
    const CFilePtr file = OpenRead(Misc::Text::Utf8ToWide(path));
    std::wstring value;
    if (!options.Load(file.get()) || !options.Get(L"[k]", value))
        return L"(not loaded)";
    return value;
}

unsigned ModeOf(const std::string& path)
{
    struct stat status = {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

size_t FilesIn(const fs::path& folder)
{
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        count += entry.symlink_status().type() == fs::file_type::regular ? 1 : 0;
    return count;
}

} // namespace

TEST(SaveFile, KeepsTheTargetsPermissions)
{
    CTestFolder folder;
    const mode_t oldMask = ::umask(022);
    for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
    {
        for (const unsigned permissions : {0600u, 0640u, 0755u})
        {
            folder.Write("o.kvocfg", "old");
            ::chmod((folder / "o.kvocfg").c_str(), permissions);
            ASSERT_TRUE(SaveOptions(folder.Wide("o.kvocfg"), L"new", mode)) << mode;
            EXPECT_EQ(ModeOf(folder / "o.kvocfg"), permissions) << mode;
            EXPECT_EQ(LoadedValue(folder / "o.kvocfg"), L"new") << mode;
        }
    }
    // A new file gets the usual permissions.
    ASSERT_TRUE(SaveOptions(folder.Wide("fresh.kvocfg"), L"v"));
    EXPECT_EQ(ModeOf(folder / "fresh.kvocfg"), 0644u);
    ::umask(oldMask);
    EXPECT_EQ(FilesIn(folder.Path()), 2u);
}

// A link may lead out of the game's folders: a save never writes through
// it, nor replaces it, wherever it leads.
TEST(SaveFile, RefusesASymbolicLinkWhereverItLeads)
{
    CTestFolder folder;
    fs::create_directories(folder.Path() / "data");
    folder.Write("data/real.kvocfg", "old");
    const struct
    {
        const char* link;
        std::string target; // as the link holds it
    } cases[] = {
        {"relative.kvocfg", "data/real.kvocfg"},
        {"absolute.kvocfg", folder / "data/real.kvocfg"},
        {"chain.kvocfg", "relative.kvocfg"},
        {"data/inner.kvocfg", "real.kvocfg"},
        {"dangling.kvocfg", "data/new.kvocfg"},
        {"loop-a", "loop-b"},
        {"loop-b", "loop-a"},
    };
    for (const auto& test : cases)
        fs::create_symlink(test.target, folder.Path() / test.link);
    for (const auto& test : cases)
    {
        for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
            EXPECT_FALSE(SaveOptions(folder.Wide(test.link), L"through", mode)) << test.link << " " << mode;
        EXPECT_TRUE(fs::is_symlink(folder.Path() / test.link)) << test.link;
    }
    EXPECT_EQ(folder.Read("data/real.kvocfg"), "old");
    EXPECT_FALSE(fs::exists(folder.Path() / "data/new.kvocfg"));
    EXPECT_EQ(FilesIn(folder.Path()), 1u); // no temporary file is left
}

// A killed save leaves its temporary file; the next save into the folder
// removes those whose process is gone, and those of this process that no
// save of it is writing now.
TEST(SaveFile, TheNextSaveRemovesTemporaryFilesThatKilledSavesLeft)
{
    CTestFolder folder;
    const std::string self = std::to_string(::getpid());
    folder.Write("a.kvocfg.~" + self + ".999999.tmp", "left by an earlier run");
    folder.Write("b.kvocfg.~1.0.tmp", "process 1 runs");
    CSaveFile first(folder.Wide("a.kvocfg"));
    ASSERT_TRUE(first.IsOk());
    EXPECT_FALSE(fs::exists(folder.Path() / ("a.kvocfg.~" + self + ".999999.tmp")));
    ASSERT_EQ(first.write("first", 5), 5);
    // A second save beside a running one leaves the running one's file.
    ASSERT_TRUE(SaveOptions(folder.Wide("c.kvocfg"), L"second"));
    ASSERT_TRUE(first.Commit());
    EXPECT_EQ(folder.Read("a.kvocfg"), "first");
    EXPECT_TRUE(fs::exists(folder.Path() / "b.kvocfg.~1.0.tmp"));
    EXPECT_EQ(FilesIn(folder.Path()), 3u);
}

TEST(SaveFile, LongNamesKeepTheTemporaryNameWithinTheLimit)
{
    CTestFolder folder;
    for (const size_t length : {240u, 249u, 255u})
    {
        const std::string name = std::string(length - 7, 'n') + ".kvocfg";
        ASSERT_TRUE(SaveOptions(folder.Wide(name), L"long")) << length;
        EXPECT_EQ(LoadedValue(folder / name), L"long") << length;
    }
    // Cut among multi-byte characters, the temporary name stays UTF-8.
    std::string accented = "a";
    for (int i = 0; i < 123; ++i)
        accented += "\xC3\xA9";
    accented += ".cfg";
    ASSERT_LE(accented.size(), 255u);
    ASSERT_TRUE(SaveOptions(Misc::Text::Utf8ToWide(folder / accented), L"accent"));
    EXPECT_EQ(LoadedValue(folder / accented), L"accent");
    EXPECT_EQ(FilesIn(folder.Path()), 4u);
}

TEST(SaveFile, ANameThatDiffersOnlyInCaseSavesTheExistingFile)
{
    CTestFolder folder;
    folder.Write("Config.KVOCFG", "old");
    ASSERT_TRUE(SaveOptions(folder.Wide("config.kvocfg"), L"new"));
    EXPECT_FALSE(fs::exists(folder.Path() / "config.kvocfg") &&
                 !fs::equivalent(folder.Path() / "config.kvocfg", folder.Path() / "Config.KVOCFG"));
    EXPECT_EQ(LoadedValue(folder / "Config.KVOCFG"), L"new");
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

// A save never replaces a FIFO, a device node or a folder, named directly or
// through a link, and a name with a NUL (which would end it early) saves
// nothing at all.
TEST(SaveFile, RefusesTargetsThatAreNoRegularFileAndNamesWithANul)
{
    CTestFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directories(folder.Path() / "folder");
    fs::create_symlink("fifo", folder.Path() / "to-fifo");
    std::vector<std::string> targets = {"fifo", "folder", "to-fifo"};
    // Device nodes need root; this one behaves like /dev/null.
    if (::mknod((folder / "null").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        targets.push_back("null");
    for (const std::string& target : targets)
    {
        const fs::file_type before = fs::symlink_status(folder.Path() / target).type();
        CSaveFile save(folder.Wide(target));
        EXPECT_FALSE(save.IsOk()) << target;
        EXPECT_EQ(save.write("x", 1), 0) << target;
        EXPECT_FALSE(save.Commit()) << target;
        EXPECT_EQ(fs::symlink_status(folder.Path() / target).type(), before) << target;
        EXPECT_FALSE(SaveOptions(folder.Wide(target), L"x")) << target;
    }
    EXPECT_EQ(fs::status(folder.Path() / "to-fifo").type(), fs::file_type::fifo);

    std::wstring withNul = folder.Wide("nul");
    withNul += std::wstring(1, L'\0') + L".evil";
    CSaveFile save(withNul);
    EXPECT_FALSE(save.IsOk());
    EXPECT_FALSE(save.Commit());
    EXPECT_FALSE(SaveOptions(withNul, L"x"));
    EXPECT_FALSE(fs::exists(folder.Path() / "nul"));
    EXPECT_EQ(FilesIn(folder.Path()), 0u); // no temporary file is left
}
