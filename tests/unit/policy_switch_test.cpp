#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "policy/usb_storage_switch.h"
#include "policy/write_protect_switch.h"

namespace {

// Records the order of writes and refreshes; a write can be made to fail as
// it does without administrator rights.
class RecordingStore : public PolicyStore {
public:
    std::int32_t ReadNumber(std::string_view path) override
    {
        const auto found = values.find(std::string(path));
        return found == values.end() ? 0 : found->second;
    }
    bool WriteNumber(std::string_view path, std::int32_t value) override
    {
        log.push_back("write " + std::to_string(value));
        if (!writesSucceed)
            return false;
        values[std::string(path)] = value;
        return true;
    }
    void RefreshPolicy() override { log.push_back("refresh"); }

    std::map<std::string, std::int32_t> values;
    std::vector<std::string> log;
    bool writesSucceed = true;
};

class FakeButton : public CaptionControl {
public:
    std::string Caption() const override { return caption; }
    void SetCaption(std::string_view text) override { caption = text; }
    std::string caption = "启用USB设备";
};

class FakeCheckBox : public CheckControl {
public:
    int CheckState() const override { return state; }
    void SetCheckState(int value) override { state = value == 1 ? 1 : 0; }
    void Click() { state = 1 - state; }  // an automatic check box toggles itself
    int state = 0;
};

const std::string kUsbPath(kUsbStorStartPath);
const std::string kProtectPath(kWriteProtectPath);

TEST(UsbStorageSwitchTest, StartCaptionFollowsTheStartValue)
{
    const struct {
        bool present;
        std::int32_t value;
        std::string_view caption;
    } cases[] = {{true, 3, kDisableUsbCaption}, {true, 4, kEnableUsbCaption}, {true, 0, kEnableUsbCaption},
                 {true, 1, kEnableUsbCaption},  {true, 2, kEnableUsbCaption}, {false, 0, kEnableUsbCaption}};
    for (const auto& c : cases) {
        RecordingStore store;
        if (c.present)
            store.values[kUsbPath] = c.value;
        FakeButton button;
        button.caption = "";
        ShowUsbStorageState(store, button);
        EXPECT_EQ(button.caption, c.caption) << "value " << c.value;
        EXPECT_TRUE(store.log.empty());
    }
}

TEST(UsbStorageSwitchTest, EachClickWritesTheOtherStateThenRefreshes)
{
    RecordingStore store;
    store.values[kUsbPath] = 3;
    FakeButton button;
    ShowUsbStorageState(store, button);

    ToggleUsbStorage(store, button);
    EXPECT_EQ(button.caption, kEnableUsbCaption);
    EXPECT_EQ(store.values[kUsbPath], 4);
    ToggleUsbStorage(store, button);
    EXPECT_EQ(button.caption, kDisableUsbCaption);
    EXPECT_EQ(store.values[kUsbPath], 3);
    EXPECT_EQ(store.log, (std::vector<std::string>{"write 4", "refresh", "write 3", "refresh"}));
}

TEST(UsbStorageSwitchTest, AnUnknownCaptionWritesDisabled)
{
    RecordingStore store;
    FakeButton button;
    button.caption = "";
    ToggleUsbStorage(store, button);
    EXPECT_EQ(button.caption, kEnableUsbCaption);
    EXPECT_EQ(store.values[kUsbPath], 4);
}

TEST(UsbStorageSwitchTest, AFailedWritePutsTheCaptionBack)
{
    for (std::string_view start : {kEnableUsbCaption, kDisableUsbCaption}) {
        RecordingStore store;
        store.writesSucceed = false;
        FakeButton button;
        button.caption = start;
        ToggleUsbStorage(store, button);
        EXPECT_EQ(button.caption, start);
        EXPECT_EQ(store.log.size(), 2u);
        EXPECT_EQ(store.log.back(), "refresh");
    }
}

TEST(WriteProtectSwitchTest, StartMarkFollowsTheValue)
{
    const struct {
        bool present;
        std::int32_t value;
        int state;
    } cases[] = {{true, 1, 1}, {true, 0, 0}, {true, 2, 0}, {true, -1, 0}, {false, 0, 0}};
    for (const auto& c : cases) {
        RecordingStore store;
        if (c.present)
            store.values[kProtectPath] = c.value;
        FakeCheckBox box;
        box.state = 1 - c.state;
        ShowWriteProtectState(store, box);
        EXPECT_EQ(box.state, c.state) << "value " << c.value;
    }
}

TEST(WriteProtectSwitchTest, EachClickStoresTheNewMarkThenRefreshes)
{
    RecordingStore store;
    store.values[kProtectPath] = 1;
    FakeCheckBox box;
    ShowWriteProtectState(store, box);

    box.Click();
    StoreWriteProtect(store, box);
    EXPECT_EQ(store.values[kProtectPath], 0);
    box.Click();
    StoreWriteProtect(store, box);
    EXPECT_EQ(store.values[kProtectPath], 1);
    EXPECT_EQ(store.log, (std::vector<std::string>{"write 0", "refresh", "write 1", "refresh"}));
}

TEST(WriteProtectSwitchTest, AFailedWritePutsTheMarkBack)
{
    for (int start : {0, 1}) {
        RecordingStore store;
        store.writesSucceed = false;
        FakeCheckBox box;
        box.state = start;
        box.Click();
        StoreWriteProtect(store, box);
        EXPECT_EQ(box.state, start);
        EXPECT_EQ(store.log, (std::vector<std::string>{"write " + std::to_string(1 - start), "refresh"}));
    }
}

}  // namespace
