#include "app/meshreader/ReaderChannel.h"

#include "irrlicht/MeshWire.h"

#include "platform/FileDescriptor.h"

#include <algorithm>
#include <cstring>

namespace MeshReader
{

namespace
{

// What a read asks the pipe for at least: a whole small message, and as
// much of a large one as the pipe holds.
constexpr size_t kReadBytes = 1024 * 1024;

} // namespace

bool CReaderChannel::Receive(uint32_t& tag, std::string& storage, std::string_view& payload, size_t maxBytes)
{
    // The storage only grows, so that its bytes are not cleared again for
    // every message.
    size_t have = m_ahead.size();
    if (storage.size() < std::max(have, kReadBytes))
        storage.resize(std::max(have, kReadBytes));
    std::memcpy(storage.data(), m_ahead.data(), have);
    m_ahead.clear();
    size_t total = 8;
    bool sized = false;
    for (;;)
    {
        if (!sized && have >= 8)
        {
            Graphics::CWireReader read(std::string_view(storage.data(), 8));
            tag = read.U32();
            const uint32_t length = read.U32();
            if (length > maxBytes)
                return false;
            total = 8 + static_cast<size_t>(length);
            if (storage.size() < total)
                storage.resize(total);
            sized = true;
        }
        if (sized && have >= total)
            break;
        const long count = Platform::ReadSome(m_in, storage.data() + have, storage.size() - have);
        if (count <= 0)
            return false;
        have += static_cast<size_t>(count);
    }
    if (have > total)
        m_ahead.assign(storage.data() + total, have - total);
    payload = std::string_view(storage.data() + 8, total - 8);
    return true;
}

bool CReaderChannel::Send(uint32_t tag, std::string_view payload)
{
    Graphics::CWireWriter header;
    header.U32(tag);
    header.U32(static_cast<uint32_t>(payload.size()));
    const size_t sent = Platform::WriteFully(m_out, header.Bytes().data(), header.Bytes().size(),
                                             payload.data(), payload.size());
    return sent == header.Bytes().size() + payload.size();
}

} // namespace MeshReader
