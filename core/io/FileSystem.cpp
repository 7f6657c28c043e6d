#include "core/io/FileSystem.h"

#include "core/foundation/PathUtilities.h"
#include "core/io/DiskPath.h"
#include "core/io/FileStd.h"
#include "core/io/FileZip.h"
#include "core/io/ZipArchive.h"
#include "platform/FileStatus.h"
#include "platform/PathChanges.h"

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
    return Platform::GetFileStatus(native).IsFolder();
}

// Only regular files are opened or mounted: a FIFO or a device would block
// the reader (and every later lookup) or never end.
bool IsRegularFile(const std::string& native)
{
    return Platform::GetFileStatus(native).IsRegular();
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

void CFileSystem::ChangeToBasePath() const
{
    // When the base path is gone, searches go on from where we are.
    Platform::ChangeDirectory(DiskPath::Resolve(m_basePath));
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
    ClearCaches();
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
    if (!IsRegularFile(native))
        return false;

    auto entry = std::make_shared<CSearchEntry>();
    entry->path = FromNativePath(native);
    entry->isArchive = true;
    entry->retryFileNames = retryFileNames;
    entry->password = password;
    entry->mount = std::make_shared<CZipMount>(native, password);
    // The entry table is made now, not by the first lookup.
    entry->mount->Current();
    m_entries[key].push_back(entry);
    ClearCaches();
    return true;
}

void CFileSystem::RemoveSearchPaths(int32_t key)
{
    CScopedLock lock(m_lock);
    ClearCaches();
    m_entries.erase(key);
}

void CFileSystem::RemoveAllSearchPaths()
{
    CScopedLock lock(m_lock);
    ClearCaches();
    m_entries.clear();
}

void CFileSystem::EnableSearchCache(bool enable)
{
    CScopedLock lock(m_lock);
    m_cacheEnabled = enable;
    if (!enable)
        ClearCaches();
}

bool CFileSystem::IsSearchCacheEnabled() const
{
    CScopedLock lock(m_lock);
    return m_cacheEnabled;
}

void CFileSystem::ClearSearchCache()
{
    CScopedLock lock(m_lock);
    ClearCaches();
}

void CFileSystem::ClearCaches()
{
    m_cache.clear();
    m_openCache.clear();
    ++m_cacheGeneration;
}

uint64_t CFileSystem::GetCacheGeneration() const
{
    CScopedLock lock(m_lock);
    return m_cacheEnabled ? m_cacheGeneration : 0;
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

std::optional<SFindRecord> CFileSystem::LookUpName(const std::wstring& cleaned) const
{
    for (const std::shared_ptr<const CSearchEntry>& entry : Snapshot())
    {
        if (entry->isArchive)
        {
            const std::shared_ptr<CZipArchive> archive = entry->mount ? entry->mount->Current() : nullptr;
            if (!archive)
                continue;
            int index = archive->Find(cleaned, false);
            if (index < 0 && entry->retryFileNames)
                index = archive->Find(cleaned, true);
            if (index < 0)
                continue;
            SFindRecord record;
            archive->GetRecord(index, record.zipRecord);
            record.name = ExtractFilenameComponents(record.zipRecord.name, false, false, true, true);
            record.fullPath = entry->path + L"/" + record.zipRecord.name;
            CleanPath(record.fullPath, L"/");
            record.isDirectory = (record.zipRecord.attributes & kZipAttributeDirectory) != 0;
            record.entry = entry;
            return record;
        }
        const std::string native = DiskPath::Resolve(entry->path + L"/" + cleaned);
        const Platform::SFileStatus status = Platform::GetFileStatus(native);
        if (!status.Exists())
            continue;
        SFindRecord record;
        record.fullPath = FromNativePath(native);
        CleanPath(record.fullPath, L"/");
        record.name = record.fullPath.substr(record.fullPath.rfind(L'/') + 1);
        record.isDirectory = status.IsFolder();
        record.entry = entry;
        return record;
    }
    return std::nullopt;
}

IFile* CFileSystem::Open(const std::wstring& name)
{
    const std::string native = DiskPath::Resolve(name);
    if (IsRegularFile(native))
        return new CFileStd(FromNativePath(native), L"rb");

    // The name is a file name, not a pattern: "*" and "?" are matched as
    // they are, in folders and archives alike.
    std::wstring cleaned = name;
    CleanPath(cleaned, L"/");
    if (cleaned.empty())
        return nullptr;
    std::optional<SFindRecord> found;
    const auto cached = m_cacheEnabled ? m_openCache.find(cleaned) : m_openCache.end();
    if (cached != m_openCache.end())
    {
        found = cached->second;
    }
    else
    {
        found = LookUpName(cleaned);
        if (m_cacheEnabled)
            m_openCache[cleaned] = found;
    }
    if (!found || found->isDirectory)
        return nullptr;
    if (found->entry && found->entry->isArchive)
        return new CFileZip(*found->entry, found->zipRecord);
    if (!IsRegularFile(ToNativePath(found->fullPath)))
        return nullptr;
    return new CFileStd(found->fullPath, L"rb");
}

IFile* CFileSystem::OpenFile(const std::wstring& name, bool setCurrentDirectory, bool fallback)
{
    CScopedLock lock(m_lock);
    // A NUL would end the name early: no file has such a name.
    if (name.empty() || name.find(L'\0') != std::wstring::npos)
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
