#pragma once

// Zip archives mounted in the file system. A mounted archive is opened once
// and its central directory read once (through a buffered cursor), into a
// table of entries and maps from names to entries; opening an entry then
// costs a map lookup, one read of its bytes at their position and the
// inflate. The table is made again when the file's identity, size or
// modification time change.
//
// Thread safety: one descriptor per archive, read only at positions
// (pread), so entries are read from any thread at once; minizip itself is
// used only while the entry table is made and, under the archive's lock,
// to check an entry's local header the first time the entry is opened.

#include "core/io/ZipByteSource.h"
#include "core/io/ZipEntryStream.h"
#include "core/io/ZipReader.h"
#include "platform/FileStatus.h"

#include <minizip/unzip.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CZipArchive
{
public:
    // Opens the archive at the native path (a regular file) and reads its
    // directory; null when it cannot be opened or is not a zip archive.
    static std::shared_ptr<CZipArchive> Open(const std::string& nativePath, const std::string& password);

    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;
    ~CZipArchive();

    // The file's status when it was opened.
    const Platform::SFileStatus& GetStatus() const { return m_status; }
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }

    // The first entry whose cleaned name equals the name without regard to
    // case (wildcard characters are plain characters here); with
    // fileNamesOnly both are reduced to file name and extension. -1 when
    // there is none.
    int Find(std::wstring_view name, bool fileNamesOnly) const;
    // The same with the name read as a wildcard pattern ("*", "?"; "*.*"
    // matches every name), as folders on disk are searched.
    int FindPattern(std::wstring_view pattern, bool fileNamesOnly) const;

    // The entry's record: safe name, attributes, sizes and index. Times are
    // not read here (ZipGetItem gives them). False for a bad index.
    bool GetRecord(int index, ZipEntryRecord& record) const;

    // Unzips the whole entry into target, which holds length bytes (at
    // least the entry's declared size); the size and the CRC are checked.
    // A zip result code.
    uint32_t Unzip(int index, uint8_t* target, size_t length) const;

private:
    struct SEntry
    {
        std::wstring name;     // safe and cleaned
        std::wstring fileName; // file name and extension alone
        unz_file_info64 info = {};
        unz64_file_pos position = {};
        uint32_t attributes = 0;
        // Where the data lies, once the local header has been checked.
        mutable bool located = false;
        mutable SZipEntryLocation location;
    };

    CZipArchive() : m_cursor(m_source) {}
    bool ReadDirectory();
    uint32_t Locate(const SEntry& entry, SZipEntryLocation& location) const;

    CZipByteSource m_source;
    CZipCursor m_cursor;
    unzFile m_zip = nullptr;
    std::string m_password;
    Platform::SFileStatus m_status;
    std::vector<SEntry> m_entries;
    // Case-folded names to the first entry that has them.
    std::unordered_map<std::wstring, int> m_byName;
    std::unordered_map<std::wstring, int> m_byFileName;
    // Guards minizip and the entries' located data.
    mutable std::mutex m_lock;
};

// A zip archive filed as a search entry: its current table, made again when
// the file changes. Safe to use from several threads.
class CZipMount
{
public:
    CZipMount(std::string nativePath, std::string password);

    // The archive as the file is now; null when the file is gone or is not
    // a zip archive.
    std::shared_ptr<CZipArchive> Current() const;

private:
    std::string m_path;
    std::string m_password;
    mutable std::mutex m_lock;
    mutable std::shared_ptr<CZipArchive> m_archive;
    // The version of the file that could not be read as an archive, so it
    // is not tried again until it changes.
    mutable Platform::SFileStatus m_failed;
};
