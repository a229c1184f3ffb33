#include "update/updater_command.h"

#include <gtest/gtest.h>

#include "updater/command_line.h"
#include "updater/updater_arguments.h"

namespace {

using Tokens = std::vector<std::string>;

const UpdaterRequest kFullRequest = {"http://example.com/v.zip", "Vantry", "Vantry.exe", "修复问题"};

TEST(UpdaterPathTest, IsBelowTheRunDirectory)
{
    EXPECT_EQ(UpdaterPath("C:\\工具"), "C:\\工具\\升级文件\\update.exe");
}

TEST(BuildUpdaterCommandLineTest, QuotesThePathAndJoinsTheRestWithSingleBlanks)
{
    EXPECT_EQ(BuildUpdaterCommandLine("C:\\Program Files\\Vantry", kFullRequest),
              "\"C:\\Program Files\\Vantry\\升级文件\\update.exe\" 授权标记 http://example.com/v.zip Vantry "
              "运行 Vantry.exe Vantry.exe 修复问题");
}

// What the updater makes of the line: the splitting rules and the check.
TEST(BuildUpdaterCommandLineTest, ReachesTheUpdaterAsItsArguments)
{
    const struct {
        const char* why;
        std::string runDirectory;
        UpdaterRequest request;
        Tokens arguments;
        bool accepted;
    } cases[] = {
        {"all values",
         "C:\\Vantry",
         kFullRequest,
         {"授权标记", "http://example.com/v.zip", "Vantry", "运行", "Vantry.exe", "Vantry.exe", "修复问题"},
         true},
        {"a blank in the run directory",
         "C:\\Program Files\\工具 箱",
         kFullRequest,
         {"授权标记", "http://example.com/v.zip", "Vantry", "运行", "Vantry.exe", "Vantry.exe", "修复问题"},
         true},
        {"empty title: the rest moves up",
         "C:\\Vantry",
         {"http://h/v.zip", "", "新.exe", "说明"},
         {"授权标记", "http://h/v.zip", "运行", "Vantry.exe", "新.exe", "说明"},
         true},
        {"notes with blanks",
         "C:\\Vantry",
         {"http://h/v.zip", "T", "f.exe", "修复 若干"},
         {"授权标记", "http://h/v.zip", "T", "运行", "Vantry.exe", "f.exe", "修复", "若干"},
         true},
        {"empty file name and notes: five arguments",
         "C:\\Vantry",
         {"http://h/v.zip", "T", "", ""},
         {"授权标记", "http://h/v.zip", "T", "运行", "Vantry.exe"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const Tokens arguments = SplitCommandLine(BuildUpdaterCommandLine(c.runDirectory, c.request));
        EXPECT_EQ(arguments, c.arguments);
        EXPECT_EQ(AreUpdaterArgumentsAccepted(arguments), c.accepted);
    }
}

TEST(AreUpdaterArgumentsAcceptedTest, DemandsSixArgumentsAndTheLaunchToken)
{
    const struct {
        const char* why;
        Tokens arguments;
        bool accepted;
    } cases[] = {
        {"six", {"授权标记", "a", "b", "运行", "Vantry.exe", "c"}, true},
        {"five", {"授权标记", "a", "b", "运行", "Vantry.exe"}, false},
        {"none", {}, false},
        {"last byte differs", {"\xCA\xDA\xC8\xA8\xB1\xEA\xBC\xC8", "a", "b", "运行", "Vantry.exe", "c"}, false},
        {"token with a trailing byte", {"授权标记x", "a", "b", "运行", "Vantry.exe", "c"}, false},
        {"empty token", {"", "a", "b", "运行", "Vantry.exe", "c"}, false},
        {"token in second place", {"a", "授权标记", "b", "运行", "Vantry.exe", "c"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AreUpdaterArgumentsAccepted(c.arguments), c.accepted) << c.why;
}

}  // namespace
