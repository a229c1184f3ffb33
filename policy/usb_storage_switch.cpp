#include "policy/usb_storage_switch.h"

namespace {

constexpr std::int32_t kStorageEnabled = 3;   // SERVICE_DEMAND_START
constexpr std::int32_t kStorageDisabled = 4;  // SERVICE_DISABLED

}  // namespace

void ShowUsbStorageState(PolicyStore& store, CaptionControl& button)
{
    const bool enabled = store.ReadNumber(kUsbStorStartPath) == kStorageEnabled;
    button.SetCaption(enabled ? kDisableUsbCaption : kEnableUsbCaption);
}

void ToggleUsbStorage(PolicyStore& store, CaptionControl& button)
{
    const std::string before = button.Caption();
    const bool enable = before == kEnableUsbCaption;
    button.SetCaption(enable ? kDisableUsbCaption : kEnableUsbCaption);
    // A caption must never claim a setting that is not in force: without
    // administrator rights the write fails, and the button goes back.
    if (!store.WriteNumber(kUsbStorStartPath, enable ? kStorageEnabled : kStorageDisabled))
        button.SetCaption(before);
    store.RefreshPolicy();
}
