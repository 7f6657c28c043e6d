#include "platform/Thread.h"

#include <thread>
#include <unistd.h>

namespace Platform
{

uint64_t GetCurrentThreadId()
{
    return static_cast<uint64_t>(::gettid());
}

uint32_t GetProcessorCount()
{
    const unsigned int count = std::thread::hardware_concurrency();
    return count == 0 ? 1u : count;
}

} // namespace Platform
