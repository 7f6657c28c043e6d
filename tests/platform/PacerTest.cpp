#include "platform/Pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Pacer, FiresOnScheduleAndCoalescesMissedFirings)
{
    Platform::CPacer pacer;
    EXPECT_FALSE(pacer.WaitFor(0)); // closed
    pacer.Set(0, 200);              // ignored while closed
    EXPECT_FALSE(pacer.WaitFor(0));

    pacer.Open();
    EXPECT_FALSE(pacer.WaitFor(0)); // open but not set

    pacer.Set(0, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(450)); // three firings pass
    EXPECT_TRUE(pacer.WaitFor(0));
    EXPECT_FALSE(pacer.WaitFor(0)); // they counted as one
    EXPECT_TRUE(pacer.WaitFor(5000));

    pacer.Set(10, 0); // one-shot
    EXPECT_TRUE(pacer.Wait());
    EXPECT_FALSE(pacer.WaitFor(50));
}

TEST(Pacer, CloseWakesAWaiter)
{
    Platform::CPacer pacer;
    pacer.Open();
    pacer.Set(3600000, 0);
    bool result = true;
    std::thread waiter([&] { result = pacer.Wait(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pacer.Close();
    waiter.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(pacer.IsOpen());
}
