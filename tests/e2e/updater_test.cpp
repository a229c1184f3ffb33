// update.exe started on its own: which command lines it takes, and how it
// refuses the others.
#include <gtest/gtest.h>

#include "tests/support/test_server.h"
#include "tests/support/win_driver.h"

namespace {

constexpr const char* kWindowTitle = "下载管理器";
constexpr int kBoxTextId = 0xFFFF;
constexpr Milliseconds kExitWait(5000);
// The package's answer comes late, so the accepted updater is still
// downloading when the test closes it.
constexpr unsigned kAnswerDelay = 8000;

TEST(UpdaterArgumentsTest, TakesTheLaunchLineAndRefusesEveryOther)
{
    TestServer server("updater arguments");
    ASSERT_TRUE(server.Listening());
    server.Serve("/v.zip", HttpResponse(404, ""), kAnswerDelay);
    const std::string address = "http://127.0.0.1:" + std::to_string(UpdateServerPort()) + "/v.zip";
    // An unquoted path with a blank is not among the rows: Wine's CreateProcess
    // puts such a path in quotes itself before the updater sees its command
    // line. The unit tests split that line as Windows would hand it over.
    const struct {
        const char* what;
        const char* runName;
        std::string arguments;
        bool accepted;
    } rows[] = {
        {"six arguments", "updater six", "授权标记 " + address + " b 运行 Vantry.exe c", true},
        {"the main program's line, a blank in the path", "updater 空 格",
         "授权标记 " + address + " Vantry 运行 Vantry.exe Vantry.exe 修复 若干 问题", true},
        {"five arguments", "updater five", "授权标记 a b 运行 Vantry.exe", false},
        {"empty file name and notes", "updater empty values", "授权标记 a b 运行 Vantry.exe  ", false},
        {"the token's last byte differs", "updater token", "\xCA\xDA\xC8\xA8\xB1\xEA\xBC\xC8 a b 运行 Vantry.exe c",
         false},
        {"no arguments", "updater none", "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        RunDirectory dir(row.runName);
        dir.Install("update.exe", "update.exe");
        const std::string path = dir.File("update.exe");
        const std::vector<std::string> filesBefore = ListDirectory(dir.Path());
        Process updater("\"" + path + "\" " + row.arguments, BinDirectory());
        ASSERT_TRUE(updater.Started());

        if (row.accepted) {
            HWND window = WaitForTopWindow(updater.Id(), kWindowTitle);
            ASSERT_NE(window, nullptr) << DescribeTopWindows(updater.Id());
            RECT rect;
            GetWindowRect(window, &rect);
            EXPECT_EQ(rect.right - rect.left, 538);
            EXPECT_EQ(rect.bottom - rect.top, 222);
            EXPECT_EQ(FindTopWindow(updater.Id(), "信息："), nullptr);
            // Mid-transfer the close query asks; Cancel stops the transfer.
            PostMessageA(window, WM_CLOSE, 0, 0);
            HWND prompt = WaitForTopWindow(updater.Id(), "提示信息");
            ASSERT_NE(prompt, nullptr) << DescribeTopWindows(updater.Id());
            PostMessageA(GetDlgItem(prompt, IDCANCEL), BM_CLICK, 0, 0);
        } else {
            HWND box = WaitForTopWindow(updater.Id(), "信息：");
            ASSERT_NE(box, nullptr) << DescribeTopWindows(updater.Id());
            EXPECT_EQ(ClassOf(box), "#32770");
            EXPECT_EQ(WindowText(GetDlgItem(box, kBoxTextId)), "程序调用参数错误！");
            EXPECT_EQ(FindTopWindow(updater.Id(), kWindowTitle), nullptr);
            PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
        }
        EXPECT_EQ(updater.WaitForExit(kExitWait), 0u);
        if (!row.accepted) {
            EXPECT_EQ(ListDirectory(dir.Path()), filesBefore) << "nothing on disk is touched";
        }
    }
}

}  // namespace
