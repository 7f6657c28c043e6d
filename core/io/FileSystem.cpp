#include "core/io/FileSystem.h"

#include "core/foundation/PathUtilities.h"
#include "core/io/DiskPath.h"
#include "core/io/FileStd.h"
#include "core/io/FileZip.h"

#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The cleaned path; a path that cleans to nothing is the current folder,
// or the root when it started at the root.
std::wstring CleanedFolder(const std::wstring& path)
{
    std::wstring cleaned = path + L"/";
    CleanPath(cleaned, L"/");
    if (cleaned.empty() && !path.empty())
        cleaned = (path[0] == L'/' || path[0] == L'\\') ? L"/" : L".";
    return cleaned;
}

bool IsFolder(const std::string& native)
{
    struct stat info;
    return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& native)
{
    struct stat info;
    return stat(native.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

} // namespace

CFileSystem::CFileSystem(const wchar_t* basePath, bool cacheEnabled, bool setCurrentDirectory)
    : m_cacheEnabled(cacheEnabled)
{
    if (basePath)
        SetBasePath(basePath, setCurrentDirectory);
}

CFileSystem::~CFileSystem()
{
    RemoveAllSearchPaths();
}

void CFileSystem::SetBasePath(const std::wstring& path, bool setCurrentDirectory)
{
    CScopedLock lock(m_lock);
    m_basePath = CleanedFolder(path);
    if (m_basePath.empty())
        m_basePath = L".";
    if (setCurrentDirectory)
        ChangeToBasePath();
}

std::wstring CFileSystem::GetBasePath() const
{
    CScopedLock lock(m_lock);
    return m_basePath;
}

void CFileSystem::ChangeToBasePath() const
{
    if (chdir(DiskPath::Resolve(m_basePath).c_str()) != 0)
    {
        // The base path is gone: searches go on from where we are.
    }
}

bool CFileSystem::AddSearchPath(const std::wstring& folder, bool recursive, int32_t key)
{
    CScopedLock lock(m_lock);
    const std::wstring cleaned = CleanedFolder(folder);
    if (cleaned.empty())
        return false;
    const std::string native = DiskPath::Resolve(cleaned);
    if (!IsFolder(native))
        return false;
    AddFolder(native, recursive, key);
    // A cached "not found" may be found now.
    m_cache.clear();
    return true;
}

void CFileSystem::AddFolder(const std::string& native, bool recursive, int32_t key)
{
    auto entry = std::make_shared<CSearchEntry>();
    entry->path = FromNativePath(native);
    m_entries[key].push_back(entry);
    if (!recursive)
        return;
    // Links are not followed: they could lead anywhere, or in a circle. A
    // name that holds "\" is left out: engine paths split it into parts, so
    // no file in it could be named, and a name such as "..\.." would lead
    // lookups out of the tree.
    const std::string prefix = native.back() == '/' ? native : native + "/";
    for (const DiskPath::SEntry& item : DiskPath::ListFolder(native, L"*"))
    {
        if (item.isDirectory && !item.isSymlink && item.nativeName.find('\\') == std::string::npos)
            AddFolder(prefix + item.nativeName, true, key);
    }
}

bool CFileSystem::AddSearchZip(const std::wstring& archive, bool retryFileNames, int32_t key,
                               const std::string& password)
{
    CScopedLock lock(m_lock);
    std::wstring cleaned = archive;
    CleanPath(cleaned, L"/");
    if (cleaned.empty())
        return false;
    const std::string native = DiskPath::Resolve(cleaned);
    if (!IsFile(native))
        return false;

    auto entry = std::make_shared<CSearchEntry>();
    entry->path = FromNativePath(native);
    entry->isArchive = true;
    entry->retryFileNames = retryFileNames;
    entry->password = password;
    m_entries[key].push_back(entry);
    m_cache.clear();
    return true;
}

void CFileSystem::RemoveSearchPaths(int32_t key)
{
    CScopedLock lock(m_lock);
    m_cache.clear();
    m_entries.erase(key);
}

void CFileSystem::RemoveAllSearchPaths()
{
    CScopedLock lock(m_lock);
    m_cache.clear();
    m_entries.clear();
}

void CFileSystem::EnableSearchCache(bool enable)
{
    CScopedLock lock(m_lock);
    m_cacheEnabled = enable;
    if (!enable)
        m_cache.clear();
}

bool CFileSystem::IsSearchCacheEnabled() const
{
    CScopedLock lock(m_lock);
    return m_cacheEnabled;
}

void CFileSystem::ClearSearchCache()
{
    CScopedLock lock(m_lock);
    m_cache.clear();
}

CFileSystem::SearchList CFileSystem::Snapshot() const
{
    CScopedLock lock(m_lock);
    SearchList list;
    for (const auto& [key, entries] : m_entries)
        list.insert(list.end(), entries.begin(), entries.end());
    return list;
}

bool CFileSystem::FindFirst(CFileFinder& finder, bool setCurrentDirectory)
{
    CScopedLock lock(m_lock);
    if (finder.m_fileSystem != this || finder.m_pattern.empty())
        return false;
    if (setCurrentDirectory)
        ChangeToBasePath();
    finder.Restart();
    if (m_cacheEnabled)
    {
        const auto cached = m_cache.find(finder.m_pattern);
        if (cached != m_cache.end())
        {
            finder.TakeCached(cached->second);
            return cached->second.has_value();
        }
    }
    const bool found = finder.Walk();
    if (m_cacheEnabled)
        m_cache[finder.m_pattern] = finder.m_current;
    return found;
}

IFile* CFileSystem::Open(const std::wstring& name)
{
    const std::string native = DiskPath::Resolve(name);
    if (IsFile(native))
        return new CFileStd(FromNativePath(native), L"rb");

    CFileFinder finder(this, name);
    if (!FindFirst(finder, false))
        return nullptr;
    const SFindRecord* found = finder.GetRecord();
    if (!found || found->isDirectory)
        return nullptr;
    if (found->entry && found->entry->isArchive)
        return new CFileZip(*found->entry, found->zipRecord);
    return new CFileStd(found->fullPath, L"rb");
}

IFile* CFileSystem::OpenFile(const std::wstring& name, bool setCurrentDirectory, bool fallback)
{
    CScopedLock lock(m_lock);
    if (name.empty())
        return nullptr;
    if (setCurrentDirectory)
        ChangeToBasePath();
    IFile* file = Open(name);
    if (!file && fallback)
    {
        const std::wstring bare = ExtractFilenameComponents(name, false, false, true, true);
        if (!bare.empty() && bare != name)
            file = Open(bare);
    }
    return file;
}
