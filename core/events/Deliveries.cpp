#include "core/events/Deliveries.h"

#include <chrono>
#include <thread>

namespace Misc::Multicast
{

namespace Detail
{
__thread CDeliveries::SThreadState t_deliveryState
    __attribute__((tls_model("initial-exec"))) = {nullptr, 0, false};
} // namespace Detail

namespace
{

using SSlots = CDeliveries::SSlots;

std::atomic<SSlots*> g_records{nullptr};

// Gives the thread's record back when the thread ends.
struct CRecordReturn
{
    ~CRecordReturn()
    {
        CDeliveries::SThreadState& state = Detail::t_deliveryState;
        state.ended = true;
        // A thread that ends the process from inside a publication (a script
        // calling exit in a handler) keeps its record: its slots still name
        // the subscribers it is calling, and only its own unsubscribes may
        // pass them.
        if (state.record == nullptr || state.depth != 0)
            return;
        state.record->inUse.store(false, std::memory_order_release);
        state.record = nullptr;
    }
    void Arm() {}
};

thread_local CRecordReturn t_return;

SSlots* TakeRecord()
{
    for (SSlots* record = g_records.load(std::memory_order_acquire); record != nullptr; record = record->next)
    {
        bool free = false;
        if (record->inUse.compare_exchange_strong(free, true, std::memory_order_acquire))
            return record;
    }
    SSlots* record = new SSlots;
    record->inUse.store(true, std::memory_order_relaxed);
    record->next = g_records.load(std::memory_order_relaxed);
    while (!g_records.compare_exchange_weak(record->next, record, std::memory_order_release,
                                            std::memory_order_relaxed))
    {
    }
    return record;
}

bool WaitWhileIn(const std::atomic<const void*>& slot, const void* subscriber)
{
    int round = 0;
    for (; slot.load(std::memory_order_acquire) == subscriber; ++round)
    {
        if (round < 64)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return round != 0;
}

} // namespace

std::atomic<const void*>* CDeliveries::SlotOutOfLine(SThreadState& state)
{
    if (state.record == nullptr)
    {
        // A thread that already gave its record back (it is ending) keeps
        // the new one for good.
        if (!state.ended)
            t_return.Arm();
        state.record = TakeRecord();
    }
    SSlots* record = state.record;
    uint32_t depth = state.depth;
    while (depth >= SSlots::kCount)
    {
        SSlots* more = record->more.load(std::memory_order_acquire);
        if (more == nullptr)
        {
            more = new SSlots;
            record->more.store(more, std::memory_order_release);
        }
        record = more;
        depth -= SSlots::kCount;
    }
    return &record->slot[depth];
}

bool CDeliveries::WaitWhileCalled(const void* subscriber)
{
    bool waited = false;
    if (subscriber == nullptr)
        return waited;
    const SSlots* own = ThreadState().record;
    for (SSlots* record = g_records.load(std::memory_order_acquire); record != nullptr; record = record->next)
    {
        if (record == own)
            continue;
        for (SSlots* block = record; block != nullptr; block = block->more.load(std::memory_order_acquire))
        {
            for (const auto& slot : block->slot)
            {
                if (WaitWhileIn(slot, subscriber))
                    waited = true;
            }
        }
    }
    return waited;
}

} // namespace Misc::Multicast
