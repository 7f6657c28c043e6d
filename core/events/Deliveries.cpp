#include "core/events/Deliveries.h"

#include <chrono>
#include <cstddef>
#include <thread>

namespace Misc::Multicast
{

// The slots of one thread: kCount of them, then more in a chained block for
// deeper nesting. A thread takes a free record on its first publication and
// gives it back when it ends; records are never freed, so a waiter may read
// any of them at any time.
struct CDeliveries::SSlots
{
    static constexpr size_t kCount = 16;
    std::atomic<const void*> slot[kCount] = {};
    std::atomic<SSlots*> more{nullptr};
    std::atomic<bool> inUse{false};
    SSlots* next = nullptr; // the list of all records; set before publishing
};

namespace
{

using SSlots = CDeliveries::SSlots;

std::atomic<SSlots*> g_records{nullptr};

struct SThreadState
{
    SSlots* record;
    uint32_t depth;
    bool ended;
};

// Plain data, so reading it is one access to the thread's own block.
__attribute__((tls_model("initial-exec"))) thread_local SThreadState t_state = {nullptr, 0, false};

// Gives the record back when the thread ends.
struct CRecordReturn
{
    ~CRecordReturn()
    {
        if (t_state.record != nullptr)
            t_state.record->inUse.store(false, std::memory_order_release);
        t_state.record = nullptr;
        t_state.ended = true;
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

std::atomic<const void*>* SlotAt(SSlots* record, uint32_t depth)
{
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

CDeliveries::CFrame::CFrame()
{
    SThreadState& state = t_state;
    if (state.record == nullptr)
    {
        // A thread that already gave its record back (it is ending) keeps
        // the new one for good.
        if (!state.ended)
            t_return.Arm();
        state.record = TakeRecord();
    }
    m_slot = SlotAt(state.record, state.depth++);
}

CDeliveries::CFrame::~CFrame()
{
    m_slot->store(nullptr, std::memory_order_release);
    --t_state.depth;
}

bool CDeliveries::WaitWhileCalled(const void* subscriber)
{
    bool waited = false;
    if (subscriber == nullptr)
        return waited;
    const SSlots* own = t_state.record;
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
