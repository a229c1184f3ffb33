// The main window built in this process, for what another process cannot see.
#include <gtest/gtest.h>

#include <vector>

#include "shell/main_window.h"
#include "tests/support/win_driver.h"

namespace {

void PumpMessagesFor(unsigned long long milliseconds)
{
    const unsigned long long start = GetTickCount64();
    MSG msg;
    while (ElapsedSince(start) < milliseconds) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

class MainWindowInProcessTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (HWND window = FindTopWindow(GetCurrentProcessId(), "Vantry"))
            DestroyWindow(window);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    MainWindow window_;
};

TEST_F(MainWindowInProcessTest, CreatedRunsBeforeTheWindowIsShown)
{
    bool visibleWhenCreated = true;
    std::size_t controlsWhenCreated = 0;
    MainWindowEvents events;
    events.created = [&] {
        HWND window = FindWindowA("VantryMainWindow", "Vantry");
        visibleWhenCreated = IsWindowVisible(window);
        controlsWhenCreated = Children(window).size();
    };
    ASSERT_TRUE(window_.Load(GetModuleHandleA(nullptr), events));
    EXPECT_FALSE(visibleWhenCreated);
    EXPECT_EQ(controlsWhenCreated, 4u);
    EXPECT_NE(FindTopWindow(GetCurrentProcessId(), "Vantry"), nullptr);
}

TEST_F(MainWindowInProcessTest, ShowsTheProgramIconLargeAndSmall)
{
    ASSERT_TRUE(window_.Load(GetModuleHandleA(nullptr), {}));
    HWND window = FindTopWindow(GetCurrentProcessId(), "Vantry");
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowInProcessTest, EveryControlUsesTheGuiFont)
{
    ASSERT_TRUE(window_.Load(GetModuleHandleA(nullptr), {}));
    HWND window = FindTopWindow(GetCurrentProcessId(), "Vantry");
    const auto guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND control : Children(window))
        EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), guiFont) << WindowText(control);
}

TEST_F(MainWindowInProcessTest, TimerPeriodWritesKeepARunningTimersTime)
{
    std::vector<unsigned long long> ticks;
    const unsigned long long start = GetTickCount64();
    MainWindowEvents events;
    events.aboutTimerTicked = [&] { ticks.push_back(ElapsedSince(start)); };
    ASSERT_TRUE(window_.Load(GetModuleHandleA(nullptr), events));

    window_.SetAboutTimerPeriod(1000);
    PumpMessagesFor(600);
    window_.SetAboutTimerPeriod(1000);  // must not push the first tick back
    PumpMessagesFor(700);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_GE(ticks[0], 950u);
    EXPECT_LT(ticks[0], 1250u);

    window_.SetAboutTimerPeriod(0);
    PumpMessagesFor(1500);
    EXPECT_EQ(ticks.size(), 1u);

    const unsigned long long restarted = ElapsedSince(start);
    window_.SetAboutTimerPeriod(1000);
    PumpMessagesFor(1300);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_GE(ticks[1] - restarted, 950u);
}

}  // namespace
