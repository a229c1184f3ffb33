#include "shell/message_box_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ButtonIndexOfTest, MapsEveryResultOfABoxWithSeveralButtons)
{
    const struct {
        int result;
        int index;
    } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6},
                 {0, 0}, {8, 0}, {-1, 0}, {32000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ButtonIndexOf(c.result, kBoxOkCancel | kBoxIconInformation), c.index) << "result " << c.result;
}

TEST(ButtonIndexOfTest, ABoxWithOnlyOkAlwaysGivesOk)
{
    for (std::uint32_t flags : {kBoxOk, kBoxIconError, kBoxIconInformation})
        for (int result : {1, 2, 0})
            EXPECT_EQ(ButtonIndexOf(result, flags), kBoxIndexOk) << flags << " " << result;
}

TEST(WithTaskModalTest, AddsTaskModalUnlessSystemModal)
{
    EXPECT_EQ(WithTaskModal(65), 65u | 0x2000u);
    EXPECT_EQ(WithTaskModal(0), 0x2000u);
    EXPECT_EQ(WithTaskModal(0x1000 | 16), 0x1000u | 16u);
}

}  // namespace
