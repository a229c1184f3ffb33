#include "policy/show_mode.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowModeFromNumberTest, ClampsToTheKnownModes)
{
    const struct {
        int number;
        ShowMode mode;
    } cases[] = {{0, ShowMode::Hidden},        {-7, ShowMode::Hidden},
                 {1, ShowMode::Hidden},        {2, ShowMode::Normal},
                 {3, ShowMode::Minimized},     {4, ShowMode::Maximized},
                 {5, ShowMode::NormalNoActivate}, {6, ShowMode::MinimizedNoActivate},
                 {9, ShowMode::MinimizedNoActivate}};
    for (const auto& c : cases)
        EXPECT_EQ(ShowModeFromNumber(c.number), c.mode) << "number " << c.number;
}

}  // namespace
