#include "core/events/Multicast.h"

#include "core/foundation/KVOError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

using namespace Misc::Multicast;

// A record type names its channel when only one channel carries it.
static_assert(
    std::is_same_v<CSubscriber<Graphics::Multicast::CEvtGraphicsTick>, CSubscriberOf<Kind::TickGraphics>>);
static_assert(std::is_same_v<CMulticast<CEvtLog>, CMulticastOf<Kind::Log>>);
static_assert(std::is_same_v<CMulticast<Kind::LeaveWorld>::Event, CEvtEntity>);

namespace
{

// Records its calls in a shared journal and runs an optional action inside
// the call (to change the channel during a publication).
template <class K> class CRecorder : public CSubscriberOf<K>
{
public:
    CRecorder(std::vector<std::string>& journal, std::string name, bool result = false)
        : m_journal(journal), m_name(std::move(name)), m_result(result)
    {
    }

    bool OnEvent(const typename K::Event&) override
    {
        m_journal.push_back(m_name);
        if (action)
            action();
        return m_result;
    }

    std::function<void()> action;

private:
    std::vector<std::string>& m_journal;
    std::string m_name;
    bool m_result;
};

using Channel = CMulticastOf<Kind::UserEvent>;
using Recorder = CRecorder<Kind::UserEvent>;

// Unsubscribes every recorder of the test so the process-wide channel is
// empty for the next one.
class MulticastTest : public ::testing::Test
{
protected:
    Recorder& Make(std::string name, bool result = false)
    {
        m_recorders.push_back(std::make_unique<Recorder>(m_journal, std::move(name), result));
        return *m_recorders.back();
    }

    bool Publish() { return Channel::Publish(CEvtUser{"event", nullptr}); }

    void TearDown() override
    {
        for (auto& recorder : m_recorders)
            Channel::Unsubscribe(recorder.get());
    }

    std::vector<std::string> m_journal;
    std::vector<std::unique_ptr<Recorder>> m_recorders;
};

using Journal = std::vector<std::string>;

} // namespace

TEST_F(MulticastTest, CallsInDescendingPriorityWithNewcomersAheadOfEquals)
{
    Channel::Subscribe(&Make("first 5"), 5);
    Channel::Subscribe(&Make("zero"), 0);
    Channel::Subscribe(&Make("second 5"), 5);
    Channel::Subscribe(&Make("negative"), -1);
    Channel::Subscribe(&Make("max"), 2147483647);
    Channel::Subscribe(&Make("min"), -2147483647 - 1);

    EXPECT_FALSE(Publish());
    EXPECT_EQ(m_journal, (Journal{"max", "second 5", "first 5", "zero", "negative", "min"}));
}

TEST_F(MulticastTest, SubscribingTwiceKeepsTheFirstEntry)
{
    Recorder& twice = Make("twice");
    Channel::Subscribe(&twice, 1);
    Channel::Subscribe(&Make("zero"), 0);
    Channel::Subscribe(&twice, -5);

    Publish();
    EXPECT_EQ(m_journal, (Journal{"twice", "zero"}));
}

TEST_F(MulticastTest, ResultIsTheOrOfAllSubscribersAndNobodyIsSkipped)
{
    EXPECT_FALSE(Publish()) << "no subscribers";

    Recorder never(m_journal, "never");
    Channel::Subscribe(&Make("yes", true), 2);
    Channel::Subscribe(&Make("no"), 1);
    EXPECT_TRUE(Publish());
    EXPECT_EQ(m_journal, (Journal{"yes", "no"}));

    Channel::Unsubscribe(&never); // never subscribed: nothing changes
    m_journal.clear();
    EXPECT_TRUE(Publish());
    EXPECT_EQ(m_journal, (Journal{"yes", "no"}));
}

