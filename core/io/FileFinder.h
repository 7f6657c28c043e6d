#pragma once

#include "core/io/DiskPath.h"
#include "core/io/SearchEntry.h"
#include "core/io/ZipReader.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CFileSystem;

// One match of a search, as the search cache keeps it.
struct SFindRecord
{
    std::wstring name;     // the found name (for archive matches: file name and extension)
    std::wstring fullPath; // folder or archive, "/", the path inside it; cleaned
    bool isDirectory = false;
    std::shared_ptr<const CSearchEntry> entry; // where it was found
    ZipEntryRecord zipRecord;                  // archive matches only
};

// Enumerates the matches of a pattern over all search entries of a file
// system, entry by entry in search order. A folder entry yields every
// matching name in the folder (pattern folder parts are followed; names
// compare without regard to case, "*" and "?" as wildcards, "*.*" means
// every file); an archive entry yields at most its first matching entry.
//
// Start with CFileSystem::FindFirst, then call FindNext until it returns
// false.
class CFileFinder
{
public:
    CFileFinder(CFileSystem* fileSystem, const std::wstring& pattern);

    // Forgets the current search and takes a new pattern.
    void Reset(const std::wstring& pattern);
    // Advances to the next match; false when there is none.
    bool FindNext();

    // The current match's full path; empty without a match.
    std::wstring GetFilePath() const;
    // The found name alone.
    const std::wstring& GetFileName() const;
    bool IsDirectory() const;
    // The found name ends in "." ("." and ".." entries).
    bool IsDotEntry() const;
    bool IsInArchive() const;
    // The current match, or null.
    const SFindRecord* GetRecord() const { return m_current ? &*m_current : nullptr; }

    CFileSystem* GetFileSystem() const { return m_fileSystem; }

private:
    friend class CFileSystem;

    // Forgets the current search, keeping the pattern.
    void Restart();
    // Makes a match taken from the search cache the current one; the walk
    // over the entries starts only when FindNext is called.
    void TakeCached(const std::optional<SFindRecord>& cached);
    // The next match of the walk over the entries.
    bool Walk();
    bool NextInFolder(const CSearchEntry& entry);
    bool LookUpInArchive(const std::shared_ptr<const CSearchEntry>& entry);

    CFileSystem* m_fileSystem;
    std::wstring m_pattern;
    std::wstring m_folderPart; // up to and including the last "/", or empty
    std::wstring m_namePart;

    bool m_started = false; // the entries have been taken from the file system
    std::vector<std::shared_ptr<const CSearchEntry>> m_entries;
    size_t m_entryIndex = 0;
    bool m_entryOpened = false; // the current entry has been listed or looked up
    std::vector<DiskPath::SEntry> m_listing;
    std::string m_listedFolder; // native path of the folder listed
    size_t m_listingPos = 0;

    std::optional<SFindRecord> m_current;
    // A first match handed out from the cache: the walk skips it once.
    std::optional<std::wstring> m_skipPath;
};
