#include "sound/WaveFile.h"

#include "core/foundation/WideFormat.h"
#include "core/io/File.h"

#include <algorithm>
#include <cctype>
#include <new>

using Misc::Text::FormatWide;

namespace
{

constexpr uint16_t kFormatPcm = 1;
// "fmt " chunks larger than this are not PCM headers and are skipped.
constexpr uint32_t kMaxFormatChunk = 40;
constexpr uint32_t kPcmHeaderSize = 16;

uint16_t LoadLE16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t LoadLE32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
           (uint32_t(bytes[3]) << 24);
}

// Chunk ids and the "RIFF"/"WAVE" tags compare without regard to case.
bool SameTag(const uint8_t* bytes, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        if (std::tolower(bytes[i]) != std::tolower(static_cast<unsigned char>(tag[i])))
            return false;
    return true;
}

// The chunk id for a message; bytes that are not printable show as "?".
std::wstring TagText(const uint8_t* bytes)
{
    std::wstring text;
    for (int i = 0; i < 4; ++i)
        text += (bytes[i] >= 0x20 && bytes[i] < 0x7F) ? wchar_t(bytes[i]) : L'?';
    return text;
}

bool ReadExactly(IFile* stream, void* buffer, uint32_t size)
{
    return stream->read(buffer, size) == static_cast<int32_t>(size);
}

} // namespace

CWaveFile::~CWaveFile()
{
    Close();
}

void CWaveFile::Reset()
{
    Close();
    m_kind = 0;
    m_header = SPcmHeader();
    m_dataSize = 0;
    m_dataOffset = 0;
    m_error.clear();
}

bool CWaveFile::Fail(const std::wstring& message)
{
    Reset();
    m_error = message;
    return false;
}

bool CWaveFile::ReadHeader(uint32_t chunkSize)
{
    if (chunkSize < kPcmHeaderSize)
        return Fail(FormatWide(0,
                               L"[CWaveFile::Parse] The \"fmt \" chunk holds %u bytes, a PCM header needs %u",
                               chunkSize, kPcmHeaderSize));
    if (chunkSize > kMaxFormatChunk)
        return true; // not a PCM header: skipped
    uint8_t bytes[kMaxFormatChunk];
    if (!ReadExactly(m_stream, bytes, chunkSize))
        return Fail(L"[CWaveFile::Parse] The \"fmt \" chunk cannot be read");
    if (LoadLE16(bytes) != kFormatPcm)
        return true;

    SPcmHeader header;
    header.formatTag = LoadLE16(bytes);
    header.channels = LoadLE16(bytes + 2);
    header.samplesPerSec = LoadLE32(bytes + 4);
    header.avgBytesPerSec = LoadLE32(bytes + 8);
    header.blockAlign = LoadLE16(bytes + 12);
    header.bitsPerSample = LoadLE16(bytes + 14);
    if (header.blockAlign == 0)
        return Fail(L"[CWaveFile::Parse] The block alignment of the PCM header is 0");
    m_header = header;
    m_kind = 1;
    return true;
}

