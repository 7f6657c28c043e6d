#pragma once

// The signals that ask a program to end (SIGINT, SIGTERM, SIGHUP), turned
// into a request the main loop sees between ticks, so that the program
// ends as it does when its window is closed. A second such signal ends the
// process at once, as the signal would without the handler. Nothing is
// caught until Install is called (the halvane program does; tests that
// link the engine keep the system's default).

namespace Platform
{

class CQuitSignals
{
public:
    // Catches the three signals from now on.
    static void Install();
    // The first signal caught, or 0.
    static int Received();
};

} // namespace Platform
