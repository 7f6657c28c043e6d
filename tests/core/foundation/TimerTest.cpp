#include "core/foundation/Timer.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(Timer, MillisecondsKeepFullPrecisionAtLongUptimes)
{
    uint64_t now = 0;
    Platform::SetClockSource([&now] { return now; });
    CTimer timer;
    for (const uint64_t value :
         {uint64_t{0}, uint64_t{16777217}, uint64_t{4294967297}, uint64_t{500000000001}})
    {
        now = value;
        EXPECT_EQ(timer.GetTime(), value);
    }
    Platform::SetClockSource(nullptr);
}
