#include "core/events/Multicast.h"

#include "core/events/Deliveries.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <type_traits>

namespace Misc::Multicast
{

namespace
{

// The subscribers of one publication, copied under the channel's lock. Small
// lists stay on the stack so that a publication normally allocates nothing.
template <class Subscriber> class CSnapshot
{
public:
    template <class Entries> void Assign(const Entries& entries)
    {
        m_size = entries.size();
        if (m_size > InlineCapacity)
        {
            m_heap.reset(new Subscriber*[m_size]);
            m_data = m_heap.get();
        }
        for (size_t i = 0; i < m_size; ++i)
            m_data[i] = entries[i].subscriber;
    }

    void AssignOne(Subscriber* subscriber)
    {
        m_size = 1;
        m_data[0] = subscriber;
    }

    size_t Size() const { return m_size; }
    Subscriber* operator[](size_t index) const { return m_data[index]; }

private:
    static constexpr size_t InlineCapacity = 32;
    Subscriber* m_inline[InlineCapacity];
    std::unique_ptr<Subscriber*[]> m_heap;
    Subscriber** m_data = m_inline;
    size_t m_size = 0;
};

} // namespace

template <class K> CSubscriberOf<K>::~CSubscriberOf()
{
    const bool wasSubscribed = CMulticastOf<K>::Remove(this);
    const bool waited = CDeliveries::WaitWhileCalled(this);
    // Another thread was running this subscriber's handler while its derived
    // part was being destroyed: it must unsubscribe in its own destructor.
    assert(!(wasSubscribed && waited) &&
           "a subscriber called from another thread unsubscribes in its own destructor");
    (void)wasSubscribed;
    (void)waited;
}

template <class K> CMulticastOf<K>& CMulticastOf<K>::Instance()
{
    // Never destroyed: a script may end the process from inside the loop,
    // while subscribers still unsubscribe during exit.
    static CMulticastOf* const channel = new CMulticastOf;
    return *channel;
}

template <class K> void CMulticastOf<K>::Subscribe(Subscriber* subscriber, int32_t priority)
{
    if (subscriber == nullptr)
        return;
    CMulticastOf& channel = Instance();
    std::lock_guard<std::mutex> lock(channel.m_lock);
    auto& entries = channel.m_entries;
    for (const SEntry& entry : entries)
    {
        if (entry.subscriber == subscriber)
            return;
    }
    // Before the first entry of equal or lower priority: a newcomer goes
    // ahead of the subscribers of its own priority.
    auto position = std::find_if(entries.begin(), entries.end(),
                                 [priority](const SEntry& entry) { return entry.priority <= priority; });
    entries.insert(position, SEntry{subscriber, priority});
    channel.ListChanged();
}

template <class K> bool CMulticastOf<K>::Remove(Subscriber* subscriber)
{
    CMulticastOf& channel = Instance();
    std::lock_guard<std::mutex> lock(channel.m_lock);
    auto& entries = channel.m_entries;
    auto position =
        std::find_if(entries.begin(), entries.end(),
                     [subscriber](const SEntry& entry) { return entry.subscriber == subscriber; });
    if (position == entries.end())
        return false;
    entries.erase(position);
    channel.ListChanged();
    // After the sole entry changed: a publication that reads the count
    // before its sole entry sees the entry as it was after this removal.
    channel.m_removals.fetch_add(1, std::memory_order_release);
    // Still under the lock: an Unsubscribe that finds the entry gone (taken
    // by this one) may rely on the barrier having been passed.
    CDeliveries::AfterRemoval();
    return true;
}

template <class K> void CMulticastOf<K>::Unsubscribe(Subscriber* subscriber)
{
    Remove(subscriber);
    CDeliveries::WaitWhileCalled(subscriber);
}

template <class K> bool CMulticastOf<K>::IsSubscribed(const Subscriber* subscriber)
{
    CMulticastOf& channel = Instance();
    std::lock_guard<std::mutex> lock(channel.m_lock);
    return channel.IsLive(subscriber);
}

template <class K> void CMulticastOf<K>::ListChanged()
{
    m_sole.store(m_entries.size() == 1 ? m_entries.front().subscriber : nullptr, std::memory_order_release);
    s_count.store(m_entries.size(), std::memory_order_release);
}

template <class K> bool CMulticastOf<K>::IsLive(const Subscriber* subscriber)
{
    for (const SEntry& entry : m_entries)
    {
        if (entry.subscriber == subscriber)
            return true;
    }
    return false;
}

template <class K> std::atomic<size_t> CMulticastOf<K>::s_count{0};

template <class K> bool CMulticastOf<K>::PublishToSubscribers(const Event& event, bool force)
{
    CMulticastOf& channel = Instance();
    if (K::Switchable && !force && !channel.m_enabled.load(std::memory_order_acquire))
        return false;
    return channel.Deliver(event);
}

template <class K> bool CMulticastOf<K>::Deliver(const Event& event)
{
    CSnapshot<Subscriber> snapshot;
    // A channel with one subscriber (the usual script handler) needs no
    // copy of the list: its entry is read without the lock. The removal
    // count read first makes it as good as a snapshot: an entry removed
    // before that read is not the sole one any more, one removed later shows
    // in the check before the call.
    uint64_t removals = m_removals.load(std::memory_order_acquire);
    if (Subscriber* sole = m_sole.load(std::memory_order_acquire))
    {
        snapshot.AssignOne(sole);
    }
    else
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_entries.empty())
            return false;
        snapshot.Assign(m_entries);
        removals = m_removals.load(std::memory_order_relaxed);
    }

    CDeliveries::CFrame frame;
    auto deliver = [&](auto fence)
    {
        bool handled = false;
        for (size_t i = 0; i < snapshot.Size(); ++i)
        {
            Subscriber* subscriber = snapshot[i];
            // Announced before the check below: an Unsubscribe on another
            // thread either shows in the check or waits for this call.
            frame.Announce<decltype(fence)::value>(subscriber);
            // Nothing was removed since the snapshot: every entry is still
            // live. Otherwise only the ones still on the channel are called
            // (one that was removed and added again counts as live).
            if (m_removals.load(std::memory_order_relaxed) != removals)
            {
                std::lock_guard<std::mutex> lock(m_lock);
                if (!IsLive(subscriber))
                    continue;
            }
            // The lock is free during the call: the subscriber may change
            // this channel or publish on it.
            if (subscriber->Dispatch(event, handled))
                handled = true;
        }
        return handled;
    };
    return frame.NeedsFence() ? deliver(std::true_type()) : deliver(std::false_type());
}

#define HALVANE_DEFINE_EVENT_KIND(kind)                                                                      \
    template class CSubscriberOf<Kind::kind>;                                                                \
    template class CMulticastOf<Kind::kind>;
HALVANE_EVENT_KINDS(HALVANE_DEFINE_EVENT_KIND)
#undef HALVANE_DEFINE_EVENT_KIND

} // namespace Misc::Multicast