TEST_F(MulticastTest, HandledFlagIsTheOrOfEarlierResults)
{
    struct CFlagSeer : CSubscriberOf<Kind::UserEvent>
    {
        CFlagSeer(bool answer) : result(answer) {}
        bool Dispatch(const CEvtUser&, bool handled) override
        {
            seen.push_back(handled);
            return result;
        }
        bool result;
        std::vector<bool> seen;
    };
    CFlagSeer a(false), b(true), c(false);
    Channel::Subscribe(&a, 3);
    Channel::Subscribe(&b, 2);
    Channel::Subscribe(&c, 1);
    EXPECT_TRUE(Publish());
    EXPECT_EQ(a.seen, std::vector<bool>{false});
    EXPECT_EQ(b.seen, std::vector<bool>{false});
    EXPECT_EQ(c.seen, std::vector<bool>{true});
    Channel::Unsubscribe(&a);
    Channel::Unsubscribe(&b);
    Channel::Unsubscribe(&c);
}

TEST_F(MulticastTest, DefaultOnEventDoesNotHandle)
{
    CSubscriberOf<Kind::UserEvent> plain;
    Channel::Subscribe(&plain, 0);
    EXPECT_FALSE(Publish());
    Channel::Unsubscribe(&plain);
}

TEST_F(MulticastTest, ChangesDuringDeliveryFollowTheLiveList)
{
    Recorder& self = Make("self");
    Recorder& removesNext = Make("removes next");
    Recorder& next = Make("next");
    Recorder& addsLate = Make("adds late");
    Recorder& late = Make("late");
    Recorder& readds = Make("re-adds");
    Recorder& readded = Make("re-added");
    Channel::Subscribe(&self, 7);
    Channel::Subscribe(&removesNext, 6);
    Channel::Subscribe(&next, 5);
    Channel::Subscribe(&addsLate, 4);
    Channel::Subscribe(&readds, 3);
    Channel::Subscribe(&readded, 2);

    self.action = [&] { Channel::Unsubscribe(&self); };
    removesNext.action = [&] { Channel::Unsubscribe(&next); };
    addsLate.action = [&] { Channel::Subscribe(&late, 100); };
    readds.action = [&]
    {
        Channel::Unsubscribe(&readded);
        Channel::Subscribe(&readded, 2);
    };

    Publish();
    EXPECT_EQ(m_journal, (Journal{"self", "removes next", "adds late", "re-adds", "re-added"}));

    m_journal.clear();
    addsLate.action = nullptr;
    Publish();
    EXPECT_EQ(m_journal, (Journal{"late", "removes next", "adds late", "re-adds", "re-added"}));
}

TEST_F(MulticastTest, SubscriberDestroyedDuringDeliveryIsNotCalled)
{
    // The destroyed one never unsubscribes itself: its base does.
    auto doomed = std::make_unique<Recorder>(m_journal, "doomed");
    Recorder& killer = Make("killer");
    Channel::Subscribe(&killer, 2);
    Channel::Subscribe(doomed.get(), 1);
    Channel::Subscribe(&Make("after"), 0);
    killer.action = [&] { doomed.reset(); };

    Publish();
    EXPECT_EQ(m_journal, (Journal{"killer", "after"}));
}

TEST_F(MulticastTest, NestedPublicationRunsCompletelyFirst)
{
    Recorder& outer = Make("outer");
    Channel::Subscribe(&outer, 1);
    Channel::Subscribe(&Make("second"), 0);
    int depth = 0;
    outer.action = [&]
    {
        if (depth++ == 0)
            Publish();
    };

    Publish();
    EXPECT_EQ(m_journal, (Journal{"outer", "outer", "second", "second"}));
}

TEST_F(MulticastTest, ExceptionEndsThePublicationAndFreesTheChannel)
{
    Recorder& thrower = Make("thrower");
    Channel::Subscribe(&thrower, 1);
    Channel::Subscribe(&Make("after"), 0);
    thrower.action = [] { throw Misc::Error::CKVOError(L"[Test] failed"); };

    EXPECT_THROW(Publish(), Misc::Error::CKVOError);
    EXPECT_EQ(m_journal, (Journal{"thrower"}));

    // The lock was released: another thread can still use the channel.
    thrower.action = nullptr;
    std::thread([&] { Channel::Unsubscribe(&thrower); }).join();
    m_journal.clear();
    Publish();
    EXPECT_EQ(m_journal, (Journal{"after"}));
}

