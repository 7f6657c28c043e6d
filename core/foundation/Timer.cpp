#include "core/foundation/Timer.h"

#include "platform/Clock.h"

CTimer::CTimer()
{
    Init();
}

void CTimer::Init()
{
    Platform::GetMilliseconds();
}

uint64_t CTimer::GetTime() const
{
    return Platform::GetMilliseconds();
}
