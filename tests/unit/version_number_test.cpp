#include "update/version_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double ProgramVersion = 3.2;

TEST(VersionNumberTest, ReadsManifestVersionTexts)
{
    const struct {
        std::string text;
        double number;
        bool newer;
    } cases[] = {
        {"3.3", 3.3, true},
        {"   3.3", 3.3, true},
        {"３．３", 3.3, true},
        {"3.3 正式版 修复问题", 3.3, true},
        {"3.2", 3.2, false},
        {"3.10", 3.1, false},
        {"V3.3", 0, false},
        {"", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const double number = ParseVersionNumber(c.text);
        EXPECT_DOUBLE_EQ(number, c.number);
        EXPECT_EQ(IsNewerVersion(number, ProgramVersion), c.newer);
    }
}

TEST(VersionNumberTest, FollowsDecimalGrammar)
{
    const struct {
        std::string text;
        double number;
    } cases[] = {
        {"\t\n\v\f\r 4", 4},
        {"　３．５", 3.5},
        {"＋３", 3},
        {"－１．５", -1.5},
        {"３Ｅ２", 300},
        {"+.5", 0.5},
        {"7.", 7},
        {"-2.5e-1", -0.25},
        {"3.3E+1x", 33},
        {"4e", 4},
        {"4e+", 4},
        {"4.5.6", 4.5},
        {"1,5", 1},
        {".", 0},
        {"-", 0},
        {"+-1", 0},
        {"e5", 0},
        {"inf", 0},
        {"nan", 0},
        {"0x10", 0},
        {"版本 3.3", 0},
        {"3.3\xA3", 3.3},
        {"\xA3\xA0" "3", 0},
        {"\x81\x33.5", 0},
        {"1e999", HUGE_VAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ParseVersionNumber(c.text), c.number);
    }
}

TEST(VersionNumberTest, NewerOnlyBeyondTolerance)
{
    EXPECT_TRUE(IsNewerVersion(ProgramVersion + 2e-7, ProgramVersion));
    EXPECT_FALSE(IsNewerVersion(ProgramVersion + 0.5e-7, ProgramVersion));
    EXPECT_FALSE(IsNewerVersion(ProgramVersion, ProgramVersion));
    EXPECT_FALSE(IsNewerVersion(3.1, ProgramVersion));
}

}  // namespace
