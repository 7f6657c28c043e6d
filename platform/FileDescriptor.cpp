#include "platform/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

namespace Platform
{

size_t WriteFully(int descriptor, const void* data, size_t count)
{
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < count)
    {
        const ssize_t written = ::write(descriptor, bytes + done, count - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += static_cast<size_t>(written);
    }
    return done;
}

} // namespace Platform
