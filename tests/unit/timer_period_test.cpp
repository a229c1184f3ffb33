#include "shell/timer_period.h"

#include <gtest/gtest.h>

namespace {

using Change = TimerPeriod::Change;

TEST(TimerPeriodTest, SamePeriodLeavesARunningTimerAlone)
{
    TimerPeriod timer;
    EXPECT_EQ(timer.Set(1000), Change::Restart);
    EXPECT_EQ(timer.Set(1000), Change::None);
    EXPECT_EQ(timer.Period(), 1000);
}

TEST(TimerPeriodTest, ZeroOrNegativeStops)
{
    TimerPeriod timer;
    EXPECT_EQ(timer.Set(0), Change::None);  // never started
    timer.Set(1000);
    EXPECT_EQ(timer.Set(-5), Change::Stop);
    EXPECT_EQ(timer.Period(), 0);
    EXPECT_EQ(timer.Set(0), Change::None);
}

TEST(TimerPeriodTest, NewPeriodRestarts)
{
    TimerPeriod timer;
    timer.Set(1000);
    EXPECT_EQ(timer.Set(500), Change::Restart);
    EXPECT_EQ(timer.Period(), 500);
}

}  // namespace
