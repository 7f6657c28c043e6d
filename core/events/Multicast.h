#pragma once

// Process-wide event channels. One channel per event kind (see Events.h),
// each a list of subscribers ordered by descending priority under its own
// lock. A publication calls every subscriber in order with the lock released,
// so subscribers may subscribe, unsubscribe, publish or be destroyed while it
// runs; one removed meanwhile is not called any more, one added meanwhile
// waits for the next publication.
//
//   class CFader : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsTick>
//   {
//   public:
//       ~CFader() override {
//       Misc::Multicast::CMulticast<Misc::Multicast::Kind::TickGraphics>::Unsubscribe(this); } bool
//       OnEvent(const Graphics::Multicast::CEvtGraphicsTick& tick) override;
//   };
//   Misc::Multicast::CMulticast<Misc::Multicast::Kind::TickGraphics>::Subscribe(&fader, 0);
//
// Threads: any thread may publish, subscribe and unsubscribe. Unsubscribe
// returns only when no other thread is still inside a call to that
// subscriber (a call on the unsubscribing thread itself is not waited for:
// a handler may unsubscribe itself). So a subscriber that another thread may
// be publishing to unsubscribes in its own, most-derived destructor, before
// any of its members go: the base destructor unsubscribes too, but by then
// the derived part that a running handler uses is already destroyed. And
// whoever unsubscribes must not hold anything the handler waits for.
//
// CSubscriber<X> and CMulticast<X> take a kind tag, or a record type that
// only one channel carries. A class listening to two channels that carry the
// same record derives from an intermediate class per channel, because one
// override of OnEvent(const CEvtEntity&) would serve both bases.

#include "core/events/Events.h"
#include "core/events/Flags.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <type_traits>
#include <vector>

namespace Misc::Multicast
{

template <class K> class CMulticastOf;

// The subscriber base for one channel. An object listening to several
// channels has one such base per channel, each a subscriber of its own.
template <class K> class CSubscriberOf : public Misc::CFlags
{
public:
    using EventKind = K;
    using Event = typename K::Event;

    CSubscriberOf() = default;
    // A copy is a new subscriber: it is subscribed nowhere.
    CSubscriberOf(const CSubscriberOf& other) : Misc::CFlags(other) {}
    CSubscriberOf& operator=(const CSubscriberOf& other)
    {
        Misc::CFlags::operator=(other);
        return *this;
    }
    // Owners unsubscribe before destroying a subscriber (see the top of this
    // file); this makes sure the channel never keeps a dangling pointer when
    // one forgets.
    ~CSubscriberOf() override;

    // What the channel calls. handled is whether an earlier subscriber of
    // this publication returned true; the default ignores it.
    virtual bool Dispatch(const Event& event, bool handled)
    {
        (void)handled;
        return OnEvent(event);
    }

    // Returns whether the event was handled.
    virtual bool OnEvent(const Event& event)
    {
        (void)event;
        return false;
    }
};

// The channel of one event kind. It exists from its first use to the end of
// the process (never destroyed, so publishing from an exit path is safe) and
// owns no subscriber.
template <class K> class CMulticastOf
{
public:
    using EventKind = K;
    using Event = typename K::Event;
    using Subscriber = CSubscriberOf<K>;

    // Adds the subscriber before every entry of equal or lower priority. A
    // subscriber already on the channel keeps its entry and first priority.
    static void Subscribe(Subscriber* subscriber, int32_t priority);
    // Removes the subscriber (one that is not subscribed is ignored), then
    // waits until no other thread is inside a call to it.
    static void Unsubscribe(Subscriber* subscriber);
    // Calls every subscriber in order, each with the OR of the results so far;
    // returns that OR. Returns false at once while the channel is switched
    // off, unless force is set. An exception from a subscriber ends the
    // publication and reaches the caller.
    static bool Publish(const Event& event, bool force = false)
    {
        // Input and drawing events are published on channels nobody may
        // listen to: that answer is one load, without a call.
        if (!HasSubscribers())
            return false;
        return PublishToSubscribers(event, force);
    }

    // Whether anyone listens: for publishers that would build a record for
    // nobody. One load, without a call.
    static bool HasSubscribers() { return s_count.load(std::memory_order_acquire) != 0; }

    // Whether the subscriber is on the channel.
    static bool IsSubscribed(const Subscriber* subscriber);

    // The on/off switch of the Gui, Key, Mouse and MouseButton channels.
    template <class S = K, std::enable_if_t<S::Switchable, int> = 0> static void Enable(bool enable)
    {
        Instance().m_enabled.store(enable, std::memory_order_release);
    }
    template <class S = K, std::enable_if_t<S::Switchable, int> = 0> static bool IsEnabled()
    {
        return Instance().m_enabled.load(std::memory_order_acquire);
    }

private:
    friend class CSubscriberOf<K>;

    struct SEntry
    {
        Subscriber* subscriber;
        int32_t priority;
    };

    // Takes the subscriber off the list; true when it was on it.
    static bool Remove(Subscriber* subscriber);
    // Publish past its inline check: the switch, then Deliver.
    static bool PublishToSubscribers(const Event& event, bool force);
    bool Deliver(const Event& event);

    CMulticastOf() = default;
    static CMulticastOf& Instance();
    bool IsLive(const Subscriber* subscriber);
    // Under the lock, after each change of the list: the sole entry and the
    // count.
    void ListChanged();

    // Held only to read or change the list, never while a subscriber runs,
    // so it need not be recursive.
    std::mutex m_lock;
    std::vector<SEntry> m_entries;
    // Counts removals: a publication whose snapshot is older than the last
    // removal checks each entry against the live list before calling it.
    std::atomic<uint64_t> m_removals{0};
    // The entry while the list has exactly one, else null.
    std::atomic<Subscriber*> m_sole{nullptr};
    // The number of entries, kept beside the list (and outside the channel
    // object, so that Publish reads it inline) for publications on a
    // channel nobody listens to.
    static std::atomic<size_t> s_count;
    std::atomic<bool> m_enabled{true};
};

template <class T> using CSubscriber = CSubscriberOf<typename KindOf<T>::Type>;

template <class T> using CMulticast = CMulticastOf<typename KindOf<T>::Type>;

// Every channel is instantiated once, in the engine library.
#define HALVANE_DECLARE_EVENT_KIND(kind)                                                                     \
    extern template class CSubscriberOf<Kind::kind>;                                                         \
    extern template class CMulticastOf<Kind::kind>;
HALVANE_EVENT_KINDS(HALVANE_DECLARE_EVENT_KIND)
#undef HALVANE_DECLARE_EVENT_KIND

} // namespace Misc::Multicast
