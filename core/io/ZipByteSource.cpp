#include "core/io/ZipByteSource.h"

#include "platform/FileAccess.h"
#include "platform/FileStatus.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{

// A read that continues where the buffer ends is taken as the start of a
// sequential run (the central directory) and reads far ahead; a jump (a
// local header, the end record) reads a small block.
constexpr size_t kSequentialRead = 64 * 1024;
constexpr size_t kJumpRead = 4 * 1024;

} // namespace

CZipByteSource::~CZipByteSource()
{
    if (m_owned)
        Platform::CloseDescriptor(m_descriptor);
}

void CZipByteSource::SetDescriptor(int descriptor, int64_t start, bool owned)
{
    m_descriptor = descriptor;
    m_start = start;
    m_owned = owned;
}

void CZipByteSource::SetMemory(const uint8_t* data, uint64_t size)
{
    m_memory = data;
    m_memorySize = size;
}

int64_t CZipByteSource::ReadAt(uint64_t position, uint8_t* out, size_t length) const
{
    if (m_descriptor < 0)
    {
        const uint64_t left = position < m_memorySize ? m_memorySize - position : 0;
        const uint64_t count = std::min<uint64_t>(length, left);
        if (count > 0)
            std::memcpy(out, m_memory + position, count);
        return static_cast<int64_t>(count);
    }
    return Platform::ReadAt(m_descriptor, static_cast<uint64_t>(m_start) + position, out, length);
}

uint64_t CZipByteSource::Size() const
{
    if (m_descriptor < 0)
        return m_memorySize;
    const Platform::SFileStatus status = Platform::GetDescriptorStatus(m_descriptor);
    const uint64_t start = static_cast<uint64_t>(m_start);
    return status.Exists() && status.size >= start ? status.size - start : 0;
}

int64_t CZipByteSource::ReadAtCallback(void* source, uint64_t position, uint8_t* out, size_t length)
{
    return static_cast<const CZipByteSource*>(source)->ReadAt(position, out, length);
}

zlib_filefunc64_def CZipCursor::Functions()
{
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = Open;
    functions.zread_file = Read;
    functions.zwrite_file = Write;
    functions.ztell64_file = Tell;
    functions.zseek64_file = Seek;
    functions.zclose_file = Close;
    functions.zerror_file = Error;
    return functions;
}

voidpf ZCALLBACK CZipCursor::Open(voidpf, const void* cursor, int)
{
    return const_cast<void*>(cursor);
}

uLong CZipCursor::ReadBuffered(uint8_t* out, uLong size)
{
    uLong done = 0;
    while (done < size)
    {
        const uint64_t position = m_position;
        if (position >= m_bufferStart && position < m_bufferStart + m_bufferLength)
        {
            const size_t offset = static_cast<size_t>(position - m_bufferStart);
            const size_t count = std::min<size_t>(size - done, m_bufferLength - offset);
            std::memcpy(out + done, m_buffer.data() + offset, count);
            done += static_cast<uLong>(count);
            m_position += count;
            continue;
        }
        const size_t wanted = size - done;
        const bool sequential = m_bufferLength > 0 && position == m_bufferStart + m_bufferLength;
        const size_t block = sequential ? kSequentialRead : kJumpRead;
        if (wanted >= block)
        {
            // Large reads go straight to the caller.
            const int64_t got = m_source.ReadAt(position, out + done, wanted);
            if (got < 0)
            {
                m_error = errno;
                return done;
            }
            done += static_cast<uLong>(got);
            m_position += static_cast<uint64_t>(got);
            return done;
        }
        if (m_buffer.size() < block)
            m_buffer.resize(block);
        const int64_t got = m_source.ReadAt(position, m_buffer.data(), block);
        if (got < 0)
        {
            m_bufferLength = 0;
            m_error = errno;
            return done;
        }
        m_bufferStart = position;
        m_bufferLength = static_cast<size_t>(got);
        if (got == 0)
            return done; // the end of the archive
    }
    return done;
}

uLong ZCALLBACK CZipCursor::Read(voidpf, voidpf stream, void* buffer, uLong size)
{
    return static_cast<CZipCursor*>(stream)->ReadBuffered(static_cast<uint8_t*>(buffer), size);
}

uLong ZCALLBACK CZipCursor::Write(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK CZipCursor::Tell(voidpf, voidpf stream)
{
    return static_cast<CZipCursor*>(stream)->m_position;
}

long ZCALLBACK CZipCursor::Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* cursor = static_cast<CZipCursor*>(stream);
    uint64_t base = 0;
    switch (origin)
    {
    case ZLIB_FILEFUNC_SEEK_SET:
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = cursor->m_position;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = cursor->m_source.Size();
        break;
    default:
        return -1;
    }
    cursor->m_position = base + offset;
    return 0;
}

int ZCALLBACK CZipCursor::Close(voidpf, voidpf)
{
    return 0; // the source's owner closes its descriptor
}

int ZCALLBACK CZipCursor::Error(voidpf, voidpf stream)
{
    return static_cast<CZipCursor*>(stream)->m_error;
}
