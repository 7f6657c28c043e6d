#include "platform/UserFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class UserFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* previous = std::getenv("TMPDIR");
        m_previous = previous != nullptr ? previous : "";
        m_hadPrevious = previous != nullptr;
        m_folder = fs::temp_directory_path() / ("halvane-userfiles-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        ::setenv("TMPDIR", (m_folder.string() + "/").c_str(), 1);
    }
    void TearDown() override
    {
        if (m_hadPrevious)
            ::setenv("TMPDIR", m_previous.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        fs::remove_all(m_folder);
    }

    fs::path m_folder;
    std::string m_previous;
    bool m_hadPrevious = false;
};

TEST_F(UserFiles, WritesAndReplacesTheFileInTheUsersTemporaryFolder)
{
    EXPECT_EQ(Platform::GetUserTempFolder(), m_folder.string());
    const std::string path = Platform::WriteUserTempFile("ErrorReport.txt", "first, longer text\n");
    ASSERT_EQ(path, (m_folder / "ErrorReport.txt").string());
    EXPECT_EQ(Platform::WriteUserTempFile("ErrorReport.txt", "second\n"), path);
    EXPECT_EQ(ReadAll(path), "second\n");
    EXPECT_EQ(fs::status(path).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);

    EXPECT_EQ(Platform::WriteUserTempFile("../escape.txt", "x"), "");
    EXPECT_EQ(Platform::WriteUserTempFile("", "x"), "");
}

TEST_F(UserFiles, ALinkPlantedInPlaceOfTheFileIsNotFollowed)
{
    const fs::path victim = m_folder / "victim.txt";
    std::ofstream(victim) << "keep me";
    fs::create_symlink(victim, m_folder / "ErrorReport.txt");
    EXPECT_EQ(Platform::WriteUserTempFile("ErrorReport.txt", "overwritten"), "");
    EXPECT_EQ(ReadAll(victim), "keep me");
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
