#pragma once

// The bytes of a zip archive and the cursor minizip reads them through.
//
// The source is a descriptor (read from a starting offset) or a block of
// memory; reads at a position never move a shared offset, so one source
// serves any number of readers on any threads at once.
//
// minizip reads the central directory in very small pieces (a byte, a
// short, a long at a time); the cursor answers them from a read-ahead
// buffer, so reading a directory costs a few large reads instead of one
// system call per byte. A cursor belongs to one minizip handle at a time.

#include <minizip/ioapi.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class CZipByteSource
{
public:
    CZipByteSource() = default;
    CZipByteSource(const CZipByteSource&) = delete;
    CZipByteSource& operator=(const CZipByteSource&) = delete;
    ~CZipByteSource();

    // Reads the descriptor from start on; with owned, closes it at the end.
    void SetDescriptor(int descriptor, int64_t start, bool owned);
    void SetMemory(const uint8_t* data, uint64_t size);

    // Reads up to length bytes at the position (relative to the start); the
    // count read, or -1 on an error.
    int64_t ReadAt(uint64_t position, uint8_t* out, size_t length) const;
    uint64_t Size() const;

    // ReadAt in the form CZipEntryStream takes (source is a CZipByteSource).
    static int64_t ReadAtCallback(void* source, uint64_t position, uint8_t* out, size_t length);

private:
    int m_descriptor = -1;
    bool m_owned = false;
    int64_t m_start = 0;
    const uint8_t* m_memory = nullptr;
    uint64_t m_memorySize = 0;
};

class CZipCursor
{
public:
    explicit CZipCursor(const CZipByteSource& source) : m_source(source) {}
    CZipCursor(const CZipCursor&) = delete;
    CZipCursor& operator=(const CZipCursor&) = delete;

    // The functions to give unzOpen2_64, with this cursor as the file name.
    static zlib_filefunc64_def Functions();
    // Forgets the buffered bytes (the file may have changed beneath).
    void Discard() { m_bufferLength = 0; }

private:
    static voidpf ZCALLBACK Open(voidpf, const void* cursor, int);
    static uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong size);
    static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong);
    static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream);
    static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin);
    static int ZCALLBACK Close(voidpf, voidpf);
    static int ZCALLBACK Error(voidpf, voidpf stream);

    uLong ReadBuffered(uint8_t* out, uLong size);

    const CZipByteSource& m_source;
    uint64_t m_position = 0;
    int m_error = 0;
    std::vector<uint8_t> m_buffer;
    uint64_t m_bufferStart = 0;
    size_t m_bufferLength = 0;
};
