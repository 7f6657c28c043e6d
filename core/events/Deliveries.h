#pragma once

// Which subscribers each thread is calling right now, so that Unsubscribe
// on one thread can wait for a call in flight on another. A publication
// announces each subscriber in a slot of its own thread before it checks
// that the subscriber is still on the channel; Unsubscribe removes the entry,
// passes a heavy barrier and then waits while any other thread's slot holds
// the subscriber. Either the publisher sees the removal and skips the call,
// or Unsubscribe sees the announcement and waits for the call to return. The
// publisher's side is a plain store and a compiler barrier per call.

#include "platform/MemoryBarrier.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace Misc::Multicast
{

class CDeliveries
{
public:
    // The slots of one thread: kCount of them, then more in a chained block
    // for deeper nesting. A thread takes a free record on its first
    // publication and gives it back when it ends; records are never freed,
    // so a waiter may read any of them at any time.
    struct SSlots
    {
        static constexpr size_t kCount = 16;
        std::atomic<const void*> slot[kCount] = {};
        std::atomic<SSlots*> more{nullptr};
        std::atomic<bool> inUse{false};
        SSlots* next = nullptr; // the list of all records; set before it is shared
    };

    // The calling thread's record and nesting depth: plain data, so that a
    // publication reads them with one access to the thread's own block.
    struct SThreadState
    {
        SSlots* record;
        uint32_t depth;
        bool ended; // the thread gave its record back (it is ending)
    };

    // One publication on the calling thread; nested publications take the
    // next slot. Clears its slot when it ends (also by an exception).
    class CFrame
    {
    public:
        CFrame()
        {
            SThreadState& state = ThreadState();
            m_slot = state.record != nullptr && state.depth < SSlots::kCount
                         ? &state.record->slot[state.depth]
                         : SlotOutOfLine(state);
            ++state.depth;
            m_fence = !Platform::Detail::g_heavyBarrierReachesAllThreads;
        }
        ~CFrame()
        {
            m_slot->store(nullptr, std::memory_order_release);
            --ThreadState().depth;
        }
        CFrame(const CFrame&) = delete;
        CFrame& operator=(const CFrame&) = delete;

        // Whether Announce must fence: Platform::LightBarrier's choice,
        // taken once per publication so that the loop of calls can be made
        // for each answer (Announce<true> or Announce<false>).
        bool NeedsFence() const { return m_fence; }

        // Announces the subscriber about to be called. Call before checking
        // that it is still subscribed.
        template <bool Fence> void Announce(const void* subscriber)
        {
            m_slot->store(subscriber, std::memory_order_relaxed);
            if (Fence)
                std::atomic_thread_fence(std::memory_order_seq_cst);
            else
                std::atomic_signal_fence(std::memory_order_seq_cst);
        }

    private:
        std::atomic<const void*>* m_slot;
        bool m_fence;
    };

    // The heavy half of the pair: call after removing a subscriber and
    // before WaitWhileCalled.
    static void AfterRemoval() { Platform::HeavyBarrier(); }

    // Waits until no thread but the calling one is inside a call to the
    // subscriber. Calls on the calling thread itself (a subscriber removing
    // itself from its own handler) are not waited for. True when it had to
    // wait.
    static bool WaitWhileCalled(const void* subscriber);

private:
    static SThreadState& ThreadState();
    // The slot at the state's depth: takes a record on the thread's first
    // publication, and further blocks for deep nesting.
    static std::atomic<const void*>* SlotOutOfLine(SThreadState& state);
};

namespace Detail
{
// Initial-exec: one access relative to the thread pointer, no call.
extern __thread CDeliveries::SThreadState t_deliveryState __attribute__((tls_model("initial-exec")));
} // namespace Detail

inline CDeliveries::SThreadState& CDeliveries::ThreadState()
{
    return Detail::t_deliveryState;
}

} // namespace Misc::Multicast
