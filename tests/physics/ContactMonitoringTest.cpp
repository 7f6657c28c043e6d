// Contacts of monitored entities become collision-enter and collision-exit
// events, one of each per contact, whatever the number of sub-steps in an
// update.
#include "PhysicsTest.h"

#include "core/events/Multicast.h"

#include <map>
#include <string>
#include <vector>

using namespace Misc::Multicast;

namespace
{

// The enter and exit events in the order they came.
class CContactLog : public CSubscriberOf<Kind::CollisionEnter>
{
public:
    struct SExit : CSubscriberOf<Kind::CollisionExit>
    {
        explicit SExit(CContactLog& owner) : log(owner) {}
        bool OnEvent(const CEvtEntityPair& event) override
        {
            log.events.push_back("exit " + event.nameA + " " + event.nameB);
            return false;
        }
        CContactLog& log;
    };

    CContactLog()
    {
        CMulticastOf<Kind::CollisionEnter>::Subscribe(this, 0);
        CMulticastOf<Kind::CollisionExit>::Subscribe(&m_exit, 0);
    }
    ~CContactLog() override
    {
        CMulticastOf<Kind::CollisionEnter>::Unsubscribe(this);
        CMulticastOf<Kind::CollisionExit>::Unsubscribe(&m_exit);
    }
    bool OnEvent(const CEvtEntityPair& event) override
    {
        events.push_back("enter " + event.nameA + " " + event.nameB);
        return false;
    }
    int Count(const std::string& what) const
    {
        int count = 0;
        for (const std::string& event : events)
            count += event == what ? 1 : 0;
        return count;
    }

    std::vector<std::string> events;

private:
    SExit m_exit{*this};
};

using ContactMonitoringTest = CPhysicsTest;

} // namespace

TEST_F(ContactMonitoringTest, EveryLandingEntersOnceAndEveryLiftExitsOnce)
{
    struct SCase
    {
        uint32_t period;
        int32_t mode;
    };
    // 50 ms updates at a minimum rate of 30 run two sub-steps each: a
    // contact first seen in the first one is seen again before the flush.
    for (const SCase c : {SCase{16, 1}, SCase{16, 2}, SCase{50, 1}, SCase{50, 2}})
    {
        SCOPED_TRACE("period " + std::to_string(c.period) + " mode " + std::to_string(c.mode));
        entities.clear();
        Init();
        CPhysicalTestEntity& ground = AddGround();
        std::vector<CPhysicalTestEntity*> boxes;
        for (int i = 0; i < 24; ++i)
        {
            CPhysicalTestEntity& box =
                Add(1.0f, CVector(-7.5f + 3.0f * (i % 6), 0.6f + 0.07f * i, -6.0f + 3.0f * (i / 6)));
            box.MonitorCollisions(c.mode);
            boxes.push_back(&box);
        }
        CContactLog log;
        Run(1500 / c.period, c.period);
        for (CPhysicalTestEntity* box : boxes)
        {
            EXPECT_EQ(log.Count("enter " + std::string(box->GetId()) + " " + ground.GetId()), 1);
            box->SetPosition(CVector(box->GetPosition().x, 10.0f, box->GetPosition().z));
        }
        EXPECT_EQ(log.events.size(), boxes.size()) << "nothing but the landings";
        Run(3, c.period);
        for (CPhysicalTestEntity* box : boxes)
            EXPECT_EQ(log.Count("exit " + std::string(box->GetId()) + " " + ground.GetId()), 1);
        EXPECT_EQ(log.events.size(), 2 * boxes.size());
    }
}

TEST_F(ContactMonitoringTest, EnterAfterTheFirstUpdateExitAfterTheFirstWithout)
{
    CPhysicalTestEntity& ground = AddGround();
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 0.5f, 0));
    box.SetAutoDeactivation(false);
    box.MonitorCollisions(1);
    CContactLog log;
    const std::string pair = std::string(box.GetId()) + " " + ground.GetId();
    Run(1);
    EXPECT_TRUE(log.events.empty()) << "queued until the next step";
    Run(2);
    ASSERT_EQ(log.events, std::vector<std::string>{"enter " + pair});
    box.SetPosition(CVector(0, 10, 0));
    // The first update without contact ends it; its exit comes at the step
    // after.
    Run(1);
    EXPECT_EQ(log.events.size(), 1u);
    Run(1);
    ASSERT_EQ(log.events, (std::vector<std::string>{"enter " + pair, "exit " + pair}));
    EXPECT_TRUE(box.GetContacts().empty());
}

TEST_F(ContactMonitoringTest, ANonCollidableEntityStillNotesBoxContacts)
{
    CPhysicalTestEntity& ground = AddGround();
    CPhysicalTestEntity& ghost = Add(1.0f, CVector(0, 0.5f, 0));
    ghost.SetCollidable(false);
    ghost.MonitorCollisions(1);
    CContactLog log;
    Run(3);
    EXPECT_EQ(log.Count("enter " + std::string(ghost.GetId()) + " " + ground.GetId()), 1);
    Run(30);
    EXPECT_LT(ghost.GetPosition().y, 0.0f) << "the pair is refused: it falls through";
}

TEST_F(ContactMonitoringTest, MonitoringFollowsTheAttachedAndAwakeBodies)
{
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 0.5f, 0));
    EXPECT_FALSE(engine.IsMonitored(&box));
    box.MonitorCollisions(2);
    EXPECT_TRUE(engine.IsMonitored(&box));
    box.MonitorCollisions(0);
    EXPECT_FALSE(engine.IsMonitored(&box));
    // A detached part stores its mode; a new body takes it up.
    engine.RemoveEntity(&box);
    box.MonitorCollisions(1);
    EXPECT_FALSE(engine.IsMonitored(&box));
    engine.AddEntity(&box);
    EXPECT_TRUE(engine.IsMonitored(&box));
    EXPECT_FALSE(engine.SetMonitored(nullptr, true));
}
