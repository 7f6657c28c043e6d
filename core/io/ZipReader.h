#pragma once

// Reading zip archives (on minizip and zlib): open an archive from a file,
// an open file descriptor or a block of memory, look entries up by index or
// name, and unzip one entry into memory, into a file or into a descriptor.
// Every operation answers a result code (see ZipResultMessage) and stores it
// as the process-wide last result.
//
// Entry names are made safe when they are read: every "..", "." and empty
// part and any absolute prefix ("/", "C:", the "C:" of "C:name") are
// dropped, so extracting an entry never writes outside the base folder.

#include <cstddef>
#include <cstdint>
#include <string>

enum EZipResult : uint32_t
{
    kZipSuccess = 0,
    kZipCannotDuplicate = 0x100,
    kZipCannotOpen = 0x200,
    kZipNoMemory = 0x300,
    kZipWriteError = 0x400,
    kZipNotFound = 0x500,
    kZipMoreData = 0x600,
    kZipCorrupt = 0x700,
    kZipReadError = 0x800,
    kZipPassword = 0x1000,
    kZipBadArguments = 0x10000,
    kZipNotMemoryZip = 0x20000,
    kZipMemorySize = 0x30000,
    kZipPreviousError = 0x40000,
    kZipEnded = 0x50000,
    kZipWrongSize = 0x60000,
    kZipPartlyUnzipped = 0x70000,
    kZipWrongMode = 0x80000,
    kZipNotInitialised = 0x1000000,
    kZipCannotSeek = 0x2000000,
    kZipCannotChange = 0x4000000,
    kZipFlateError = 0x5000000,
    // Asks ZipResultMessage for the message of the last result.
    kZipLastResult = 1,
};

// Where an archive comes from, or where an entry goes.
enum EZipKind : uint32_t
{
    kZipHandle = 1, // an open file descriptor, passed as (void*)(intptr_t)fd; never closed here
    kZipFile = 2,   // a file name (const wchar_t*, either separator)
    kZipMemory = 3, // a block of memory with its length
};

// Win32 attribute bits of an entry.
enum EZipAttribute : uint32_t
{
    kZipAttributeReadOnly = 0x01,
    kZipAttributeHidden = 0x02,
    kZipAttributeSystem = 0x04,
    kZipAttributeDirectory = 0x10,
    kZipAttributeArchive = 0x20,
};

struct ZipEntryRecord
{
    uint32_t attributes = 0;
    // Times as Windows FILETIME values in UTC (100 ns since 1601-01-01).
    uint64_t creationTime = 0;
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    int64_t compressedSize = 0;
    int64_t uncompressedSize = 0;
    int32_t index = 0;
    std::wstring name; // the safe name, parts joined with "/"
};

// Entries larger than this are refused rather than unzipped, into memory
// or onto disk.
constexpr int64_t kZipMaxEntrySize = int64_t(1) << 30;

// Deflate cannot expand data more than about 1032 times: a declared size
// beyond that, or beyond kZipMaxEntrySize, is a lie (or a bomb) and is
// refused before anything is allocated or written.
bool ZipEntrySizeIsPlausible(const ZipEntryRecord& record);

struct ZipHandle;

// Opens an archive. The password (null or empty for none) applies to every
// encrypted entry. Returns null, with the last result set, on failure: bad
// arguments, an unseekable descriptor, a file that cannot be opened or
// bytes that are not a zip archive.
ZipHandle* ZipOpen(const void* source, size_t length, uint32_t kind, const char* password);
ZipHandle* ZipOpenFile(const std::wstring& fileName, const char* password);

// The folder that relative target names of ZipUnzipItem are relative to
// (the current directory when the archive opened).
uint32_t ZipSetBaseFolder(ZipHandle* zip, const std::wstring& folder);

// The record of the entry at index; index -1 gives the number of entries in
// record->index.
uint32_t ZipGetItem(ZipHandle* zip, int index, ZipEntryRecord* record);

// The first entry whose name matches the name as a case-insensitive wildcard
// pattern (as disk names do: "*" and "?", "*.*" for every name); with
// fileNamesOnly both are reduced to file name and extension.
// Not found: index -1 and kZipNotFound. The record may be null.
uint32_t ZipFindItem(ZipHandle* zip, const std::wstring& name, int* index, ZipEntryRecord* record,
                     bool fileNamesOnly);

// Unzips an entry. kZipMemory: into target (length bytes); a buffer that
// fills before the entry ends gives kZipMoreData and the next call goes on
// where this one stopped. kZipFile: into the file named by target (wide
// text; relative to the base folder unless absolute), creating its folders;
// a folder entry creates the folder. kZipHandle: into an open descriptor.
// Data is checked against the entry's size and CRC; a wrong password gives
// kZipPassword.
uint32_t ZipUnzipItem(ZipHandle* zip, int index, void* target, size_t length, uint32_t kind);
uint32_t ZipUnzipToFile(ZipHandle* zip, int index, const std::wstring& fileName);
uint32_t ZipUnzipToMemory(ZipHandle* zip, int index, void* buffer, size_t length);

uint32_t ZipClose(ZipHandle* zip);

// Copies the code's message into the buffer, cut to length - 1 characters
// and terminated; returns the message's full length (with a null buffer,
// only the length). kZipLastResult asks for the last result's message.
size_t ZipResultMessage(uint32_t code, wchar_t* buffer, size_t length);
std::wstring ZipResultMessage(uint32_t code);
