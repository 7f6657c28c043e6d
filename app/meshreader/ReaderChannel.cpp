#include "app/meshreader/ReaderChannel.h"

#include "graphics/irrlicht/MeshWire.h"

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
    return std::fwrite(header.Bytes().data(), 1, header.Bytes().size(), m_out) == header.Bytes().size() &&
           std::fwrite(payload.data(), 1, payload.size(), m_out) == payload.size() && std::fflush(m_out) == 0;
}

} // namespace MeshReader
