#include "app/meshreader/ReaderChannel.h"

#include "graphics/irrlicht/MeshWire.h"

#include <sys/uio.h>

namespace MeshReader
{

bool CReaderChannel::Receive(uint32_t& tag, std::string& payload, size_t maxBytes)
{
    char header[8];
    if (std::fread(header, 1, sizeof header, m_in) != sizeof header)
        return false;
    Graphics::CWireReader read(std::string_view(header, sizeof header));
    tag = read.U32();
    const uint32_t length = read.U32();
    if (length > maxBytes)
        return false;
    payload.resize(length);
    return length == 0 || std::fread(payload.data(), 1, length, m_in) == length;
}

bool CReaderChannel::Send(uint32_t tag, const std::string& payload)
{
    Graphics::CWireWriter header;
    header.U32(tag);
    header.U32(static_cast<uint32_t>(payload.size()));
    // The whole message in one write where the pipe takes it (the stream
    // holds nothing unwritten after each message).
    const iovec parts[2] = {{header.Bytes().data(), header.Bytes().size()},
                            {const_cast<char*>(payload.data()), payload.size()}};
    size_t total = header.Bytes().size() + payload.size();
    const ssize_t written = ::writev(fileno(m_out), parts, 2);
    if (written < 0)
        return false;
    if (static_cast<size_t>(written) == total)
        return true;
    // The rest, after what the pipe took.
    size_t done = static_cast<size_t>(written);
    const size_t headerBytes = header.Bytes().size();
    if (done < headerBytes &&
        std::fwrite(header.Bytes().data() + done, 1, headerBytes - done, m_out) != headerBytes - done)
        return false;
    done = done > headerBytes ? done - headerBytes : 0;
    total = payload.size() - done;
    return std::fwrite(payload.data() + done, 1, total, m_out) == total && std::fflush(m_out) == 0;
}

} // namespace MeshReader
