#pragma once

// The data of one zip entry as it is read: minizip checks the entry's local
// header and tells where its raw bytes lie (Locate); they are read straight
// from the archive's byte source at their position (no copy through
// minizip's buffer, no shared cursor, so readers on several threads can
// share one source), decrypted (traditional zip encryption) when the entry
// is encrypted and inflated with zlib when it is deflated. Nothing the
// archive declares is trusted: no more than the declared size is ever
// produced, and the entry counts as read only when exactly that many bytes
// came out and their CRC matches.

#include <minizip/unzip.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Where an entry's raw bytes lie and what they must turn into.
struct SZipEntryLocation
{
    uint64_t dataOffset = 0; // of the first raw byte, in the byte source
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint32_t crc = 0;
    int method = 0;
    int flag = 0;
    uint32_t dosDate = 0;
};

class CZipEntryStream
{
public:
    // Reads up to length bytes of the archive at position; the count read,
    // or -1 on an error.
    using ReadAt = int64_t (*)(void* source, uint64_t position, uint8_t* out, size_t length);

    CZipEntryStream() = default;
    CZipEntryStream(const CZipEntryStream&) = delete;
    CZipEntryStream& operator=(const CZipEntryStream&) = delete;
    ~CZipEntryStream();

    // Checks the local header of minizip's current entry (described by
    // info) and fills in where its data lies; a zip result code.
    static uint32_t Locate(unzFile zip, const unz_file_info64& info, SZipEntryLocation& location);

    // Opens the entry at the location. The password (null for none) is
    // used only when the entry is encrypted. Returns a zip result code.
    uint32_t Open(const SZipEntryLocation& location, const char* password, ReadAt readAt, void* source);
    // Produces up to length bytes; returns how many, or -1 on damaged data
    // (see Failure). 0 once the declared size is reached or the data ends.
    int64_t Read(uint8_t* out, size_t length);
    // True when the declared size has been produced.
    bool AtDeclaredEnd() const { return m_produced == m_declared; }
    // Checks the size and the CRC and closes the entry; a zip result code.
    uint32_t Finish();
    void Close();
    bool IsOpen() const { return m_open; }

    // What a failure is reported as: a wrong password for encrypted
    // entries, damaged data otherwise.
    uint32_t Failure() const;

private:
    bool MakeInflater();
    // Raw bytes from the source, decrypted; -1 on a read error.
    int ReadRaw(uint8_t* out, size_t length);
    // Runs the inflater until the output is full, the stream ends or the
    // input runs out; false on damaged data.
    bool Inflate(uint8_t* out, size_t length, size_t& produced);

    bool m_open = false;
    ReadAt m_readAt = nullptr;
    void* m_source = nullptr;
    uint64_t m_rawPosition = 0; // of the next raw byte in the archive
    uint64_t m_rawLeft = 0;
    bool m_deflated = false;
    bool m_encrypted = false;
    unsigned long m_keys[3] = {};
    z_stream m_inflater = {};
    bool m_inflaterReady = false;
    bool m_streamEnd = false;
    uint64_t m_declared = 0;
    uint64_t m_produced = 0;
    uLong m_expectedCrc = 0;
    uLong m_crc = 0;
    std::vector<uint8_t> m_input;
};
