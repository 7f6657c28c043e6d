#include "platform/MemoryBarrier.h"

#include <linux/membarrier.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform
{

namespace
{

long Membarrier(int command)
{
    return ::syscall(SYS_membarrier, command, 0, 0);
}

// The expedited private barrier interrupts only the processors that run a
// thread of this process; it must be registered before use.
bool RegisterMembarrier()
{
    const long supported = Membarrier(MEMBARRIER_CMD_QUERY);
    if (supported < 0 || (supported & MEMBARRIER_CMD_PRIVATE_EXPEDITED) == 0)
        return false;
    return Membarrier(MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED) == 0;
}

} // namespace

namespace Detail
{
bool g_heavyBarrierReachesAllThreads = RegisterMembarrier();
} // namespace Detail

void HeavyBarrier()
{
    std::atomic_thread_fence(std::memory_order_seq_cst);
    // Once registered the call cannot fail: the kernel refuses only unknown
    // or unregistered commands.
    if (Detail::g_heavyBarrierReachesAllThreads)
        Membarrier(MEMBARRIER_CMD_PRIVATE_EXPEDITED);
    std::atomic_thread_fence(std::memory_order_seq_cst);
}

} // namespace Platform
