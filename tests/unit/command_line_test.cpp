#include "updater/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tokens = std::vector<std::string>;

TEST(SplitCommandLineTest, SplitsTokensAfterProgramName)
{
    const struct {
        const char* why;
        std::string line;
        Tokens tokens;
    } cases[] = {
        {"empty line", "", {}},
        {"name only", "update.exe", {}},
        {"quoted name only", "\"C:\\Vantry\\升级文件\\update.exe\"", {}},
        {"name and blanks", "update.exe   ", {}},
        {"launch line",
         "\"C:\\Program Files\\Vantry\\升级文件\\update.exe\" 授权标记 http://example.com/v.zip "
         "Vantry 运行 Vantry.exe Vantry.exe 修复 若干 问题",
         {"授权标记", "http://example.com/v.zip", "Vantry", "运行", "Vantry.exe", "Vantry.exe", "修复",
          "若干", "问题"}},
        {"empty trailing arguments", "update.exe 授权标记 http://h/v.zip Vantry 运行 Vantry.exe  ",
         {"授权标记", "http://h/v.zip", "Vantry", "运行", "Vantry.exe"}},
        {"unquoted name with a blank", "C:\\My Tools\\update.exe 授权标记", {"Tools\\update.exe", "授权标记"}},
        {"unquoted name ends only at a blank", "update.exe\t授权标记 a", {"a"}},
        {"unquoted name keeps its quotes", "up\"d a\" b", {"a", " b"}},
        {"quoted name without closing quote", "\"C:\\a b\\update.exe x y", {}},
        {"token right after quoted name", "\"update.exe\"a b", {"a", "b"}},
        {"quoted token with blanks", "update.exe \"下载 管理\" x", {"下载 管理", "x"}},
        {"empty quotes", "update.exe \"\" x", {"", "x"}},
        {"empty quotes between words", "update.exe a\"\"b", {"a", "", "b"}},
        {"quote ends an unquoted token", "update.exe a\"b c\"d", {"a", "b c", "d"}},
        {"lone quote at the end", "update.exe a \"", {"a", ""}},
        {"quoted token without closing quote", "update.exe \"a b", {"a b"}},
        {"tabs and control bytes separate", "update.exe \ta\x01"
                                            "b\r\n c\x7F",
         {"a", "b", "c\x7F"}},
        {"backslashes are ordinary", "update.exe a\\\"b\\\" c", {"a\\", "b\\", "c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(SplitCommandLine(c.line), c.tokens);
    }
}

TEST(SplitCommandLineTest, KeepsDoubleByteCharactersWhole)
{
    const struct {
        const char* why;
        std::string line;
        Tokens tokens;
    } cases[] = {
        {"second byte blank", "update.exe \x81 x y", {"\x81 x", "y"}},
        {"second byte quote", "update.exe \x81\"x y", {"\x81\"x", "y"}},
        {"second byte quote inside quotes", "update.exe \"a\x81\" b\" c", {"a\x81\" b", "c"}},
        {"second byte control", "update.exe a\x81\x01"
                                "b c",
         {"a\x81\x01"
          "b",
          "c"}},
        {"second byte quote in quoted name", "\"up\x81\"date.exe\" a", {"a"}},
        {"second byte blank in unquoted name", "up\x81 date.exe a", {"a"}},
        {"lead byte at the end of a token", "update.exe ab\x81", {"ab"}},
        {"lead byte at the end of a quoted token", "update.exe \"a b\x81", {"a b"}},
        {"lead byte alone at the end", "update.exe a \x81", {"a", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(SplitCommandLine(c.line), c.tokens);
    }
}

}  // namespace
