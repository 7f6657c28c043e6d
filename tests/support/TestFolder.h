#pragma once

// A unique temporary folder for one test, removed with everything in it
// (also when a test took its write permission away). A folder still in use
// when its process calls exit (a death test's child ending as it should) is
// removed by that process on the way out.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
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
        Remember(this);
    }
    ~CTestFolder()
    {
        Forget(this);
        Remove(m_path);
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
    static void Remove(const std::filesystem::path& path)
    {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }

    // The folders alive, with the process that made each: a child forked
    // from a test (a death test's) must leave its parent's folders alone.
    struct SLiveFolders
    {
        std::mutex mutex;
        std::map<const CTestFolder*, std::pair<pid_t, std::filesystem::path>> folders;
    };
    static SLiveFolders& LiveFolders()
    {
        static SLiveFolders live;
        return live;
    }
    static void Remember(const CTestFolder* folder)
    {
        SLiveFolders& live = LiveFolders();
        static const bool atExit = std::atexit(&RemoveOwnFolders) == 0;
        (void)atExit;
        std::lock_guard<std::mutex> lock(live.mutex);
        live.folders[folder] = {getpid(), folder->m_path};
    }
    static void Forget(const CTestFolder* folder)
    {
        SLiveFolders& live = LiveFolders();
        std::lock_guard<std::mutex> lock(live.mutex);
        live.folders.erase(folder);
    }
    static void RemoveOwnFolders()
    {
        SLiveFolders& live = LiveFolders();
        std::lock_guard<std::mutex> lock(live.mutex);
        for (const auto& [folder, owner] : live.folders)
            if (owner.first == getpid())
                Remove(owner.second);
        live.folders.clear();
    }

    std::filesystem::path m_path;
};
