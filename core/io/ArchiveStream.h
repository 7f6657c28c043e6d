#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Misc::Serialization
{

// The byte stream beneath an archive: where it reads and writes, by
// absolute positions.
class IArchiveStream
{
public:
    virtual ~IArchiveStream() = default;

    // Reads up to `count` bytes; returns how many were read.
    virtual size_t Read(void* data, size_t count) = 0;
    // Writes `count` bytes; returns how many were written.
    virtual size_t Write(const void* data, size_t count) = 0;
    virtual bool Seek(int64_t position) = 0;
    virtual int64_t GetPos() const = 0;
    // Size in bytes, or -1 when unknown.
    virtual int64_t GetSize() const = 0;
    virtual std::wstring GetName() const = 0;
    virtual bool IsOpen() const = 0;
    // Ends writing: everything is on disk when it returns true. A stream
    // destroyed without a successful Close leaves no partial file behind.
    virtual bool Close() = 0;
};

// Opens a file on disk for reading ("rb"); null when it cannot be opened.
std::unique_ptr<IArchiveStream> OpenArchiveReadStream(const std::wstring& path);
// Creates a save stream: bytes go to a temporary file in the target's
// folder, which Close renames over the target.
std::unique_ptr<IArchiveStream> OpenArchiveSaveStream(const std::wstring& path);

} // namespace Misc::Serialization
