#pragma once

// A unique temporary folder for one test, removed with everything in it
// (also when a test took its write permission away).

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>

class CTestFolder
{
public:
    CTestFolder()
    {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("halvane-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~CTestFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    std::wstring Wide(const std::string& name = std::string()) const
    {
        return name.empty() ? m_path.wstring() : (m_path / name).wstring();
    }

    // Writes the bytes, creating the file's folders; the file's full path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        return file.string();
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
