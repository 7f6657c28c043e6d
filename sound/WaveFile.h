#pragma once

// Reader of RIFF WAVE files holding uncompressed PCM. It works on an open
// file of the engine's file system, which it does not own: the sound that
// opened the file keeps it and deletes it.
//
// WAVE files come from outside and are not trusted: every size in them is
// checked against the file before it is used, and a file that does not
// hold what it claims fails with a message (GetError) instead of being read
// past its end.

#include <cstdint>
#include <memory>
#include <string>

class IFile;

class CWaveFile
{
public:
    // The PCM header as the "fmt " chunk stores it.
    struct SPcmHeader
    {
        uint16_t formatTag = 0;
        uint16_t channels = 0;
        uint32_t samplesPerSec = 0;
        uint32_t avgBytesPerSec = 0;
        uint16_t blockAlign = 0;
        uint16_t bitsPerSample = 0;
    };

    // The OpenAL name lookup (alGetEnumValue).
    using EnumLookup = int (*)(const char* name);

    // Whole files are held in memory only up to this size; longer sounds are
    // streamed through ReadData.
    static constexpr uint32_t kMaxLoadSize = 256u << 20;

    CWaveFile() = default;
    ~CWaveFile();
    CWaveFile(const CWaveFile&) = delete;
    CWaveFile& operator=(const CWaveFile&) = delete;

    // Reads the chunk headers from the start of the file: the PCM header and
    // where the samples are. Closes what was open first and keeps the
    // stream. False (with the reason in GetError) when the file is not a PCM
    // WAVE file or is damaged.
    bool Parse(IFile* stream);
    // Parses, then reads all the samples into the data block.
    bool Open(IFile* stream);
    // Reads up to size bytes of samples from the stream at its position,
    // never past the end of the samples; returns the bytes read.
    uint32_t ReadData(void* buffer, uint32_t size);
    // Moves the stream to the sample byte at offset; false without a stream
    // or when the offset lies past the end of the samples.
    bool SeekData(uint32_t offset);
    bool IsOpen() const;
    // Frees the data block and forgets the stream (which stays open).
    bool Close();

    const uint8_t* GetData() const { return m_data.get(); }
    uint32_t GetDataSize() const { return m_dataSize; }
    uint32_t GetSamplesPerSec() const { return m_header.samplesPerSec; }
    uint32_t GetAvgBytesPerSec() const { return m_header.avgBytesPerSec; }
    uint16_t GetBlockAlign() const { return m_header.blockAlign; }
    // The OpenAL format of the samples, or 0 when OpenAL has none for them.
    int GetALFormat(EnumLookup lookup) const;

    // Why the last Parse or Open failed ("" after success).
    const std::wstring& GetError() const { return m_error; }

private:
    // Closes and forgets the header and the sample chunk.
    void Reset();
    // Resets, keeps the message for GetError and returns false.
    bool Fail(const std::wstring& message);
    // Reads a "fmt " chunk of that size at the stream's position.
    bool ReadHeader(uint32_t chunkSize);

    int m_kind = 0; // 0 none, 1 a PCM header was read
    SPcmHeader m_header;
    std::unique_ptr<uint8_t[]> m_data;
    uint32_t m_dataSize = 0;
    IFile* m_stream = nullptr;
    uint32_t m_dataOffset = 0;
    std::wstring m_error;
};
