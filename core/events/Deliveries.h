#pragma once

// Which subscribers each thread is calling right now, so that Unsubscribe
// on one thread can wait for a call in flight on another. A publication
// announces each subscriber in a slot of its own thread before it checks
// that the subscriber is still on the channel; Unsubscribe removes the entry,
// passes a heavy barrier and then waits while any other thread's slot holds
// the subscriber. Either the publisher sees the removal and skips the call,
// or Unsubscribe sees the announcement and waits for the call to return. The
// publisher's side is two plain stores and a compiler barrier per call.

#include "platform/MemoryBarrier.h"

#include <atomic>
#include <cstdint>

namespace Misc::Multicast
{

class CDeliveries
{
public:
    struct SSlots;

    // One publication on the calling thread; nested publications take the
    // next slot. Clears its slot when it ends (also by an exception).
    class CFrame
    {
    public:
        CFrame();
        ~CFrame();
        CFrame(const CFrame&) = delete;
        CFrame& operator=(const CFrame&) = delete;

        // Announces the subscriber about to be called. Call before checking
        // that it is still subscribed.
        void Announce(const void* subscriber)
        {
            m_slot->store(subscriber, std::memory_order_relaxed);
            Platform::LightBarrier();
        }

    private:
        std::atomic<const void*>* m_slot;
    };

    // The heavy half of the pair: call after removing a subscriber and
    // before WaitWhileCalled.
    static void AfterRemoval() { Platform::HeavyBarrier(); }

    // Waits until no thread but the calling one is inside a call to the
    // subscriber. Calls on the calling thread itself (a subscriber removing
    // itself from its own handler) are not waited for. True when it had to
    // wait.
    static bool WaitWhileCalled(const void* subscriber);
};

} // namespace Misc::Multicast
