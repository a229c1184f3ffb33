#include "updater/task_row_text.h"

#include <gtest/gtest.h>

namespace {

TEST(RoundToTest, RoundsHalvesAwayFromZero)
{
    const struct {
        double x;
        int places;
        double rounded;
    } rows[] = {
        {0.0, 2, 0.0},       {1.235, 2, 1.24},   {2.005, 2, 2.01},  {-1.235, 2, -1.24},
        {1.234, 2, 1.23},    {2.5, 0, 3.0},      {-2.5, 0, -3.0},   {1234.567, 2, 1234.57},
        {0.004, 2, 0.0},     {7.0, 3, 7.0},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(RoundTo(row.x, row.places), row.rounded) << row.x << " to " << row.places;
}

TEST(FormatDecimalsTest, PadsToTheNumberOfPlaces)
{
    const struct {
        double x;
        int places;
        const char* text;
    } rows[] = {
        {12.345, 2, "12.35"}, {0.0, 2, "0.00"}, {2.0, 2, "2.00"}, {1.5, 3, "1.500"},
        {1.235, 2, "1.24"},   {7.0, 0, "7"},    {1234567.0, 2, "1234567.00"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatDecimals(row.x, row.places), row.text) << row.x;
}

TEST(TaskRowTextTest, SizeInKilobytesWithUpToTwoDecimals)
{
    EXPECT_EQ(SizeText(1234567), "1234.57K");
    EXPECT_EQ(SizeText(2005), "2.01K");
    EXPECT_EQ(SizeText(2000000), "2000K");
    EXPECT_EQ(SizeText(0), "0K");
}

TEST(TaskRowTextTest, SpeedWithExactlyTwoDecimals)
{
    EXPECT_EQ(SpeedText(12345), "12.35KB/s");
    EXPECT_EQ(SpeedText(1235), "1.24KB/s");
    EXPECT_EQ(SpeedText(1234), "1.23KB/s");
    EXPECT_EQ(SpeedText(0), "0.00KB/s");
}

TEST(TaskRowTextTest, PercentIsTruncated)
{
    EXPECT_EQ(ProgressPercent(512, 2048), 25);
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2, 3), 66);
    EXPECT_EQ(ProgressPercent(2048, 2048), 100);
    EXPECT_EQ(ProgressPercent(5, 0), 0) << "an unknown total shows no progress";
    EXPECT_EQ(ProgressPercent(5, -1), 0);
}

TEST(TaskRowTextTest, ClosesWithoutAskingOnlyWhenTheLogIsEmptyOrEnded)
{
    EXPECT_TRUE(MayCloseWithoutAsking(""));
    EXPECT_TRUE(MayCloseWithoutAsking("执行下载任务1 #传送常量.下载上传开始\r\n #传送常量.下载上传结束\r\n"));
    EXPECT_FALSE(MayCloseWithoutAsking("执行下载任务1"));
    EXPECT_FALSE(MayCloseWithoutAsking("执行下载任务1 #传送常量.下载上传开始\r\n #传送常量.收到数据\r\n"));
}

}  // namespace
