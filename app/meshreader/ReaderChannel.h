#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace MeshReader
{

// The reader's side of its two pipes to the engine (descriptors 3 and 4):
// whole messages of a tag and a payload.
class CReaderChannel
{
public:
    CReaderChannel(std::FILE* in, std::FILE* out) : m_in(in), m_out(out) {}
    CReaderChannel(const CReaderChannel&) = delete;
    CReaderChannel& operator=(const CReaderChannel&) = delete;

    // False at the end of the input or on a message larger than maxBytes.
    bool Receive(uint32_t& tag, std::string& payload, size_t maxBytes);
    bool Send(uint32_t tag, const std::string& payload);

private:
    std::FILE* m_in;
    std::FILE* m_out;
};

} // namespace MeshReader
