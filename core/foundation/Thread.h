#pragma once

// Worker threads paced by a waitable timer.

#include "platform/Pacer.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

// A timer that fires after a due time and then every period (0: once).
class CWaitableTimer
{
public:
    CWaitableTimer() = default;
    CWaitableTimer(const CWaitableTimer&) = delete;
    CWaitableTimer& operator=(const CWaitableTimer&) = delete;
    virtual ~CWaitableTimer();

    // Opens the timer when needed and sets it; true when it is open.
    bool Create(uint32_t dueMs, uint32_t periodMs);
    // Restarts the schedule of an open timer.
    void Set(uint32_t dueMs, uint32_t periodMs);
    // Waits for the timer to fire, at most timeoutMs (0: without limit);
    // false when the time ran out or the timer is or gets closed.
    bool Wait(uint32_t timeoutMs);
    // Closes the timer; a thread waiting on it wakes at once.
    void Close();

    uint32_t GetPeriod() const { return m_period.load(); }

protected:
    // Waits without a time limit, as Wait(0), and tells which schedule
    // fired: every Create or Set starts a new one.
    bool WaitForFiring(uint64_t& schedule) { return m_pacer.Wait(&schedule); }
    // The schedule that the last Create or Set started.
    uint64_t GetSchedule() const { return m_pacer.GetSchedule(); }

private:
    Platform::CPacer m_pacer;
    std::atomic<uint32_t> m_dueTime{0};
    std::atomic<uint32_t> m_period{0};
};

class CThread;

// Told, on the worker, when a worker ends by itself (not through Stop). It
// must not destroy the thread object.
class IThreadListener
{
public:
    virtual ~IThreadListener() = default;
    virtual void OnThreadComplete(CThread* thread) = 0;
};

// A worker thread: after OnThreadStart it waits for its timer and calls
// OnTimer at each firing. It keeps going while the timer is periodic and
// OnTimer returns true; otherwise OnIdle decides, and when that says no the
// thread ends (telling the listener, unless it was stopped).
//
// Stop never kills the worker: it sets the stop flag, wakes the timer wait
// and joins. A class that derives from CThread must call Stop in its own
// destructor, so that the worker is gone before the derived part is.
class CThread : public CWaitableTimer
{
public:
    CThread() = default;
    ~CThread() override;

    // Clears the stop flag, sets the timer and starts the worker unless one
    // is running (then only the timer is reset). The priority is accepted
    // and not used. Returns whether a worker runs.
    bool Start(uint32_t dueMs, uint32_t periodMs, int32_t priority, IThreadListener* listener);

    // Stops the worker and waits until it has ended. The timeout is accepted
    // for compatibility: a worker is never terminated, so the wait lasts
    // until the current OnTimer returns. Called from the worker itself, it
    // only asks the worker to end.
    void Stop(uint32_t timeoutMs = 0xFFFFFFFFu);

    bool IsRunning() const { return m_running.load(); }
    bool IsStopping() const { return m_stop.load(); }

protected:
    virtual void OnThreadStart() {}
    virtual void OnThreadEnd() {}
    // Called each time the timer fires; returns whether to keep going.
    virtual bool OnTimer() = 0;
    // Asked when the worker would end; true keeps it going.
    virtual bool OnIdle() { return false; }

private:
    void Run();
    bool IsWorker() const { return m_workerId.load() == std::this_thread::get_id(); }
    // Resets the schedule of the running worker; false when it is ending.
    bool RestartRunning(uint32_t dueMs, uint32_t periodMs, IThreadListener* listener);

    std::atomic<bool> m_stop{false};
    std::atomic<std::thread::id> m_workerId{};
    std::atomic<bool> m_running{false};
    IThreadListener* m_listener = nullptr;

    std::mutex m_controlMutex; // serialises Start and Stop
    std::thread m_thread;

    // Guards the worker's decision to end against a concurrent Start that
    // resets the timer of the running worker.
    std::mutex m_stateMutex;
    bool m_ending = false;
};
