#include "core/io/ZipEntryStream.h"

#include "core/io/ZipReader.h"

// minizip's header with the traditional zip decryption (Debian's minizip
// library itself is built without it).
#include <minizip/crypt.h>

#include <algorithm>
#include <climits>

namespace
{

constexpr size_t kInputChunk = 64 * 1024;
constexpr size_t kEncryptionHeader = 12;
constexpr size_t kSlice = 256 * 1024;

// crypt.h takes the CRC table as unsigned long values.
const unsigned long* CrcTable()
{
    static const auto table = []
    {
        static unsigned long widened[256];
        const z_crc_t* source = get_crc_table();
        for (int i = 0; i < 256; ++i)
            widened[i] = source[i];
        return widened;
    }();
    return table;
}

uLong Crc(uLong crc, const uint8_t* data, size_t length)
{
    while (length > 0)
    {
        const uInt part = static_cast<uInt>(std::min<size_t>(length, 1u << 30));
        crc = crc32(crc, data, part);
        data += part;
        length -= part;
    }
    return crc;
}

} // namespace

uint32_t CZipEntryStream::Locate(unzFile zip, const unz_file_info64& info, SZipEntryLocation& location)
{
    // Opening raw checks the local header against the central directory
    // and finds where the entry's bytes start.
    int method = 0;
    if (unzOpenCurrentFile2(zip, &method, nullptr, 1) != UNZ_OK)
        return kZipCorrupt;
    location.dataOffset = unzGetCurrentFileZStreamPos64(zip);
    unzCloseCurrentFile(zip);
    location.compressedSize = info.compressed_size;
    location.uncompressedSize = info.uncompressed_size;
    location.crc = static_cast<uint32_t>(info.crc);
    location.method = static_cast<int>(info.compression_method);
    location.flag = static_cast<int>(info.flag);
    location.dosDate = static_cast<uint32_t>(info.dosDate);
    return kZipSuccess;
}

uint32_t CZipEntryStream::Open(const SZipEntryLocation& location, const char* password, ReadAt readAt,
                               void* source)
{
    Close();
    m_deflated = location.method == Z_DEFLATED;
    if (!m_deflated && location.method != 0)
        return kZipFlateError; // a compression method we cannot read
    m_encrypted = (location.flag & 1) != 0;
    m_declared = location.uncompressedSize;
    m_expectedCrc = location.crc;
    m_produced = 0;
    m_crc = crc32(0, nullptr, 0);
    m_streamEnd = false;
    m_open = true;
    m_readAt = readAt;
    m_source = source;
    m_rawPosition = location.dataOffset;
    m_rawLeft = location.compressedSize;

    if (m_encrypted)
    {
        if (!password || !*password)
        {
            Close();
            return kZipPassword;
        }
        init_keys(password, m_keys, CrcTable());
        uint8_t header[kEncryptionHeader];
        if (ReadRaw(header, sizeof header) != static_cast<int>(sizeof header))
        {
            Close();
            return kZipCorrupt;
        }
        // The last header byte repeats the high byte of the CRC (or of the
        // DOS time when sizes follow the data): a cheap password check.
        const uint8_t check = (location.flag & 8) ? static_cast<uint8_t>((location.dosDate >> 8) & 0xFF)
                                                  : static_cast<uint8_t>(location.crc >> 24);
        if (header[kEncryptionHeader - 1] != check)
        {
            Close();
            return kZipPassword;
        }
    }

    if (m_deflated)
    {
        // The inflater and the input buffer are kept from one entry to the
        // next: a stream reused for many small entries allocates nothing.
        if (m_inflaterReady ? inflateReset(&m_inflater) != Z_OK : !MakeInflater())
        {
            Close();
            return kZipNoMemory;
        }
        // No larger than the entry's raw bytes: small entries are the
        // common case.
        const size_t wanted =
            static_cast<size_t>(std::min<uint64_t>(kInputChunk, std::max<uint64_t>(m_rawLeft, 1)));
        if (m_input.size() < wanted)
            m_input.resize(wanted);
    }
    return kZipSuccess;
}

