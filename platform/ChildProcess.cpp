#include "platform/ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace Platform
{

namespace
{

// The descriptors the child talks on.
constexpr int kChildReads = 3;
constexpr int kChildWrites = 4;
// The capacity asked for each pipe.
constexpr int kPipeBytes = 1024 * 1024;

using CClock = std::chrono::steady_clock;

int RemainingMs(CClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CClock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

// Writing to a pipe whose reader is gone raises SIGPIPE, which would end the
// parent: blocked while this thread writes, and a SIGPIPE that the write
// raised is taken back before the mask is restored.
class CSigPipeBlock
{
public:
    CSigPipeBlock()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
        sigset_t pending;
        sigpending(&pending);
        m_pendingBefore = sigismember(&pending, SIGPIPE) == 1;
    }
    ~CSigPipeBlock()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!m_pendingBefore && sigismember(&pending, SIGPIPE) == 1)
        {
            const timespec now{0, 0};
            while (sigtimedwait(&m_set, nullptr, &now) < 0 && errno == EINTR)
            {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    CSigPipeBlock(const CSigPipeBlock&) = delete;
    CSigPipeBlock& operator=(const CSigPipeBlock&) = delete;

private:
    sigset_t m_set;
    sigset_t m_old;
    bool m_pendingBefore = false;
};

void CloseDescriptor(int& descriptor)
{
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
}

// A pipe whose ends are above the descriptors the child's are copied to,
// so that no copy lands on its own number (which would keep close-on-exec).
bool HighPipe(int (&ends)[2])
{
    int low[2];
    if (::pipe2(low, O_CLOEXEC) != 0)
        return false;
    ends[0] = ::fcntl(low[0], F_DUPFD_CLOEXEC, 10);
    ends[1] = ::fcntl(low[1], F_DUPFD_CLOEXEC, 10);
    ::close(low[0]);
    ::close(low[1]);
    if (ends[0] < 0 || ends[1] < 0)
    {
        CloseDescriptor(ends[0]);
        CloseDescriptor(ends[1]);
        return false;
    }
    return true;
}

bool SetLimit(pid_t pid, __rlimit_resource resource, rlim_t value)
{
    const rlimit limit{value, value};
    return ::prlimit(pid, resource, &limit, nullptr) == 0;
}

} // namespace

CChildProcess::~CChildProcess()
{
    Stop();
}

bool CChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                          const SLimits& limits)
{
    Stop();
    int toChild[2] = {-1, -1};
    int fromChild[2] = {-1, -1};
    if (!HighPipe(toChild))
        return false;
    if (!HighPipe(fromChild))
    {
        CloseDescriptor(toChild[0]);
        CloseDescriptor(toChild[1]);
        return false;
    }

    std::vector<std::string> strings{program};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : strings)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], kChildReads);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], kChildWrites);
    posix_spawn_file_actions_addclosefrom_np(&actions, kChildWrites + 1);
    // The child starts with no signal blocked or ignored, whatever the
    // parent's threads do with them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = 0;
    const int started = ::posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    CloseDescriptor(toChild[0]);
    CloseDescriptor(fromChild[1]);
    if (started != 0)
    {
        CloseDescriptor(toChild[1]);
        CloseDescriptor(fromChild[0]);
        return false;
    }
    m_pid = child;
    m_toChild = toChild[1];
    m_fromChild = fromChild[0];
    ::fcntl(m_toChild, F_SETFL, ::fcntl(m_toChild, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_fromChild, F_SETFL, ::fcntl(m_fromChild, F_GETFL) | O_NONBLOCK);
    // Large pipes take a whole message of a few hundred kilobytes in one
    // write, without a wait for the other side to read each 64 KB (a
    // wake-up of each process every time). The system may grant less.
    ::fcntl(m_toChild, F_SETPIPE_SZ, kPipeBytes);
    ::fcntl(m_fromChild, F_SETPIPE_SZ, kPipeBytes);

    // The limits hold before the child is sent a byte to work on.
    bool limited = SetLimit(child, RLIMIT_CORE, 0) && SetLimit(child, RLIMIT_FSIZE, 0);
    if (limited && limits.addressSpaceBytes != 0)
        limited = SetLimit(child, RLIMIT_AS, limits.addressSpaceBytes);
    if (limited && limits.cpuSeconds != 0)
        limited = SetLimit(child, RLIMIT_CPU, limits.cpuSeconds);
    if (limited && limits.openFiles != 0)
        limited = SetLimit(child, RLIMIT_NOFILE, limits.openFiles);
    if (!limited)
    {
        Stop();
        return false;
    }
    return true;
}

CChildProcess::EResult CChildProcess::Write(const void* data, size_t size, uint32_t timeoutMs)
{
    return Write(data, size, nullptr, 0, timeoutMs);
}

