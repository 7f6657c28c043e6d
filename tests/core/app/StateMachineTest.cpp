#include "core/app/StateMachine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using Journal = std::vector<std::string>;

// Notes its run and its deletion; runs an optional action while it runs.
class CJournalState : public CState
{
public:
    CJournalState(const char* name, Journal& journal, std::function<void(CJournalState&)> action = nullptr)
        : m_name(name), m_journal(journal), m_action(std::move(action))
    {
    }
    ~CJournalState() override { m_journal.push_back("deleted " + m_name); }

    std::wstring GetName() const override { return std::wstring(m_name.begin(), m_name.end()); }
    void Run() override
    {
        m_journal.push_back("run " + m_name);
        if (m_action)
            m_action(*this);
        // Still alive after the action, whatever it did to the queue.
        m_journal.push_back("end " + m_name);
    }

private:
    std::string m_name;
    Journal& m_journal;
    std::function<void(CJournalState&)> m_action;
};

TEST(StateMachine, StatesQueuedByARunningStateRunNextInOrder)
{
    Journal journal;
    CStateMachine machine(nullptr);
    CState* running = nullptr;
    machine.Queue(new CJournalState(
        "S1", journal,
        [&](CJournalState& self)
        {
            running = machine.GetRunningState();
            EXPECT_EQ(running, &self);
            machine.Queue(new CJournalState("S3", journal));
            machine.Queue(new CJournalState(
                "S4", journal, [&](CJournalState&) { machine.Queue(new CJournalState("S5", journal)); }));
        }));
    machine.Queue(new CJournalState("S2", journal));
    machine.Queue(nullptr);
    EXPECT_EQ(machine.GetQueueSize(), 2u);

    machine.Run();
    const Journal expected = {"run S1",     "end S1",     "deleted S1", "run S3",     "end S3",
                              "deleted S3", "run S4",     "end S4",     "deleted S4", "run S5",
                              "end S5",     "deleted S5", "run S2",     "end S2",     "deleted S2"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(machine.GetRunningState(), nullptr);
    EXPECT_EQ(machine.GetQueueSize(), 0u);
}

TEST(StateMachine, ResetWhileRunningKeepsTheRunningStateAlive)
{
    Journal journal;
    CStateMachine machine(nullptr);
    machine.Queue(new CJournalState("S1", journal,
                                    [&](CJournalState& self)
                                    {
                                        machine.Queue(new CJournalState("S3", journal));
                                        machine.Reset();
                                        EXPECT_EQ(machine.GetRunningState(), &self);
                                        machine.Queue(new CJournalState("S4", journal));
                                    }));
    machine.Queue(new CJournalState("S2", journal));

    machine.Run();
    // S2 and S3 are deleted by the reset without running; S1 ends its run
    // first and S4, queued after the reset, still runs.
    const Journal expected = {"run S1",     "deleted S3", "deleted S2", "end S1",
                              "deleted S1", "run S4",     "end S4",     "deleted S4"};
    EXPECT_EQ(journal, expected);
}

TEST(StateMachine, ResetWhileIdleDeletesEveryState)
{
    Journal journal;
    {
        CStateMachine machine(nullptr);
        machine.Queue(new CJournalState("S1", journal));
        machine.Queue(new CJournalState("S2", journal));
        machine.Reset();
        EXPECT_EQ(machine.GetQueueSize(), 0u);
        machine.Queue(new CJournalState("S3", journal));
        machine.Run();
        machine.Queue(new CJournalState("never run", journal));
    }
    const Journal expected = {"deleted S1", "deleted S2", "run S3",
                              "end S3",     "deleted S3", "deleted never run"};
    EXPECT_EQ(journal, expected);
}

} // namespace
