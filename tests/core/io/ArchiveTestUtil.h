#pragma once

// Helpers shared by the archive tests: a scratch folder removed at the end
// and whole-file reads and writes.

#include "core/foundation/KVOError.h"

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace ArchiveTest
{

class CScratchFolder
{
public:
    CScratchFolder()
    {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("halvane-archive-test-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~CScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    std::filesystem::path Path(const std::string& name) const { return m_path / name; }
    std::wstring WPath(const std::string& name) const { return Path(name).wstring(); }
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Fixture(const std::string& name)
{
    return ReadAll(std::filesystem::path(HALVANE_TEST_DATA_DIR) / "fixtures" / name);
}

// The message of the CKVOError the action throws, or "(no error)".
inline std::string ErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        return error.GetMessageUtf8();
    }
    return "(no error)";
}

} // namespace ArchiveTest
