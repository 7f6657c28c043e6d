#include "platform/RandomBytes.h"

#include <atomic>
#include <cerrno>
#include <pthread.h>
#include <sys/random.h>

namespace Platform
{

namespace
{
std::atomic<uint32_t> g_forkGeneration{0};

void CountFork()
{
    g_forkGeneration.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

size_t FillRandomBytes(unsigned char* bytes, size_t count)
{
    size_t filled = 0;
    while (filled < count)
    {
        const ssize_t got = ::getrandom(bytes + filled, count - filled, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    return filled;
}

uint32_t GetForkGeneration()
{
    static const bool registered = [] { return ::pthread_atfork(nullptr, nullptr, CountFork) == 0; }();
    (void)registered;
    return g_forkGeneration.load(std::memory_order_relaxed);
}

} // namespace Platform
