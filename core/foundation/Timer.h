#pragma once

#include <cstdint>

// The program's clock: milliseconds since start-up, counted in 64 bits so
// that it keeps whole-millisecond precision however long the program runs.
// Callers that keep 32-bit times narrow the value last.
class CTimer
{
public:
    CTimer();

    // Anchors the clock (start-up is the first time it is read).
    void Init();
    uint64_t GetTime() const;
};
