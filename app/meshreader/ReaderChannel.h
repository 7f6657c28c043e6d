#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace MeshReader
{

// The reader's side of its two pipes to the engine (descriptors 3 and 4):
// whole messages of a tag and a payload. A message goes out in one write
// and comes in with as few reads as the pipe allows, straight into the
// caller's storage, so that each side wakes once per message and the bytes
// are copied once.
class CReaderChannel
{
public:
    CReaderChannel(int in, int out) : m_in(in), m_out(out) {}
    CReaderChannel(const CReaderChannel&) = delete;
    CReaderChannel& operator=(const CReaderChannel&) = delete;

    // The next message: its payload is a view into the storage (which keeps
    // its memory from one message to the next). False at the end of the
    // input or on a message larger than maxBytes.
    bool Receive(uint32_t& tag, std::string& storage, std::string_view& payload, size_t maxBytes);
    bool Send(uint32_t tag, std::string_view payload);

private:
    int m_in;
    int m_out;
    // Bytes read past the end of the last message.
    std::string m_ahead;
};

} // namespace MeshReader
