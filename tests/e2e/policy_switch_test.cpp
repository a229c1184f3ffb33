#include <gtest/gtest.h>

#include "tests/e2e/vantry_fixture.h"

namespace {

constexpr const char* kEnable = "启用USB设备";
constexpr const char* kDisable = "禁用USB设备";

// Field positions in a line of the recorder's log.
enum LaunchField { kCommandLine, kFlags, kShowWindow, kCurrentDirectory, kStartSeen, kWriteProtectSeen };

struct StartCase {
    const char* what;
    StoredValue usb;
    StoredValue protect;
    const char* caption;
    bool checked;
};

class PolicyStartTest : public testing::TestWithParam<StartCase> {};

TEST_P(PolicyStartTest, WindowShowsTheStoredPolicy)
{
    const StartCase& c = GetParam();
    StoreValue(kUsbKey, "Start", c.usb);
    StoreValue(kPolicyKey, "WriteProtect", c.protect);
    VantryRun run("policy start");
    ASSERT_NE(run.Start(), nullptr);
    EXPECT_EQ(WindowText(run.ControlAt(kButtonPoint)), c.caption);
    EXPECT_EQ(SendMessageA(run.ControlAt(kCheckBoxPoint), BM_GETCHECK, 0, 0), c.checked ? BST_CHECKED : BST_UNCHECKED);
    EXPECT_TRUE(run.Launches().empty());
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, PolicyStartTest,
    testing::Values(
        StartCase{"3 and 1", {StoredValue::Dword, 3}, {StoredValue::Dword, 1}, kDisable, true},
        StartCase{"4 and 0", {StoredValue::Dword, 4}, {StoredValue::Dword, 0}, kEnable, false},
        StartCase{"0 and 2", {StoredValue::Dword, 0}, {StoredValue::Dword, 2}, kEnable, false},
        StartCase{"1 and 3", {StoredValue::Dword, 1}, {StoredValue::Dword, 3}, kEnable, false},
        StartCase{"2 and 1", {StoredValue::Dword, 2}, {StoredValue::Dword, 1}, kEnable, true},
        StartCase{"missing values", {StoredValue::Missing}, {StoredValue::Missing}, kEnable, false},
        StartCase{"missing keys", {StoredValue::MissingKey}, {StoredValue::MissingKey}, kEnable, false},
        StartCase{"strings", {StoredValue::String, 3}, {StoredValue::String, 1}, kEnable, false},
        StartCase{"binary", {StoredValue::Binary, 3}, {StoredValue::Binary, 1}, kEnable, false}));

class PolicySwitchTest : public testing::Test {
protected:
    void StartWith(StoredValue usb, StoredValue protect)
    {
        StoreValue(kUsbKey, "Start", usb);
        StoreValue(kPolicyKey, "WriteProtect", protect);
        ASSERT_NE(run_.Start(), nullptr);
    }
    HWND Button() const { return run_.ControlAt(kButtonPoint); }
    HWND CheckBox() const { return run_.ControlAt(kCheckBoxPoint); }

    // Waits for launch number `count` and checks that it is the hidden refresh
    // started in the run directory, which saw the registry as `start` and `protect`.
    void ExpectRefreshLaunch(std::size_t count, const std::string& start, const std::string& protect)
    {
        std::vector<std::vector<std::string>> launches;
        ASSERT_TRUE(WaitUntil([&] { return (launches = run_.Launches()).size() >= count; }));
        Sleep(200);  // a launch too many would show up now
        launches = run_.Launches();
        ASSERT_EQ(launches.size(), count);
        const std::vector<std::string>& launch = launches.back();
        ASSERT_EQ(launch.size(), 6u);
        EXPECT_EQ(launch[kCommandLine], kRefreshCommand);
        EXPECT_EQ(launch[kFlags], std::to_string(STARTF_USESHOWWINDOW));
        EXPECT_EQ(launch[kShowWindow], std::to_string(SW_HIDE));
        EXPECT_EQ(launch[kCurrentDirectory], run_.Directory().Path());
        EXPECT_EQ(launch[kStartSeen], start);
        EXPECT_EQ(launch[kWriteProtectSeen], protect);
    }

