#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "shell/message_box_rules.h"
#include "shell/message_boxes.h"
#include "tests/support/win_driver.h"

namespace {

constexpr int kBoxTextId = 0xFFFF;

// Runs a box on a thread of its own, with a top-level window of that thread
// beside it, so the test can look at both from outside.
class BoxThread {
public:
    explicit BoxThread(std::function<int()> showBox)
        : thread_([this, showBox] {
              window_ = CreateTestWindow("box owner thread");
              windowReady_ = true;
              result_ = showBox();
              windowEnabledAfter_ = IsWindowEnabled(window_) != FALSE;
              DestroyWindow(window_);
          })
    {
        WaitUntil([this] { return windowReady_.load(); });
    }
    ~BoxThread()
    {
        if (thread_.joinable())
            thread_.join();
    }

    int Join()
    {
        thread_.join();
        return result_;
    }
    HWND Window() const { return window_; }
    bool WindowEnabledAfter() const { return windowEnabledAfter_; }

private:
    std::atomic<bool> windowReady_{false};
    HWND window_ = nullptr;
    int result_ = -1;
    bool windowEnabledAfter_ = false;
    std::thread thread_;
};

HWND WaitForBox(const std::string& title)
{
    HWND box = WaitForTopWindow(GetCurrentProcessId(), title);
    EXPECT_NE(box, nullptr) << title;
    return box;
}

using CloseAction = std::function<void(HWND)>;
const CloseAction kEnter = [](HWND box) { PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0); };
const CloseAction kEscape = [](HWND box) { PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0); };
const CloseAction kCloseButton = [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); };
const CloseAction kCancelButton = [](HWND box) { PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0); };

TEST(ShowMessageBoxTest, ReturnsTheIndexOfTheClosingButton)
{
    const struct {
        const char* what;
        std::uint32_t flags;
        CloseAction close;
        int index;
    } cases[] = {
        {"ok-cancel, Enter", 65, kEnter, 0},       {"ok-cancel, Cancel", 65, kCancelButton, 1},
        {"ok-cancel, Esc", 65, kEscape, 1},        {"ok-cancel, close", 65, kCloseButton, 1},
        {"ok, Enter", 0, kEnter, 0},               {"ok, Esc", 0, kEscape, 0},
        {"ok, close", 0, kCloseButton, 0},         {"error, Esc", 16, kEscape, 0},
        {"information, close", 64, kCloseButton, 0},
    };
    for (const auto& c : cases) {
        BoxThread box([&] { return ShowMessageBox("text", c.flags, "index test"); });
        HWND window = WaitForBox("index test");
        c.close(window);
        EXPECT_EQ(box.Join(), c.index) << c.what;
    }
}

TEST(ShowMessageBoxTest, ShowsTextButtonsAndIconUnderTheDefaultTitle)
{
    BoxThread box([] { return ShowMessageBox("第一行\r\n第二行", kBoxOkCancel | kBoxIconInformation); });
    HWND window = WaitForBox("信息：");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ClassOf(window), "#32770");
    EXPECT_EQ(WindowText(GetDlgItem(window, kBoxTextId)), "第一行\r\n第二行");
    EXPECT_EQ(WindowText(GetDlgItem(window, IDOK)), "确定");
    EXPECT_EQ(WindowText(GetDlgItem(window, IDCANCEL)), "取消");
    kEnter(window);
    EXPECT_EQ(box.Join(), 0);
}

TEST(ShowMessageBoxTest, DisablesTheThreadsWindowsWhileOpen)
{
    BoxThread box([] { return ShowMessageBox("modal", kBoxOk, "modal test"); });
    HWND window = WaitForBox("modal test");
    EXPECT_FALSE(IsWindowEnabled(box.Window()));
    kEnter(window);
    box.Join();
    EXPECT_TRUE(box.WindowEnabledAfter());
}

TEST(ShowTimedMessageBoxTest, ClosesItselfAfterItsTimeOut)
{
    const unsigned long long start = GetTickCount64();
    BoxThread box([] { return ShowTimedMessageBox(nullptr, "未接通升级服务器", "提示信息", 0, 0, 3000); });
    HWND window = WaitForBox("提示信息");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(window, kBoxTextId)), "未接通升级服务器");
    EXPECT_TRUE(IsWindowEnabled(box.Window()));  // not task-modal
    EXPECT_EQ(box.Join(), 32000);
    const unsigned long long shown = ElapsedSince(start);
    EXPECT_GE(shown, 2900u);
    EXPECT_LT(shown, 4500u);
    EXPECT_FALSE(IsWindow(window));
}

TEST(ShowTimedMessageBoxTest, OkClosesItAtOnce)
{
    const unsigned long long start = GetTickCount64();
    BoxThread box([] { return ShowTimedMessageBox(nullptr, "early", "timed early", 0, 0, 3000); });
    kEnter(WaitForBox("timed early"));
    EXPECT_EQ(box.Join(), IDOK);
    EXPECT_LT(ElapsedSince(start), 2000u);
}

TEST(ShowTimedMessageBoxTest, EndsOnlyItsOwnBox)
{
    // A second timed box opened inside the first (as a second update check
    // can be) must close on its own time, not on the first one's.
    BoxThread box([] {
        SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            ShowTimedMessageBox(nullptr, "inner", "timed inner", 0, 0, 3000);
        });
        return ShowTimedMessageBox(nullptr, "outer", "timed outer", 0, 0, 1000);
    });
    HWND inner = WaitForBox("timed inner");
    ASSERT_NE(inner, nullptr);
    Sleep(1000);  // past the outer box's time-out
    EXPECT_TRUE(IsWindow(inner));
    box.Join();
}

}  // namespace
