#include "PlayClock.h"

#include <gtest/gtest.h>

TEST(PlayClockTest, AdvancesOnlyWhileRunning)
{
    int64_t now = 1000;
    PlayClock clock([&] { return now; });
    clock.Reset();
    now += 500;
    EXPECT_EQ(clock.ElapsedMs(), 0) << "stopped at first";
    clock.SetRunning(true);
    now += 2000;
    EXPECT_EQ(clock.ElapsedMs(), 2000);
    clock.SetRunning(true);
    now += 1000;
    clock.SetRunning(false);
    now += 60'000;
    EXPECT_EQ(clock.ElapsedMs(), 3000);
    clock.SetRunning(true);
    now += 250;
    EXPECT_EQ(clock.ElapsedMs(), 3250);
    clock.Reset();
    EXPECT_TRUE(clock.Running());
    now += 100;
    EXPECT_EQ(clock.ElapsedMs(), 100);
}
