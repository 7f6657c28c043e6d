#include "platform/Thread.h"

#include <gtest/gtest.h>

TEST(Thread, ReportsTheProcessorsAndTheCallingThread)
{
    EXPECT_GE(Platform::GetProcessorCount(), 1u);
    EXPECT_GT(Platform::GetCurrentThreadId(), 0u);
}