CChildProcess::EResult CChildProcess::Write(const void* head, size_t headSize, const void* data, size_t size,
                                            uint32_t timeoutMs)
{
    if (m_toChild < 0)
        return EResult::Failed;
    const CClock::time_point deadline = CClock::now() + std::chrono::milliseconds(timeoutMs);
    iovec pieces[2] = {{const_cast<void*>(head), headSize}, {const_cast<void*>(data), size}};
    iovec* next = pieces;
    int left = 2;
    const CSigPipeBlock block;
    while (left > 0)
    {
        if (next->iov_len == 0)
        {
            ++next;
            --left;
            continue;
        }
        const ssize_t written = ::writev(m_toChild, next, left);
        if (written > 0)
        {
            size_t taken = static_cast<size_t>(written);
            while (left > 0 && taken >= next->iov_len)
            {
                taken -= next->iov_len;
                ++next;
                --left;
            }
            if (left > 0)
            {
                next->iov_base = static_cast<char*>(next->iov_base) + taken;
                next->iov_len -= taken;
            }
            continue;
        }
        if (written < 0 && errno == EPIPE)
            return EResult::Closed;
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            return EResult::Failed;
        pollfd wait{m_toChild, POLLOUT, 0};
        const int ready = ::poll(&wait, 1, RemainingMs(deadline));
        if (ready == 0)
            return EResult::TimedOut;
        if (ready < 0 && errno != EINTR)
            return EResult::Failed;
        if (ready > 0 && (wait.revents & (POLLERR | POLLHUP)) != 0 && (wait.revents & POLLOUT) == 0)
            return EResult::Closed;
    }
    return EResult::Done;
}

CChildProcess::EResult CChildProcess::Read(void* data, size_t size, uint32_t timeoutMs)
{
    if (m_fromChild < 0)
        return EResult::Failed;
    const CClock::time_point deadline = CClock::now() + std::chrono::milliseconds(timeoutMs);
    auto* bytes = static_cast<char*>(data);
    while (size > 0)
    {
        const ssize_t count = ::read(m_fromChild, bytes, size);
        if (count > 0)
        {
            bytes += count;
            size -= static_cast<size_t>(count);
            continue;
        }
        if (count == 0)
            return EResult::Closed;
        if (errno != EAGAIN && errno != EINTR)
            return EResult::Failed;
        pollfd wait{m_fromChild, POLLIN, 0};
        const int ready = ::poll(&wait, 1, RemainingMs(deadline));
        if (ready == 0)
            return EResult::TimedOut;
        if (ready < 0 && errno != EINTR)
            return EResult::Failed;
    }
    return EResult::Done;
}

double CChildProcess::GetCpuSeconds() const
{
    if (m_pid <= 0)
        return 0.0;
    // The child's processor-time clock answers in one call; the process
    // table is read where the system does not offer it.
    clockid_t clock = 0;
    timespec used{};
    if (::clock_getcpuclockid(m_pid, &clock) == 0 && ::clock_gettime(clock, &used) == 0)
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
    std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The program name (field 2) may hold blanks; the fields after it are
    // state, then 10 more before user time (14) and system time (15).
    const size_t end = text.rfind(')');
    if (end == std::string::npos)
        return 0.0;
    std::istringstream fields(text.substr(end + 1));
    std::string field;
    for (int skip = 0; skip < 11 && (fields >> field); ++skip)
    {
    }
    unsigned long long user = 0;
    unsigned long long system = 0;
    if (!(fields >> user >> system))
        return 0.0;
    const long ticks = ::sysconf(_SC_CLK_TCK);
    return ticks > 0 ? static_cast<double>(user + system) / static_cast<double>(ticks) : 0.0;
}

void CChildProcess::Stop()
{
    CloseDescriptor(m_toChild);
    CloseDescriptor(m_fromChild);
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    m_pid = -1;
}

std::string CChildProcess::Finish()
{
    CloseDescriptor(m_toChild);
    CloseDescriptor(m_fromChild);
    if (m_pid <= 0)
        return "not running";
    int status = 0;
    pid_t ended = 0;
    for (int wait = 0; wait < 50 && ended == 0; ++wait)
    {
        ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == 0)
            ::usleep(4000);
        else if (ended < 0 && errno == EINTR)
            ended = 0;
    }
    if (ended == 0)
    {
        ::kill(m_pid, SIGKILL);
        while ((ended = ::waitpid(m_pid, &status, 0)) < 0 && errno == EINTR)
        {
        }
    }
    m_pid = -1;
    if (ended < 0)
        return "unknown end";
    if (WIFEXITED(status))
        return "exit code " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
    {
        const int signal = WTERMSIG(status);
        const char* name = ::strsignal(signal);
        return "signal " + std::to_string(signal) + (name != nullptr ? std::string(" (") + name + ")" : "");
    }
    return "unknown end";
}

bool CChildProcess::ProcessExists(int processId)
{
    return processId > 0 && (::kill(processId, 0) == 0 || errno == EPERM);
}

} // namespace Platform
