#include "update/update_prompt.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildUpdatePromptTest, ShowsTheVersionAsWrittenAndTheNotes)
{
    EXPECT_EQ(BuildUpdatePrompt("３．３", "修复若干问题"),
              "发现有新版本可以更新！\r\n\r\n版本号：３．３\r\n下载说明：修复若干问题");
    EXPECT_EQ(BuildUpdatePrompt("3.3", ""), "发现有新版本可以更新！\r\n\r\n版本号：3.3\r\n下载说明：");
}

}  // namespace