TEST(MulticastSwitchTest, SwitchedOffChannelsDeliverOnlyWhenForced)
{
    Journal journal;
    CRecorder<Kind::Gui> gui(journal, "gui");
    CRecorder<Kind::Key> key(journal, "key");
    CRecorder<Kind::Mouse> mouse(journal, "mouse");
    CRecorder<Kind::MouseButton> button(journal, "button");
    CMulticastOf<Kind::Gui>::Subscribe(&gui, 0);
    CMulticastOf<Kind::Key>::Subscribe(&key, 0);
    CMulticastOf<Kind::Mouse>::Subscribe(&mouse, 0);
    CMulticastOf<Kind::MouseButton>::Subscribe(&button, 0);

    auto publishAll = [&](bool force)
    {
        CMulticastOf<Kind::Gui>::Publish(CGuiEvent{}, force);
        CMulticastOf<Kind::Key>::Publish(Graphics::Multicast::CEvtGraphicsKeyEvent{}, force);
        CMulticastOf<Kind::Mouse>::Publish(Graphics::Multicast::CEvtGraphicsMouseEvent{}, force);
        CMulticastOf<Kind::MouseButton>::Publish(Graphics::Multicast::CEvtGraphicsMouseEvent{}, force);
    };

    EXPECT_TRUE(CMulticastOf<Kind::Gui>::IsEnabled());
    CMulticastOf<Kind::Gui>::Enable(false);
    CMulticastOf<Kind::Key>::Enable(false);
    CMulticastOf<Kind::Mouse>::Enable(false);
    EXPECT_FALSE(CMulticastOf<Kind::Mouse>::IsEnabled());
    EXPECT_TRUE(CMulticastOf<Kind::MouseButton>::IsEnabled()) << "Mouse and MouseButton are two channels";
    CMulticastOf<Kind::MouseButton>::Enable(false);

    publishAll(false);
    EXPECT_TRUE(journal.empty());
    publishAll(true);
    EXPECT_EQ(journal, (Journal{"gui", "key", "mouse", "button"}));

    CMulticastOf<Kind::Gui>::Enable(true);
    CMulticastOf<Kind::Key>::Enable(true);
    CMulticastOf<Kind::Mouse>::Enable(true);
    CMulticastOf<Kind::MouseButton>::Enable(true);
    journal.clear();
    publishAll(false);
    EXPECT_EQ(journal, (Journal{"gui", "key", "mouse", "button"}));

    CMulticastOf<Kind::Gui>::Unsubscribe(&gui);
    CMulticastOf<Kind::Key>::Unsubscribe(&key);
    CMulticastOf<Kind::Mouse>::Unsubscribe(&mouse);
    CMulticastOf<Kind::MouseButton>::Unsubscribe(&button);
}

TEST(MulticastKindTest, KindsSharingARecordAreSeparateChannels)
{
    Journal journal;
    // One object on two channels of the same record, told apart by an
    // intermediate class per channel.
    struct COnLeave : CSubscriberOf<Kind::LeaveWorld>
    {
        bool OnEvent(const CEvtEntity& entity) override
        {
            names.push_back("leave " + entity.id);
            return true;
        }
        Journal names;
    };
    struct COnAnimation : CSubscriberOf<Kind::AnimationComplete>
    {
        bool OnEvent(const CEvtEntity& entity) override
        {
            names.push_back("animation " + entity.id);
            return false;
        }
        Journal names;
    };
    struct CBoth : COnLeave, COnAnimation
    {
    } both;
    CMulticast<Kind::LeaveWorld>::Subscribe(&both, 0);
    CMulticast<Kind::AnimationComplete>::Subscribe(&both, 0);

    EXPECT_TRUE(CMulticast<Kind::LeaveWorld>::Publish(CEvtEntity{nullptr, "rock"}));
    EXPECT_FALSE(CMulticast<Kind::AnimationComplete>::Publish(CEvtEntity{nullptr, "hero"}));
    EXPECT_FALSE(CMulticast<Kind::CollisionEnter>::Publish(CEvtEntityPair{nullptr, "a", "b"}));
    EXPECT_EQ(both.COnLeave::names, Journal{"leave rock"});
    EXPECT_EQ(both.COnAnimation::names, Journal{"animation hero"});

    CMulticast<Kind::LeaveWorld>::Unsubscribe(&both);
    EXPECT_FALSE(CMulticast<Kind::LeaveWorld>::IsSubscribed(&both));
    EXPECT_TRUE(CMulticast<Kind::AnimationComplete>::IsSubscribed(&both));
    // Destroying "both" takes it off AnimationComplete too.
}

