#pragma once

#include "core/foundation/CriticalSection.h"
#include "core/io/FileFinder.h"
#include "core/io/SearchEntry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class IFile;

// Finds and opens the engine's files by name: a name that exists on disk
// opens directly, otherwise the search entries are tried in order, each a
// folder or a mounted zip archive. Entries are filed under signed keys and
// searched in ascending key order (callers file under the negated
// priority), within a key in the order they were added.
//
// Search results can be cached per pattern; adding or removing entries
// clears the cache. Every public operation holds the file system's lock.
class CFileSystem
{
public:
    // With a base path, SetBasePath(basePath, setCurrentDirectory).
    explicit CFileSystem(const wchar_t* basePath = nullptr, bool cacheEnabled = true,
                         bool setCurrentDirectory = false);
    ~CFileSystem();
    CFileSystem(const CFileSystem&) = delete;
    CFileSystem& operator=(const CFileSystem&) = delete;

    // Stores the path (cleaned); with the flag it also becomes the process's
    // current directory.
    void SetBasePath(const std::wstring& path, bool setCurrentDirectory);

    // Adds the folder (and with recursive every sub-folder below it, links
    // not followed) under the key; false when it is not an existing folder.
    bool AddSearchPath(const std::wstring& folder, bool recursive, int32_t key);
    // Mounts a zip archive under the key (its entries are read once, now,
    // and again when the file changes); false when the path is not a
    // regular file.
    bool AddSearchZip(const std::wstring& archive, bool retryFileNames, int32_t key,
                      const std::string& password);
    // Removes every entry filed under exactly this key.
    void RemoveSearchPaths(int32_t key);
    void RemoveAllSearchPaths();

    void EnableSearchCache(bool enable);
    bool IsSearchCacheEnabled() const;
    void ClearSearchCache();
    // Changes whenever the cached lookups are dropped (search paths added or
    // removed, the cache cleared or switched off); 0 while caching is off.
    // Callers that keep answers of their own drawn from lookups keep them
    // as long as this stays the same.
    uint64_t GetCacheGeneration() const;

    // Starts a search with the finder's pattern (the finder must belong to
    // this file system); true when there is a first match. Further matches
    // come from CFileFinder::FindNext. With the flag, the base path becomes
    // the current directory first.
    bool FindFirst(CFileFinder& finder, bool setCurrentDirectory = false);

    // Opens the named file for reading: from disk when the name exists,
    // else from the first search entry that holds the name, unless that is
    // a folder. The name is matched literally (without regard to case, "*"
    // and "?" are plain characters); only regular files open. With
    // fallback, a name that is not found is tried once more as its bare file
    // name and extension. Returns a new file (the caller drops it) or null.
    IFile* OpenFile(const std::wstring& name, bool setCurrentDirectory = false, bool fallback = false);

private:
    friend class CFileFinder;

    using SearchList = std::vector<std::shared_ptr<const CSearchEntry>>;

    // The entries in search order.
    SearchList Snapshot() const;
    void ChangeToBasePath() const;
    // Files an existing native folder (and with recursive its sub-folders).
    void AddFolder(const std::string& native, bool recursive, int32_t key);
    IFile* Open(const std::wstring& name);
    // The first search entry that holds the cleaned name, as a record.
    std::optional<SFindRecord> LookUpName(const std::wstring& cleaned) const;
    void ClearCaches();

    std::wstring m_basePath = L".";
    std::map<int32_t, SearchList> m_entries;
    std::unordered_map<std::wstring, std::optional<SFindRecord>> m_cache;
    // The results of OpenFile's literal lookups, kept and cleared with the
    // search cache.
    std::unordered_map<std::wstring, std::optional<SFindRecord>> m_openCache;
    bool m_cacheEnabled;
    uint64_t m_cacheGeneration = 1;
    mutable CCriticalSection m_lock;
};