bool CWaveFile::Parse(IFile* stream)
{
    Reset();
    m_stream = stream;
    if (stream == nullptr)
        return Fail(L"[CWaveFile::Parse] No file to read");

    const int64_t fileSize = stream->getSize();
    uint8_t riff[12];
    if (!stream->seek(0) || !ReadExactly(stream, riff, sizeof riff) || !SameTag(riff, "RIFF") ||
        !SameTag(riff + 8, "WAVE"))
        return Fail(L"[CWaveFile::Parse] The file is not a RIFF WAVE file");

    bool dataFound = false;
    for (;;)
    {
        const int64_t chunkStart = stream->getPos();
        uint8_t chunk[8];
        if (chunkStart < 0 || !ReadExactly(stream, chunk, sizeof chunk))
            break; // the chunks end here; fewer than 8 bytes left are ignored
        const uint32_t size = LoadLE32(chunk + 4);
        const int64_t body = chunkStart + 8;
        // 64-bit arithmetic: no 32-bit size can wrap around here.
        const int64_t end = body + size;
        if (end > fileSize)
            return Fail(FormatWide(
                0, L"[CWaveFile::Parse] The \"%s\" chunk of %u bytes runs past the end of the file",
                TagText(chunk).c_str(), size));

        if (SameTag(chunk, "fmt "))
        {
            if (!ReadHeader(size))
                return false;
        }
        else if (SameTag(chunk, "data"))
        {
            if (body > int64_t(UINT32_MAX))
                return Fail(L"[CWaveFile::Parse] The \"data\" chunk starts past 4 GiB");
            m_dataSize = size;
            m_dataOffset = static_cast<uint32_t>(body);
            dataFound = true;
        }

        // A pad byte follows an odd size; a missing one at the very end of
        // the file is forgiven.
        const int64_t next = std::min(end + (size & 1), fileSize);
        if (!stream->seek(static_cast<long>(next)))
            return Fail(L"[CWaveFile::Parse] The file cannot be positioned");
    }

    if (m_kind != 1)
        return Fail(L"[CWaveFile::Parse] The file has no PCM \"fmt \" chunk");
    if (!dataFound || m_dataSize == 0 || m_dataOffset == 0)
        return Fail(L"[CWaveFile::Parse] The file has no samples in a \"data\" chunk");
    return true;
}

bool CWaveFile::Open(IFile* stream)
{
    if (!Parse(stream))
        return false;
    if (m_dataSize > kMaxLoadSize)
        return Fail(FormatWide(0, L"[CWaveFile::Open] The samples (%u bytes) are too large to load at once",
                               m_dataSize));
    m_data.reset(new (std::nothrow) uint8_t[m_dataSize]);
    if (!m_data)
        return Fail(FormatWide(0, L"[CWaveFile::Open] No memory for %u bytes of samples", m_dataSize));
    if (!m_stream->seek(static_cast<long>(m_dataOffset)) || !ReadExactly(m_stream, m_data.get(), m_dataSize))
        return Fail(L"[CWaveFile::Open] The samples cannot be read");
    return true;
}

uint32_t CWaveFile::ReadData(void* buffer, uint32_t size)
{
    if (buffer == nullptr || size == 0 || m_stream == nullptr)
        return 0;
    const int64_t position = m_stream->getPos();
    const int64_t end = int64_t(m_dataOffset) + m_dataSize;
    // Outside the samples (someone moved the stream) nothing is read.
    if (position < int64_t(m_dataOffset) || position >= end)
        return 0;
    const uint32_t count = static_cast<uint32_t>(std::min<int64_t>(size, end - position));
    const int32_t read = m_stream->read(buffer, count);
    return read > 0 ? static_cast<uint32_t>(read) : 0;
}

bool CWaveFile::SeekData(uint32_t offset)
{
    if (m_stream == nullptr || offset > m_dataSize)
        return false;
    return m_stream->seek(static_cast<long>(int64_t(m_dataOffset) + offset));
}

bool CWaveFile::IsOpen() const
{
    return m_stream != nullptr || m_data != nullptr;
}

bool CWaveFile::Close()
{
    m_data.reset();
    m_stream = nullptr;
    return true;
}

int CWaveFile::GetALFormat(EnumLookup lookup) const
{
    if (lookup == nullptr || m_kind != 1)
        return 0;
    const char* name = nullptr;
    const uint16_t bits = m_header.bitsPerSample;
    // Only 8 and 16 bits have OpenAL formats: samples of any other size
    // read as 8-bit ones would play as noise.
    switch (m_header.channels)
    {
    case 1:
        name = bits == 16 ? "AL_FORMAT_MONO16" : bits == 8 ? "AL_FORMAT_MONO8" : nullptr;
        break;
    case 2:
        name = bits == 16 ? "AL_FORMAT_STEREO16" : bits == 8 ? "AL_FORMAT_STEREO8" : nullptr;
        break;
    case 4:
        name = bits == 16 ? "AL_FORMAT_QUAD16" : nullptr;
        break;
    default:
        break;
    }
    return name != nullptr ? lookup(name) : 0;
}
