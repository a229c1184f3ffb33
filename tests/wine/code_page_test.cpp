#include "update/code_page.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kGbk = 936;

TEST(TextToUtf16Test, EndsWithOneZeroUnit)
{
    const struct {
        const char* what;
        const char* text;
        std::string utf16;
    } cases[] = {
        {"one Chinese character", "\xE4\xB8\xAD", std::string("\x2D\x4E\x00\x00", 4)},
        {"ASCII", "ab", std::string("a\0b\0\0\0", 6)},
        {"empty text", "", std::string("\0\0", 2)},
        {"missing text", nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToUtf16(c.text), c.utf16) << c.what;
}

TEST(TextToUtf16Test, ReadsTheCodePageGiven)
{
    EXPECT_EQ(TextToUtf16("\xD6\xD0", kGbk), std::string("\x2D\x4E\x00\x00", 4));
}

TEST(Utf16ToTextTest, StopsAtTheFirstZeroUnit)
{
    const std::string units("\x2D\x4E\x00\x00\x87\x65\x00\x00", 8);
    EXPECT_EQ(Utf16ToText(units, kGbk), "\xD6\xD0");
}

TEST(Utf16ToTextTest, EmptyOrUnterminatedInput)
{
    EXPECT_EQ(Utf16ToText(""), "");
    EXPECT_EQ(Utf16ToText(std::string("\0\0", 2)), "");
    // Without its zero unit the array is read up to its end, never past it.
    EXPECT_EQ(Utf16ToText(std::string("\x2D\x4E\x87\x65", 4), kGbk), "\xD6\xD0\xCE\xC4");
}

TEST(Utf8ToGbkTest, ConvertsChineseAndKeepsAscii)
{
    const struct {
        const char* what;
        const char* utf8;
        const char* gbk;
    } cases[] = {
        {"中文", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {"ASCII", "<a b=\"3.3\"/>\r\n", "<a b=\"3.3\"/>\r\n"},
        {"a Thai letter becomes the default character", "a\xE0\xB8\x81" "b\xE4\xB8\xAD", "a?b\xD6\xD0"},
        {"empty", "", ""},
        {"missing", nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.what;
}

}  // namespace
