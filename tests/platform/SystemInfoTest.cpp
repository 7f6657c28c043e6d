#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(SystemInfo, ReportsThisMachine)
{
    EXPECT_EQ(Platform::GetOperatingSystemVersion().rfind("Linux ", 0), 0u);
    const uint32_t total = Platform::GetMemoryTotal();
    const uint32_t free = Platform::GetMemoryFree();
    EXPECT_GT(total, 0u);
    EXPECT_GT(free, 0u);
    EXPECT_LE(free, total);
    (void)Platform::GetProcessorSpeedMHz(); // 0 is allowed where the system does not tell
}
