#include "platform/FileDescriptor.h"

#include <cerrno>
#include <sys/uio.h>
#include <unistd.h>

namespace Platform
{

size_t WriteFully(int descriptor, const void* data, size_t count)
{
    return WriteFully(descriptor, nullptr, 0, data, count);
}

size_t WriteFully(int descriptor, const void* head, size_t headCount, const void* data, size_t count)
{
    size_t done = 0;
    while (done < headCount + count)
    {
        iovec pieces[2];
        int used = 0;
        if (done < headCount)
            pieces[used++] = {const_cast<char*>(static_cast<const char*>(head)) + done, headCount - done};
        const size_t dataDone = done > headCount ? done - headCount : 0;
        if (dataDone < count)
            pieces[used++] = {const_cast<char*>(static_cast<const char*>(data)) + dataDone, count - dataDone};
        const ssize_t written = ::writev(descriptor, pieces, used);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += static_cast<size_t>(written);
    }
    return done;
}

long ReadSome(int descriptor, void* data, size_t count)
{
    for (;;)
    {
        const ssize_t got = ::read(descriptor, data, count);
        if (got >= 0 || errno != EINTR)
            return static_cast<long>(got);
    }
}

} // namespace Platform
