#include "core/world/EngineLink.h"

#include <atomic>

namespace Misc::World
{

namespace
{

// Parts come and go on the threads that own their engines.
std::atomic<uint64_t> g_stamp{0};

} // namespace

uint64_t GetEngineLinkStamp()
{
    return g_stamp.load(std::memory_order_acquire);
}

void ChangeEngineLinkStamp()
{
    g_stamp.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace Misc::World