    VantryRun run_{"policy switch"};
};

TEST_F(PolicySwitchTest, ButtonClicksAlternateTheStartValue)
{
    StartWith({StoredValue::Dword, 3}, {StoredValue::Missing});
    ClickCentreOf(Button());
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Button()) == kEnable; }));
    EXPECT_EQ(ReadDword(kUsbKey, "Start"), 4u);
    ExpectRefreshLaunch(1, "4", "-");

    ClickCentreOf(Button());
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Button()) == kDisable; }));
    EXPECT_EQ(ReadDword(kUsbKey, "Start"), 3u);
    ExpectRefreshLaunch(2, "3", "-");
}

TEST_F(PolicySwitchTest, AnyOtherStartValueIsReplacedByThree)
{
    StartWith({StoredValue::Dword, 2}, {StoredValue::Missing});
    ASSERT_EQ(WindowText(Button()), kEnable);
    ClickCentreOf(Button());
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Button()) == kDisable; }));
    EXPECT_EQ(ReadDword(kUsbKey, "Start"), 3u);
    ExpectRefreshLaunch(1, "3", "-");
}

TEST_F(PolicySwitchTest, SpaceClicksTheFocusedControls)
{
    StartWith({StoredValue::String, 3}, {StoredValue::Missing});
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(Button()) == kDisable; }));
    EXPECT_EQ(ReadDword(kUsbKey, "Start"), 3u);
    ExpectRefreshLaunch(1, "3", "-");

    PressKey(VK_TAB);
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(CheckBox(), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    EXPECT_EQ(ReadDword(kPolicyKey, "WriteProtect"), 1u);
    ExpectRefreshLaunch(2, "3", "1");
}

TEST_F(PolicySwitchTest, CheckBoxCreatesTheKeyAndStoresItsMark)
{
    StartWith({StoredValue::Dword, 4}, {StoredValue::MissingKey});
    ClickCentreOf(CheckBox());
    ASSERT_TRUE(WaitUntil([&] { return ReadDword(kPolicyKey, "WriteProtect") == 1u; }));
    EXPECT_EQ(SendMessageA(CheckBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
    ExpectRefreshLaunch(1, "4", "1");

    ClickCentreOf(CheckBox());
    ASSERT_TRUE(WaitUntil([&] { return ReadDword(kPolicyKey, "WriteProtect") == 0u; }));
    EXPECT_EQ(SendMessageA(CheckBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ExpectRefreshLaunch(2, "4", "0");
}

TEST_F(PolicySwitchTest, StateSetFromOutsideAClickWritesNothing)
{
    StartWith({StoredValue::Dword, 4}, {StoredValue::Dword, 0});
    SendMessageA(CheckBox(), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(Button(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kDisable));
    Sleep(300);
    EXPECT_EQ(ReadDword(kPolicyKey, "WriteProtect"), 0u);
    EXPECT_EQ(ReadDword(kUsbKey, "Start"), 4u);
    EXPECT_TRUE(run_.Launches().empty());
}

TEST_F(PolicySwitchTest, StartedFromADirectoryWithASecondByteBackslash)
{
    // "乗" is 81 5C; the program's own name holds it too.
    VantryRun run("目录\x81\x5C", "\x81\x5C.exe");
    StoreValue(kUsbKey, "Start", {StoredValue::Dword, 4});
    ASSERT_NE(run.Start(), nullptr);
    ClickCentreOf(run.ControlAt(kButtonPoint));
    std::vector<std::vector<std::string>> launches;
    ASSERT_TRUE(WaitUntil([&] { return !(launches = run.Launches()).empty(); }));
    EXPECT_EQ(launches.front()[kCurrentDirectory], run.Directory().Path());
    EXPECT_EQ(ReadDword(kUsbKey, "Start"), 3u);
}

}  // namespace
