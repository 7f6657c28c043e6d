#pragma once

// Builds RIFF WAVE bytes chunk by chunk for the tests, including chunks
// that lie about their size.

#include <cstdint>
#include <string>
#include <vector>

inline std::string LittleEndian32(uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

inline std::string LittleEndian16(uint16_t value)
{
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

// A chunk: its id, its size field (the payload's size unless given) and
// payload, and the pad byte after an odd payload.
inline std::string Chunk(const std::string& id, const std::string& payload, int64_t declaredSize = -1,
                         bool pad = true)
{
    const uint32_t size = declaredSize < 0 ? static_cast<uint32_t>(payload.size()) : uint32_t(declaredSize);
    std::string bytes = id + LittleEndian32(size) + payload;
    if (pad && payload.size() % 2 == 1)
        bytes += '\0';
    return bytes;
}

// The 16 bytes of a PCM header.
inline std::string PcmHeader(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t formatTag = 1,
                             int blockAlign = -1)
{
    const uint16_t align = blockAlign < 0 ? static_cast<uint16_t>(channels * ((bits + 7) / 8))
                                          : static_cast<uint16_t>(blockAlign);
    return LittleEndian16(formatTag) + LittleEndian16(channels) + LittleEndian32(rate) +
           LittleEndian32(rate * align) + LittleEndian16(align) + LittleEndian16(bits);
}

inline std::string Riff(const std::vector<std::string>& chunks, const std::string& riff = "RIFF",
                        const std::string& wave = "WAVE")
{
    std::string body = wave;
    for (const std::string& chunk : chunks)
        body += chunk;
    return riff + LittleEndian32(static_cast<uint32_t>(body.size())) + body;
}

// Samples 0, 1, 2, ... as bytes, so any misplaced byte shows.
inline std::string CountingSamples(size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    return bytes;
}
