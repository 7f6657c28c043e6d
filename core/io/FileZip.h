#pragma once

#include "core/io/File.h"
#include "core/io/SearchEntry.h"
#include "core/io/ZipReader.h"

#include <cstdint>
#include <memory>
#include <string>

// An entry of a zip archive, read from memory. The entry is read through
// its mounted archive (one open file and entry table per archive, shared by
// every entry file and safe to use from any thread). The whole entry is
// unzipped on first use (a first read of the whole entry unzips straight into the
// caller's buffer); if that fails (the archive changed or is damaged, the
// password is wrong, the entry is larger than kMaxSize) the file stays
// empty: reads give 0 bytes, the size becomes 0 and IsOk is false. Data is
// handed out only after all of it arrived and its CRC matched. Writing
// throws.
class CFileZip : public IFile
{
public:
    // Entries larger than this are refused rather than held in memory.
    static constexpr int64_t kMaxSize = kZipMaxEntrySize;

    CFileZip(const CSearchEntry& archive, const ZipEntryRecord& record);

    int32_t read(void* buffer, uint32_t sizeToRead) override;
    // Throws "[CFileZip::write] Not implemented".
    int32_t write(const void* buffer, uint32_t sizeToWrite) override;
    // Moves within the entry; the position is clamped to 0 and the size.
    bool seek(long finalPos, bool relativeMovement = false) override;
    // The entry's size (as declared until it has been unzipped); 0 once
    // unzipping failed.
    long getSize() const override;
    long getPos() const override { return m_pos; }
    const std::string& getFileName() const override { return m_narrowPath; }
    const wchar_t* GetFileNameW() const override { return m_path.c_str(); }
    const std::wstring& GetPath() const override { return m_path; }
    bool IsOk() const override { return Extract(); }

private:
    bool Extract() const;
    // Unzips the whole entry into target (room for the declared size).
    bool UnzipInto(uint8_t* target) const;

    CSearchEntry m_archive;
    ZipEntryRecord m_record;
    std::wstring m_path;
    std::string m_narrowPath;
    mutable std::unique_ptr<uint8_t[]> m_data;
    long m_size = 0; // the declared size, when plausible
    mutable bool m_failed = false;
    long m_pos = 0;
};
