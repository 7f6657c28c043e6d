#pragma once

// The byte form of what the model reader process and the engine tell each
// other: little-endian fixed-width numbers, floats as their 32 bits, texts
// as a 32-bit length and the bytes. The reading side trusts nothing: every
// read is bounded by the bytes left, and a failed read leaves the reader
// failed (it then yields zeros) so that callers check once at the end of a
// record.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace Graphics
{

class CWireWriter
{
public:
    void U8(uint8_t value) { m_bytes.push_back(static_cast<char>(value)); }
    void U16(uint16_t value)
    {
        U8(static_cast<uint8_t>(value & 0xff));
        U8(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value)
    {
        char bytes[4];
        for (int at = 0; at < 4; ++at)
            bytes[at] = static_cast<char>((value >> (8 * at)) & 0xff);
        m_bytes.append(bytes, 4);
    }
    void F32(float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void Text(std::string_view text)
    {
        U32(static_cast<uint32_t>(text.size()));
        m_bytes.append(text.data(), text.size());
    }
    void Raw(const void* data, size_t size) { m_bytes.append(static_cast<const char*>(data), size); }
    // The next size bytes, to be filled in with the Store functions.
    char* Grow(size_t size)
    {
        Reserve(size);
        const size_t at = m_bytes.size();
        m_bytes.resize(at + size);
        return m_bytes.data() + at;
    }
    static char* StoreU16(char* at, uint16_t value)
    {
        at[0] = static_cast<char>(value & 0xff);
        at[1] = static_cast<char>(value >> 8);
        return at + 2;
    }
    static char* StoreU32(char* at, uint32_t value)
    {
        for (int index = 0; index < 4; ++index)
            at[index] = static_cast<char>((value >> (8 * index)) & 0xff);
        return at + 4;
    }
    static char* StoreF32(char* at, float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return StoreU32(at, bits);
    }
    // Room for at least more bytes, grown as appending would grow it.
    void Reserve(size_t more)
    {
        const size_t needed = m_bytes.size() + more;
        if (needed > m_bytes.capacity())
            m_bytes.reserve(std::max(needed, 2 * m_bytes.capacity()));
    }

    std::string& Bytes() { return m_bytes; }

private:
    std::string m_bytes;
};

class CWireReader
{
public:
    explicit CWireReader(std::string_view bytes) : m_bytes(bytes) {}

    uint8_t U8()
    {
        if (!Take(1))
            return 0;
        return static_cast<uint8_t>(m_bytes[m_at - 1]);
    }
    uint16_t U16()
    {
        if (!Take(2))
            return 0;
        return static_cast<uint16_t>(static_cast<uint8_t>(m_bytes[m_at - 2]) |
                                     (static_cast<uint8_t>(m_bytes[m_at - 1]) << 8));
    }
    uint32_t U32()
    {
        if (!Take(4))
            return 0;
        uint32_t value = 0;
        for (int at = 0; at < 4; ++at)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(m_bytes[m_at - 4 + at])) << (8 * at);
        return value;
    }
    float F32()
    {
        const uint32_t bits = U32();
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A text of at most maxLength bytes.
    std::string Text(uint32_t maxLength)
    {
        const uint32_t length = U32();
        if (length > maxLength || !Take(length))
        {
            m_failed = true;
            return std::string();
        }
        return std::string(m_bytes.substr(m_at - length, length));
    }
    // A count of records of at least recordBytes each, which must fit in
    // the bytes left (so no count from the wire sizes an allocation beyond
    // the message).
    uint32_t Count(size_t recordBytes)
    {
        const uint32_t count = U32();
        if (m_failed || (recordBytes != 0 && count > Left() / recordBytes))
        {
            m_failed = true;
            return 0;
        }
        return count;
    }
    // The next size bytes, or an empty view (then failed).
    std::string_view Raw(size_t size)
    {
        if (!Take(size))
            return std::string_view();
        return m_bytes.substr(m_at - size, size);
    }

    size_t Left() const { return m_bytes.size() - m_at; }
    bool Failed() const { return m_failed; }
    void Fail() { m_failed = true; }

private:
    bool Take(size_t size)
    {
        if (m_failed || size > Left())
        {
            m_failed = true;
            return false;
        }
        m_at += size;
        return true;
    }

    std::string_view m_bytes;
    size_t m_at = 0;
    bool m_failed = false;
};

} // namespace Graphics
