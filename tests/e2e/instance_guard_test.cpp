#include <gtest/gtest.h>

#include "tests/e2e/vantry_fixture.h"

namespace {

constexpr const char* kGuardTitle = "提示信息";
constexpr Milliseconds kExitWait(5000);

// Checks the refusal box of `second` and closes it with `closeKey`.
void ExpectRefused(Process& second, WPARAM closeKey)
{
    HWND box = WaitForTopWindow(second.Id(), kGuardTitle);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ClassOf(box), "#32770");
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), "程序已运行，请确定！");
    EXPECT_EQ(WindowText(GetDlgItem(box, IDOK)), "确定");
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    EXPECT_EQ(FindTopWindow(second.Id(), "Vantry"), nullptr);
    PostMessageA(box, WM_KEYDOWN, closeKey, 0);
    EXPECT_EQ(second.WaitForExit(kExitWait), 0u);
}

TEST(InstanceGuardTest, SecondStartIsRefusedAndTheFirstGoesOn)
{
    VantryRun first("guard first");
    ASSERT_NE(first.Start(), nullptr);
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
        std::unique_ptr<Process> second = first.StartAnother();
        ExpectRefused(*second, key);
    }
    EXPECT_TRUE(first.Program().Running());
    EXPECT_TRUE(IsWindowVisible(first.Window()));
}

TEST(InstanceGuardTest, SameNameInAnotherDirectoryIsRefused)
{
    VantryRun first("guard here");
    VantryRun elsewhere("guard elsewhere");
    ASSERT_NE(first.Start(), nullptr);
    std::unique_ptr<Process> second = elsewhere.StartAnother();
    ExpectRefused(*second, VK_RETURN);
}

TEST(InstanceGuardTest, AnotherFileNameHasAGuardOfItsOwn)
{
    VantryRun first("guard named");
    VantryRun renamed("guard renamed", "Vantry2.exe");
    ASSERT_NE(first.Start(), nullptr);
    EXPECT_NE(renamed.Start(), nullptr);
    // Names that differ only past a byte 0x5C inside a character differ too.
    VantryRun gbkFirst("guard gbk a", "\x81\x5C.exe");
    VantryRun gbkSecond("guard gbk b", "x\x81\x5C.exe");
    EXPECT_NE(gbkFirst.Start(), nullptr);
    EXPECT_NE(gbkSecond.Start(), nullptr);
}

TEST(InstanceGuardTest, StartAfterTheFirstEndedRuns)
{
    VantryRun run("guard again");
    ASSERT_NE(run.Start(), nullptr);
    PostMessageA(run.Window(), WM_CLOSE, 0, 0);
    ASSERT_EQ(run.Program().WaitForExit(kExitWait), 0u);
    EXPECT_NE(run.Start(), nullptr);
}

}  // namespace
