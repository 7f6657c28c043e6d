#include "platform/UserFiles.h"

#include "support/ScopedEnvironment.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

// The user's temporary folder is the test's own folder (TMPDIR, given with
// a trailing "/").
class UserFiles : public ::testing::Test
{
protected:
    std::string Folder() const { return m_folder.Path().string(); }

    CTestFolder m_folder;
    CScopedEnvironment m_tmpdir{"TMPDIR", (Folder() + "/").c_str()};
};

TEST_F(UserFiles, WritesAndReplacesTheFileInTheUsersTemporaryFolder)
{
    EXPECT_EQ(Platform::GetUserTempFolder(), Folder());
    const std::string path = Platform::WriteUserTempFile("ErrorReport.txt", "first, longer text\n");
    ASSERT_EQ(path, m_folder / "ErrorReport.txt");
    EXPECT_EQ(Platform::WriteUserTempFile("ErrorReport.txt", "second\n"), path);
    EXPECT_EQ(m_folder.Read("ErrorReport.txt"), "second\n");
    EXPECT_EQ(fs::status(path).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);

    EXPECT_EQ(Platform::WriteUserTempFile("../escape.txt", "x"), "");
    EXPECT_EQ(Platform::WriteUserTempFile("", "x"), "");
}

TEST_F(UserFiles, ALinkPlantedInPlaceOfTheFileIsNotFollowed)
{
    m_folder.Write("victim.txt", "keep me");
    fs::create_symlink(m_folder / "victim.txt", m_folder / "ErrorReport.txt");
    EXPECT_EQ(Platform::WriteUserTempFile("ErrorReport.txt", "overwritten"), "");
    EXPECT_EQ(m_folder.Read("victim.txt"), "keep me");
}

TEST_F(UserFiles, WithoutTmpdirTheFolderIsPrivateToTheUser)
{
    ::unsetenv("TMPDIR");
    const std::string expected = "/tmp/halvane-" + std::to_string(::getuid());
    const bool existed = fs::exists(expected);
    const std::string folder = Platform::GetUserTempFolder();
    ASSERT_EQ(folder, expected);
    EXPECT_EQ(fs::status(folder).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);
    std::error_code ignored;
    if (!existed)
        fs::remove(folder, ignored);
}

} // namespace
