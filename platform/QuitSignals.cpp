#include "platform/QuitSignals.h"

#include <csignal>

namespace Platform
{

namespace
{

volatile std::sig_atomic_t g_received = 0;

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void OnQuitSignal(int signal)
{
    if (g_received != 0)
    {
        // The second request: end now, by the signal itself.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_received = signal;
}

} // namespace

void CQuitSignals::Install()
{
    struct sigaction action = {};
    action.sa_handler = &OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // System calls go on after the handler: the loop polls the request.
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

int CQuitSignals::Received()
{
    return g_received;
}

} // namespace Platform