TEST(MulticastThreadTest, OtherThreadsMaySubscribeWhilePublishing)
{
    using Tick = CMulticastOf<Kind::Tick>;
    struct CCounter : CSubscriberOf<Kind::Tick>
    {
        bool OnEvent(const Simulation::Multicast::CEvtTick&) override
        {
            calls.fetch_add(1);
            return false;
        }
        std::atomic<int> calls{0};
    };
    CCounter steady;
    std::vector<CCounter> churn(8);
    Tick::Subscribe(&steady, 0);

    std::atomic<bool> stop{false};
    std::thread other(
        [&]
        {
            while (!stop.load())
            {
                for (auto& counter : churn)
                    Tick::Subscribe(&counter, 1);
                for (auto& counter : churn)
                    Tick::Unsubscribe(&counter);
            }
        });
    for (int i = 0; i < 2000; ++i)
        Tick::Publish(Simulation::Multicast::CEvtTick{nullptr, uint32_t(i), 0});
    stop = true;
    other.join();

    EXPECT_EQ(steady.calls.load(), 2000);
    Tick::Unsubscribe(&steady);
}

namespace
{

// A subscriber whose handler uses its own members, as an engine class does,
// and which unsubscribes in its own destructor. It notes a call that comes
// after its Unsubscribe returned; ASan catches one after its members went.
class CWorker : public CSubscriberOf<Kind::Tick>
{
public:
    explicit CWorker(std::atomic<int>& lateCalls) : m_lateCalls(lateCalls), m_name("worker"), m_data(32, 1)
    {
        CMulticastOf<Kind::Tick>::Subscribe(this, 0);
    }
    ~CWorker() override
    {
        CMulticastOf<Kind::Tick>::Unsubscribe(this);
        m_unsubscribed.store(true);
    }

    bool OnEvent(const Simulation::Multicast::CEvtTick& tick) override
    {
        if (m_unsubscribed.load())
            m_lateCalls.fetch_add(1);
        uint32_t sum = tick.time;
        for (int round = 0; round < 20; ++round)
        {
            for (const int value : m_data)
                sum += static_cast<uint32_t>(value) + static_cast<uint32_t>(m_name.size());
        }
        m_sum += sum;
        return false;
    }

private:
    std::atomic<int>& m_lateCalls;
    std::atomic<bool> m_unsubscribed{false};
    std::string m_name;
    std::vector<int> m_data;
    uint32_t m_sum = 0;
};

} // namespace

TEST(MulticastThreadTest, SubscribersDestroyedOnAnotherThreadAreNotCalledAfterwards)
{
    using Tick = CMulticastOf<Kind::Tick>;
    std::atomic<int> lateCalls{0};
    std::atomic<bool> stop{false};
    std::atomic<int> publications{0};
    std::thread publisher(
        [&]
        {
            for (uint32_t time = 0; !stop.load(); ++time)
            {
                Tick::Publish(Simulation::Multicast::CEvtTick{nullptr, time, 0});
                publications.fetch_add(1);
            }
        });

    // Batches of workers come and go while the other thread publishes; each
    // batch lives through a few publications. Every third batch is a single
    // worker: a channel's only subscriber is delivered to without the list.
    for (int batch = 0; batch < 450; ++batch)
    {
        std::vector<std::unique_ptr<CWorker>> workers;
        const int size = batch % 3 == 2 ? 1 : 8;
        for (int i = 0; i < size; ++i)
            workers.push_back(std::make_unique<CWorker>(lateCalls));
        const int seen = publications.load();
        while (publications.load() < seen + 2)
            std::this_thread::yield();
        // Half of them go in reverse order, so removals hit every position.
        if (batch % 2 == 0)
            std::reverse(workers.begin(), workers.end());
        workers.clear();
        // A few publications to nobody before the next batch.
        const int afterwards = publications.load();
        while (publications.load() < afterwards + 2)
            std::this_thread::yield();
    }
    stop = true;
    publisher.join();
    EXPECT_EQ(lateCalls.load(), 0);
}

