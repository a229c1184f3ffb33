#include <gtest/gtest.h>

#include "tests/e2e/vantry_fixture.h"

namespace {

constexpr Milliseconds kExitWait(5000);

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        StoreValue(kUsbKey, "Start", {StoredValue::Dword, 3});
        StoreValue(kPolicyKey, "WriteProtect", {StoredValue::Missing});
        ASSERT_NE(run_.Start(), nullptr);
    }

    HWND Button() const { return run_.ControlAt(kButtonPoint); }
    HWND CheckBox() const { return run_.ControlAt(kCheckBoxPoint); }

    VantryRun run_{"main window"};
};

TEST_F(MainWindowTest, OpensCentredWithFixedSizeAndTitle)
{
    HWND window = run_.Window();
    EXPECT_EQ(WindowText(window), "Vantry");
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 216);
    EXPECT_EQ(rect.bottom - rect.top, 175);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 216) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 175) / 2);

    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(style & wanted, wanted) << std::hex << style;
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0u) << std::hex << style;
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_LAYERED), 0u);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);

    // A drag on the frame hits a plain border, not a sizing edge.
    const LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(rect.right - 1, rect.bottom - 1));
    EXPECT_NE(hit, HTBOTTOMRIGHT);
}

TEST_F(MainWindowTest, ControlsStandWhereTheyBelong)
{
    const struct {
        POINT at;
        const char* className;
        const char* text;
        RECT rect;
        LONG styleMask;
        LONG style;
    } controls[] = {
        {kButtonPoint, "Button", "禁用USB设备", {48, 40, 160, 72}, BS_TYPEMASK | BS_MULTILINE | WS_TABSTOP,
         BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP},
        {kCheckBoxPoint, "Button", "U盘写保护", {72, 88, 152, 104}, BS_TYPEMASK | BS_MULTILINE | WS_TABSTOP,
         BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP},
        {kVersionLabelPoint, "Static", "版本号：3.2", {5, 128, 85, 144}, WS_TABSTOP | WS_BORDER, 0},
        {kStatusLabelPoint, "Static", "", {32, 0, 176, 32}, SS_TYPEMASK | WS_TABSTOP | WS_BORDER, SS_CENTER},
    };
    for (const auto& c : controls) {
        HWND control = run_.ControlAt(c.at);
        ASSERT_NE(control, nullptr) << c.text;
        EXPECT_EQ(ClassOf(control), c.className) << c.text;
        EXPECT_EQ(WindowText(control), c.text);
        const RECT rect = ChildRect(control);
        EXPECT_TRUE(EqualRect(&rect, &c.rect)) << c.text << " at " << rect.left << "," << rect.top << " "
                                               << rect.right << "," << rect.bottom;
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & c.styleMask, c.style) << c.text;
        EXPECT_TRUE(IsWindowVisible(control)) << c.text;
    }
    EXPECT_EQ(SendMessageA(CheckBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(MainWindowTest, KeyboardMovesFocusAndEnterDoesNothing)
{
    HWND window = run_.Window();
    EXPECT_EQ(FocusOf(window), Button());
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(window), CheckBox());
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(window), Button());
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusOf(window), CheckBox());
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusOf(window), Button());

    PressKey(VK_RETURN);
    Sleep(300);
    EXPECT_EQ(WindowText(Button()), "禁用USB设备");
    EXPECT_TRUE(run_.Launches().empty());
    EXPECT_TRUE(run_.Program().Running());
}

TEST_F(MainWindowTest, FocusComesBackToTheControlThatHadIt)
{
    HWND window = run_.Window();
    PressKey(VK_TAB);
    ASSERT_EQ(FocusOf(window), CheckBox());
    HWND other = CreateTestWindow("focus thief");
    ASSERT_TRUE(Activate(other));
    ASSERT_TRUE(Activate(window));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == CheckBox(); }, Milliseconds(2000)));
    DestroyWindow(other);
}

TEST_F(MainWindowTest, EscapeClosesWithExitCodeZero)
{
    PressKey(VK_ESCAPE);
    EXPECT_EQ(run_.Program().WaitForExit(kExitWait), 0u);
}

TEST_F(MainWindowTest, CloseButtonEndsWithExitCodeZero)
{
    PostMessageA(run_.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(run_.Program().WaitForExit(kExitWait), 0u);
}

TEST_F(MainWindowTest, RightClickOnEmptyAreaOpensThePopupBesideTheCursor)
{
    const POINT at = run_.ScreenPoint(kEmptyPoint);
    ClickAt(at, true);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindPopupMenu()) != nullptr; }, Milliseconds(3000)));
    RECT rect;
    GetWindowRect(menu, &rect);
    EXPECT_EQ(rect.left, at.x + 3);
    EXPECT_EQ(rect.top, at.y + 3);
    // Two items, one line each.
    EXPECT_GT(rect.bottom - rect.top, 30);
    EXPECT_LT(rect.bottom - rect.top, 60);

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([] { return FindPopupMenu() == nullptr; }, Milliseconds(3000)));
    EXPECT_TRUE(run_.Program().Running());
    EXPECT_TRUE(run_.Launches().empty());
}

TEST_F(MainWindowTest, RightClickOnAControlOpensNothing)
{
    for (POINT control : {kButtonPoint, kCheckBoxPoint, kVersionLabelPoint, kStatusLabelPoint}) {
        ClickAt(run_.ScreenPoint(control), true);
        Sleep(400);
        EXPECT_EQ(FindPopupMenu(), nullptr) << control.x << "," << control.y;
        if (FindPopupMenu()) {
            PressKey(VK_ESCAPE);
            WaitUntil([] { return FindPopupMenu() == nullptr; });
        }
    }
}

}  // namespace
