#pragma once

// A helper program run as a child process that the parent talks to over two
// pipes and does not trust: it runs under resource limits, every read and
// write has a deadline, and whatever happens to it, it is killed and reaped
// by the time its owner lets go of it (no zombie, no orphan).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Platform
{

class CChildProcess
{
public:
    // Limits set on the child before it is sent anything. Zero leaves a
    // limit as inherited. The child never writes core files or files.
    struct SLimits
    {
        uint64_t addressSpaceBytes = 0;
        uint32_t cpuSeconds = 0;
        uint32_t openFiles = 0;
    };

    enum class EResult
    {
        Done,
        // The child closed its end (it ended, or was killed).
        Closed,
        // The deadline passed first.
        TimedOut,
        Failed,
    };

    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts the program (a path) with the arguments after its name. The
    // child reads what the parent writes on descriptor 3 and writes what the
    // parent reads on descriptor 4; its standard input, output and error
    // are the null device, and it inherits no other descriptor. False when
    // the program cannot be started or limited (nothing is left running).
    bool Start(const std::string& program, const std::vector<std::string>& arguments, const SLimits& limits);

    bool IsStarted() const { return m_pid > 0; }
    int GetProcessId() const { return m_pid; }

    // Writes all bytes, or fails; the deadline is in milliseconds from now.
    EResult Write(const void* data, size_t size, uint32_t timeoutMs);
    // Writes the head and then the data as one message, in as few system
    // calls as the pipe takes them (the other side wakes once for both).
    EResult Write(const void* head, size_t headSize, const void* data, size_t size, uint32_t timeoutMs);
    // Reads exactly size bytes, or fails.
    EResult Read(void* data, size_t size, uint32_t timeoutMs);

    // Processor time the child has used so far, in seconds (0 when unknown).
    double GetCpuSeconds() const;

    // Kills the child (if it still runs) and reaps it.
    void Stop();
    // After the child closed its end: waits a little for it to end, kills
    // it if it has not, reaps it, and tells how it ended ("exit code 3",
    // "signal 11 (Segmentation fault)").
    std::string Finish();

    // Whether a process of that id exists (a test that children are gone).
    static bool ProcessExists(int processId);

private:
    int m_pid = -1;
    int m_toChild = -1;
    int m_fromChild = -1;
};

} // namespace Platform