TEST(MulticastThreadTest, UnsubscribeWaitsForTheCallInFlightOnAnotherThread)
{
    using Tick = CMulticastOf<Kind::Tick>;
    struct CBlocking : CSubscriberOf<Kind::Tick>
    {
        bool OnEvent(const Simulation::Multicast::CEvtTick&) override
        {
            entered = true;
            while (!release.load())
                std::this_thread::yield();
            finished = true;
            return true;
        }
        std::atomic<bool> entered{false};
        std::atomic<bool> release{false};
        std::atomic<bool> finished{false};
    } blocking;
    Tick::Subscribe(&blocking, 0);

    std::thread publisher([] { Tick::Publish(Simulation::Multicast::CEvtTick{nullptr, 1, 0}); });
    while (!blocking.entered.load())
        std::this_thread::yield();

    bool finishedWhenReturned = false;
    std::thread unsubscriber(
        [&]
        {
            Tick::Unsubscribe(&blocking);
            finishedWhenReturned = blocking.finished.load();
        });
    // Once the entry is gone the unsubscriber is inside Unsubscribe: only now
    // may the handler go on.
    while (Tick::IsSubscribed(&blocking))
        std::this_thread::yield();
    blocking.release = true;
    unsubscriber.join();
    publisher.join();
    EXPECT_TRUE(finishedWhenReturned) << "Unsubscribe returned while the handler still ran";
}

TEST(MulticastThreadTest, DeeplyNestedPublicationsAreTracked)
{
    // Nesting deeper than one block of delivery slots: an unsubscribe from
    // another thread still waits for the innermost call.
    using User = CMulticastOf<Kind::UserEvent>;
    struct CNester : CSubscriberOf<Kind::UserEvent>
    {
        bool OnEvent(const CEvtUser&) override
        {
            if (++depth < 40)
                User::Publish(CEvtUser{"nested", nullptr});
            else
            {
                deepest = true;
                while (!release.load())
                    std::this_thread::yield();
            }
            return false;
        }
        int depth = 0;
        std::atomic<bool> deepest{false};
        std::atomic<bool> release{false};
    } nester;
    User::Subscribe(&nester, 0);
    std::thread publisher([] { User::Publish(CEvtUser{"outer", nullptr}); });
    while (!nester.deepest.load())
        std::this_thread::yield();
    std::atomic<bool> returned{false};
    std::thread unsubscriber(
        [&]
        {
            User::Unsubscribe(&nester);
            returned = true;
        });
    while (User::IsSubscribed(&nester))
        std::this_thread::yield();
    EXPECT_FALSE(returned.load());
    nester.release = true;
    unsubscriber.join();
    publisher.join();
    EXPECT_TRUE(returned.load());
    EXPECT_EQ(nester.depth, 40);
}

TEST(MulticastThreadTest, EndingTheProcessFromAHandlerDoesNotWaitForItself)
{
    // exit() gives the thread's records back and then destroys the static
    // subscriber whose call is still running on this very thread.
    EXPECT_EXIT(
        {
            struct CExiting : CSubscriberOf<Kind::UserEvent>
            {
                ~CExiting() override { CMulticastOf<Kind::UserEvent>::Unsubscribe(this); }
                bool OnEvent(const CEvtUser&) override { std::exit(7); }
            };
            static CExiting exiting;
            CMulticastOf<Kind::UserEvent>::Subscribe(&exiting, 0);
            CMulticastOf<Kind::UserEvent>::Publish(CEvtUser{"bye", nullptr});
        },
        ::testing::ExitedWithCode(7), "");
}
