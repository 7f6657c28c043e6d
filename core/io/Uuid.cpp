#include "core/io/Uuid.h"

#include "core/io/Archive.h"
#include "platform/RandomBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <uuid/uuid.h>

namespace
{

// Random bytes for new ids, fetched from the kernel a batch at a time: one
// getrandom call serves 256 ids (libuuid makes several system calls for
// each). Every thread has its own batch.
class CRandomBatch
{
public:
    // 16 fresh random bytes; false when the kernel gave none.
    bool Take(unsigned char* bytes)
    {
        // A batch filled before a fork is not used in the child, so that
        // parent and child never make the same ids.
        const uint32_t generation = Platform::GetForkGeneration();
        if (generation != m_generation)
        {
            m_generation = generation;
            m_used = m_filled = 0;
        }
        if (m_filled - m_used < kIdBytes && !Refill())
            return false;
        std::memcpy(bytes, m_bytes + m_used, kIdBytes);
        // Bytes handed out are not kept.
        std::memset(m_bytes + m_used, 0, kIdBytes);
        m_used += kIdBytes;
        return true;
    }

private:
    static constexpr size_t kIdBytes = 16;
    static constexpr size_t kBatchBytes = 256 * kIdBytes;

    bool Refill()
    {
        m_used = 0;
        m_filled = Platform::FillRandomBytes(m_bytes, kBatchBytes);
        // Whole ids only.
        m_filled -= m_filled % kIdBytes;
        return m_filled > 0;
    }

    unsigned char m_bytes[kBatchBytes];
    size_t m_used = 0;
    size_t m_filled = 0;
    uint32_t m_generation = 0;
};

thread_local CRandomBatch t_batch;

} // namespace

CUuid::CUuid()
{
    NewId();
}

CUuid::CUuid(const CUuid& other) : Misc::Serialization::ISerializable(other)
{
    std::memcpy(m_bytes, other.m_bytes, sizeof(m_bytes));
    RefreshText();
}

CUuid& CUuid::operator=(const CUuid& other)
{
    std::memcpy(m_bytes, other.m_bytes, sizeof(m_bytes));
    RefreshText();
    return *this;
}

void CUuid::NewId()
{
    if (t_batch.Take(m_bytes))
    {
        // A random UUID: version 4, the variant of RFC 4122.
        m_bytes[6] = static_cast<unsigned char>((m_bytes[6] & 0x0F) | 0x40);
        m_bytes[8] = static_cast<unsigned char>((m_bytes[8] & 0x3F) | 0x80);
    }
    else
    {
        uuid_generate(m_bytes);
    }
    RefreshText();
}

namespace
{
// Digit values by character, -1 for anything else (a table: ids are
// random, so branches on the digit ranges mispredict).
struct SHexTable
{
    int8_t value[256];
    SHexTable()
    {
        for (int c = 0; c < 256; ++c)
            value[c] = -1;
        for (int c = 0; c < 10; ++c)
            value['0' + c] = static_cast<int8_t>(c);
        for (int c = 0; c < 6; ++c)
        {
            value['a' + c] = static_cast<int8_t>(10 + c);
            value['A' + c] = static_cast<int8_t>(10 + c);
        }
    }
};
const SHexTable kHex;

int HexDigit(char c)
{
    return kHex.value[static_cast<unsigned char>(c)];
}

// The 8-4-4-4-12 text form (hexadecimal digits of either case) to the 16
// bytes in libuuid's order, by the rule of uuid_parse. Done here because
// uuid_parse converts every byte through strtoul, which made reading ids
// the slowest part of loading a world.
bool ParseUuid(const std::string& text, unsigned char* bytes)
{
    if (text.size() != 36)
        return false;
    size_t out = 0;
    for (size_t i = 0; i < 36;)
    {
        if (i == 8 || i == 13 || i == 18 || i == 23)
        {
            if (text[i] != '-')
                return false;
            ++i;
            continue;
        }
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if ((high | low) < 0)
            return false;
        bytes[out++] = static_cast<unsigned char>(high << 4 | low);
        i += 2;
    }
    return true;
}
} // namespace

bool CUuid::SetId(const std::string& text)
{
    uuid_t parsed;
    if (!ParseUuid(text, parsed))
        return false;
    std::memcpy(m_bytes, parsed, sizeof(m_bytes));
    // Text already in the lower-case form is its own text form.
    if (std::none_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'F'; }))
        m_text = text;
    else
        RefreshText();
    return true;
}

void CUuid::RefreshText()
{
    char text[37];
    uuid_unparse_lower(m_bytes, text);
    m_text.assign(text, 36);
}

bool CUuid::Write(Misc::Serialization::IArchive& archive)
{
    return archive.WriteString("-Id") && archive.WriteSpaces(1) && archive.WriteString(m_text, true) &&
           archive.EndLine(0);
}

bool CUuid::Read(Misc::Serialization::IArchive& archive)
{
    std::string text;
    archive.ReadKeyString("-Id", text);
    return SetId(text);
}
