#include "app/meshreader/ReaderChannel.h"

#include "irrlicht/MeshWire.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/uio.h>
#include <unistd.h>

namespace MeshReader
{

namespace
{

constexpr size_t kBufferBytes = 1024 * 1024;

} // namespace

CReaderChannel::CReaderChannel(int in, int out) : m_in(in), m_out(out), m_buffer(new char[kBufferBytes]) {}

bool CReaderChannel::Fill(size_t size)
{
    if (m_end - m_begin >= size)
        return true;
    std::memmove(m_buffer.get(), m_buffer.get() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
    while (m_end < size)
    {
        const ssize_t count = ::read(m_in, m_buffer.get() + m_end, kBufferBytes - m_end);
        if (count == 0 || (count < 0 && errno != EINTR))
            return false;
        if (count > 0)
            m_end += static_cast<size_t>(count);
    }
    return true;
}

bool CReaderChannel::Receive(uint32_t& tag, std::string& payload, size_t maxBytes)
{
    if (!Fill(8))
        return false;
    Graphics::CWireReader read(std::string_view(m_buffer.get() + m_begin, 8));
    m_begin += 8;
    tag = read.U32();
    const uint32_t length = read.U32();
    if (length > maxBytes)
        return false;
    // What came with the header, then the rest straight into the payload.
    const size_t ready = std::min<size_t>(length, m_end - m_begin);
    payload.resize(length);
    std::memcpy(payload.data(), m_buffer.get() + m_begin, ready);
    m_begin += ready;
    for (size_t at = ready; at < length;)
    {
        const ssize_t count = ::read(m_in, payload.data() + at, length - at);
        if (count == 0 || (count < 0 && errno != EINTR))
            return false;
        if (count > 0)
            at += static_cast<size_t>(count);
    }
    return true;
}

bool CReaderChannel::Send(uint32_t tag, const std::string& payload)
{
    Graphics::CWireWriter header;
    header.U32(tag);
    header.U32(static_cast<uint32_t>(payload.size()));
    iovec pieces[2] = {{header.Bytes().data(), header.Bytes().size()},
                       {const_cast<char*>(payload.data()), payload.size()}};
    iovec* next = pieces;
    int left = 2;
    while (left > 0)
    {
        if (next->iov_len == 0)
        {
            ++next;
            --left;
            continue;
        }
        const ssize_t written = ::writev(m_out, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        size_t taken = static_cast<size_t>(written);
        while (left > 0 && taken >= next->iov_len)
        {
            taken -= next->iov_len;
            ++next;
            --left;
        }
        if (left > 0)
        {
            next->iov_base = static_cast<char*>(next->iov_base) + taken;
            next->iov_len -= taken;
        }
    }
    return true;
}

} // namespace MeshReader
