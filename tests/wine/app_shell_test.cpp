#include "shell/app_shell.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/win_driver.h"

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;
constexpr int kQuitCode = 7;

std::vector<UINT> dispatched;

LRESULT CALLBACK RecordMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP)
        dispatched.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

class DispatchPendingMessagesTest : public testing::Test {
protected:
    void SetUp() override
    {
        dispatched.clear();
        window_ = CreateTestWindow("pending messages");
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordMessage));
        // Start from a quiet queue: the window's own creation messages.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        dispatched.clear();
    }
    void TearDown() override { DestroyWindow(window_); }

    HWND window_ = nullptr;
};

TEST_F(DispatchPendingMessagesTest, HandlesWhatIsQueuedAndLeavesTheQuitRequest)
{
    PostMessageA(window_, kFirst, 0, 0);
    PostMessageA(window_, kSecond, 0, 0);
    PostQuitMessage(kQuitCode);
    DispatchPendingMessages(nullptr);
    EXPECT_EQ(dispatched, (std::vector<UINT>{kFirst, kSecond}));

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(kQuitCode));
}

TEST_F(DispatchPendingMessagesTest, LetsTheFilterTakeMessagesFirst)
{
    PostMessageA(window_, kFirst, 0, 0);
    PostMessageA(window_, kSecond, 0, 0);
    std::vector<UINT> filtered;
    DispatchPendingMessages([&](const MSG& msg) {
        filtered.push_back(msg.message);
        return msg.message == kFirst;
    });
    EXPECT_EQ(filtered, (std::vector<UINT>{kFirst, kSecond}));
    EXPECT_EQ(dispatched, (std::vector<UINT>{kSecond}));
}

TEST_F(DispatchPendingMessagesTest, ReturnsAtOnceOnAnEmptyQueue)
{
    const unsigned long long start = GetTickCount64();
    DispatchPendingMessages(nullptr);
    EXPECT_LT(ElapsedSince(start), 500u);
    EXPECT_TRUE(dispatched.empty());
}

}  // namespace
