#include "shell/number_text.h"

#include <gtest/gtest.h>

namespace {

struct DoubleCase {
    double value;
    const char* text;
};

class FormatDoubleTest : public testing::TestWithParam<DoubleCase> {};

TEST_P(FormatDoubleTest, WritesThirteenSignificantDigits)
{
    EXPECT_EQ(FormatDouble(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatDoubleTest,
                         testing::Values(DoubleCase{3.2, "3.2"}, DoubleCase{3.0, "3"}, DoubleCase{-0.5, "-0.5"},
                                         DoubleCase{0.1 + 0.2, "0.3"}, DoubleCase{1.0 / 3.0, "0.3333333333333"},
                                         DoubleCase{1e13, "1e+13"}, DoubleCase{9999999999999.0, "9999999999999"},
                                         DoubleCase{0.0001, "0.0001"}, DoubleCase{0.00001, "1e-05"}));

TEST(FormatIntegerTest, WritesPlainDecimal)
{
    EXPECT_EQ(FormatInteger(5), "5");
    EXPECT_EQ(FormatInteger(-12), "-12");
    EXPECT_EQ(FormatInteger(0), "0");
}

}  // namespace
