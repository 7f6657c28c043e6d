#pragma once

// A barrier pair for a frequent side and a rare side (an asymmetric
// barrier). Code on the frequent side calls LightBarrier between a store and
// a later load; the rare side calls HeavyBarrier between its own store and
// load. Then either the frequent side's load sees the rare side's store, or
// the rare side's load sees the frequent side's store, as with two full
// fences. LightBarrier costs no fence where the system can make HeavyBarrier
// act on every thread of the process (Linux membarrier); elsewhere both are
// full fences.

#include <atomic>

namespace Platform
{

namespace Detail
{
// Set once during start-up when HeavyBarrier reaches every thread; until
// then (and without it) LightBarrier is a full fence.
extern bool g_heavyBarrierReachesAllThreads;
} // namespace Detail

inline void LightBarrier()
{
    if (Detail::g_heavyBarrierReachesAllThreads)
        std::atomic_signal_fence(std::memory_order_seq_cst);
    else
        std::atomic_thread_fence(std::memory_order_seq_cst);
}

// Costs a system call (about a microsecond).
void HeavyBarrier();

} // namespace Platform