int CZipEntryStream::ReadRaw(uint8_t* out, size_t length)
{
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>({length, m_rawLeft, INT_MAX}));
    if (wanted == 0)
        return 0;
    const int64_t read = m_readAt(m_source, m_rawPosition, out, wanted);
    if (read < 0)
        return -1;
    const int got = static_cast<int>(read);
    m_rawPosition += static_cast<uint64_t>(got);
    m_rawLeft -= static_cast<uint64_t>(got);
    if (got > 0 && m_encrypted)
    {
        const unsigned long* table = CrcTable();
        for (int i = 0; i < got; ++i)
        {
            int c = out[i];
            zdecode(m_keys, table, c);
            out[i] = static_cast<uint8_t>(c);
        }
    }
    return got;
}

bool CZipEntryStream::Inflate(uint8_t* out, size_t length, size_t& produced)
{
    produced = 0;
    while (produced < length && !m_streamEnd)
    {
        if (m_inflater.avail_in == 0)
        {
            const int got = ReadRaw(m_input.data(), m_input.size());
            if (got < 0)
                return false;
            if (got == 0)
                break; // the data ends early; Finish reports it
            m_inflater.next_in = m_input.data();
            m_inflater.avail_in = static_cast<uInt>(got);
        }
        const uInt room = static_cast<uInt>(std::min<size_t>(length - produced, 1u << 30));
        m_inflater.next_out = out + produced;
        m_inflater.avail_out = room;
        const int result = inflate(&m_inflater, Z_NO_FLUSH);
        produced += room - m_inflater.avail_out;
        if (result == Z_STREAM_END)
            m_streamEnd = true;
        else if (result != Z_OK && !(result == Z_BUF_ERROR && m_inflater.avail_in == 0))
            return false;
    }
    return true;
}

int64_t CZipEntryStream::Read(uint8_t* out, size_t length)
{
    if (!m_open)
        return -1;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(length, m_declared - m_produced));
    size_t done = 0;
    // Slice by slice, so each slice is still in the cache for its CRC.
    while (done < wanted)
    {
        const size_t slice = std::min(wanted - done, kSlice);
        size_t produced = 0;
        if (m_deflated)
        {
            if (!Inflate(out + done, slice, produced))
                return -1;
        }
        else
        {
            while (produced < slice)
            {
                const int got = ReadRaw(out + done + produced, slice - produced);
                if (got < 0)
                    return -1;
                if (got == 0)
                    break;
                produced += static_cast<size_t>(got);
            }
        }
        m_crc = Crc(m_crc, out + done, produced);
        m_produced += produced;
        done += produced;
        if (produced < slice)
            break; // the data ended
    }
    return static_cast<int64_t>(done);
}

uint32_t CZipEntryStream::Finish()
{
    if (!m_open)
        return kZipBadArguments;
    bool complete = AtDeclaredEnd() && m_crc == m_expectedCrc;
    if (complete)
    {
        // Data beyond the declared size means the size was wrong.
        uint8_t extra = 0;
        if (m_deflated && !m_streamEnd)
        {
            size_t produced = 0;
            complete = Inflate(&extra, 1, produced) && produced == 0 && m_streamEnd;
        }
        else if (!m_deflated)
        {
            complete = ReadRaw(&extra, 1) == 0;
        }
    }
    const uint32_t failure = Failure();
    Close();
    return complete ? kZipSuccess : failure;
}

bool CZipEntryStream::MakeInflater()
{
    m_inflater = z_stream();
    m_inflaterReady = inflateInit2(&m_inflater, -MAX_WBITS) == Z_OK;
    return m_inflaterReady;
}

CZipEntryStream::~CZipEntryStream()
{
    Close();
    if (m_inflaterReady)
        inflateEnd(&m_inflater);
}

void CZipEntryStream::Close()
{
    m_open = false;
}

uint32_t CZipEntryStream::Failure() const
{
    return m_encrypted ? kZipPassword : kZipFlateError;
}
