#include "shell/gbk_text.h"

#include <gtest/gtest.h>

namespace {

// "乗" is 81 5C in GBK: its second byte is a backslash.
constexpr const char* kTrailBackslashChar = "\x81\x5C";

struct SplitCase {
    std::string path;
    std::string head;
    std::string tail;
};

class SplitAtLastBackslashTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitAtLastBackslashTest, SplitsAtTheLastRealBackslash)
{
    const SplitCase& c = GetParam();
    const PathSplit split = SplitAtLastBackslash(c.path);
    EXPECT_EQ(split.head, c.head);
    EXPECT_EQ(split.tail, c.tail);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitAtLastBackslashTest,
    testing::Values(SplitCase{"C:\\Tools\\Vantry.exe", "C:\\Tools", "Vantry.exe"},
                    SplitCase{"C:\\Vantry.exe", "C:", "Vantry.exe"},
                    SplitCase{"Start", "", "Start"},
                    SplitCase{"", "", ""},
                    SplitCase{"SYSTEM\\Key\\", "SYSTEM\\Key", ""},
                    // The 0x5C inside the double-byte character is no separator.
                    SplitCase{std::string("C:\\dir") + kTrailBackslashChar + "\\a.exe",
                              std::string("C:\\dir") + kTrailBackslashChar, "a.exe"},
                    SplitCase{std::string("C:\\") + kTrailBackslashChar + "name",
                              "C:", std::string(kTrailBackslashChar) + "name"},
                    SplitCase{std::string("key") + kTrailBackslashChar, "",
                              std::string("key") + kTrailBackslashChar},
                    // A lead byte at the very end takes nothing with it.
                    SplitCase{"a\\b\x81", "a", "b\x81"}));

TEST(ReplaceGbkCharTest, LeavesSecondBytesAlone)
{
    const std::string text = std::string("C:\\") + kTrailBackslashChar + "\\Vantry.exe";
    EXPECT_EQ(ReplaceGbkChar(text, '\\', '/'), std::string("C:/") + kTrailBackslashChar + "/Vantry.exe");
}

TEST(FindLastGbkCharTest, ReportsNposWhenOnlySecondBytesMatch)
{
    EXPECT_EQ(FindLastGbkChar(kTrailBackslashChar, '\\'), std::string_view::npos);
    EXPECT_EQ(FindLastGbkChar("a\\b\\c", '\\'), 3u);
}

}  // namespace
