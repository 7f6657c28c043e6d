#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace MeshReader
{

// The reader's side of its two pipes to the engine (descriptors 3 and 4):
// whole messages of a tag and a payload. A message goes out in one write
// and comes in with as few reads as the pipe allows, so that each side
// wakes once per message.
class CReaderChannel
{
public:
    CReaderChannel(int in, int out);
    CReaderChannel(const CReaderChannel&) = delete;
    CReaderChannel& operator=(const CReaderChannel&) = delete;

    // False at the end of the input or on a message larger than maxBytes.
    bool Receive(uint32_t& tag, std::string& payload, size_t maxBytes);
    bool Send(uint32_t tag, const std::string& payload);

private:
    // At least size bytes (at most the buffer's) read ahead, or false at
    // the end of the input.
    bool Fill(size_t size);

    int m_in;
    int m_out;
    // What one read takes from the pipe (as much as the pipe holds): the
    // bytes from m_begin to m_end are read but not yet handed out.
    std::unique_ptr<char[]> m_buffer;
    size_t m_begin = 0;
    size_t m_end = 0;
};

} // namespace MeshReader
