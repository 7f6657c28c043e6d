#include "core/foundation/Thread.h"

CWaitableTimer::~CWaitableTimer()
{
    Close();
}

bool CWaitableTimer::Create(uint32_t dueMs, uint32_t periodMs)
{
    m_dueTime = dueMs;
    m_period = periodMs;
    if (!m_pacer.IsOpen())
        m_pacer.Open();
    Set(dueMs, periodMs);
    return m_pacer.IsOpen();
}

void CWaitableTimer::Set(uint32_t dueMs, uint32_t periodMs)
{
    if (!m_pacer.IsOpen())
        return;
    m_dueTime = dueMs;
    m_period = periodMs;
    m_pacer.Set(dueMs, periodMs);
}

bool CWaitableTimer::Wait(uint32_t timeoutMs)
{
    return timeoutMs == 0 ? m_pacer.Wait() : m_pacer.WaitFor(timeoutMs);
}

void CWaitableTimer::Close()
{
    m_pacer.Close();
}

CThread::~CThread()
{
    Stop();
    // Destroyed by its own worker: the worker ends by itself.
    if (m_thread.joinable())
        m_thread.detach();
}

bool CThread::RestartRunning(uint32_t dueMs, uint32_t periodMs, IThreadListener* listener)
{
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (!m_running || m_ending)
        return false;
    m_stop = false;
    m_listener = listener;
    Create(dueMs, periodMs); // a new schedule: the worker sees it after its wait
    return true;
}

bool CThread::Start(uint32_t dueMs, uint32_t periodMs, int32_t priority, IThreadListener* listener)
{
    (void)priority; // thread priorities are left to the system
    if (IsWorker())
        return RestartRunning(dueMs, periodMs, listener); // an ending worker cannot start its successor

    std::lock_guard<std::mutex> control(m_controlMutex);
    if (RestartRunning(dueMs, periodMs, listener))
        return true;

    // No worker, or one that is ending: let it finish, then start anew.
    if (m_thread.joinable())
        m_thread.join();
    m_stop = false;
    m_listener = listener;
    m_ending = false;
    Create(dueMs, periodMs);
    m_running = true;
    m_thread = std::thread(&CThread::Run, this);
    return true;
}

void CThread::Stop(uint32_t timeoutMs)
{
    (void)timeoutMs;
    if (IsWorker())
    {
        // The worker cannot wait for itself: it leaves its loop after this.
        m_stop = true;
        Close();
        return;
    }
    std::lock_guard<std::mutex> control(m_controlMutex);
    m_stop = true;
    Close();
    if (m_thread.joinable())
        m_thread.join();
}

void CThread::Run()
{
    m_workerId = std::this_thread::get_id();
    OnThreadStart();
    for (;;)
    {
        // Which schedule fired is read with the firing itself: a Start that
        // reset the timer before it is already followed, one after it means
        // the worker must not end on this firing's answers.
        uint64_t schedule = 0;
        const bool fired = WaitForFiring(schedule);
        const bool keep = fired && !m_stop && OnTimer();
        if (GetPeriod() != 0 && keep)
            continue;
        if (m_stop)
            break;
        if (OnIdle())
            continue;
        {
            std::lock_guard<std::mutex> state(m_stateMutex);
            if (fired && GetSchedule() != schedule)
                continue; // Start reset the timer meanwhile: follow the new schedule
            m_ending = true;
        }
        if (!m_stop && m_listener != nullptr)
            m_listener->OnThreadComplete(this);
        break;
    }
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        m_ending = true;
    }
    OnThreadEnd();
    Close();
    m_stop = true;
    m_workerId = std::thread::id();
    m_running = false;
}
