// The button that switches USB mass storage on or off for the machine. Its
// caption is the switch's only state and names what the next click does.
#pragma once

#include "policy/policy_store.h"

constexpr std::string_view kEnableUsbCaption = "启用USB设备";
constexpr std::string_view kDisableUsbCaption = "禁用USB设备";

void ShowUsbStorageState(PolicyStore& store, CaptionControl& button);
void ToggleUsbStorage(PolicyStore& store, CaptionControl& button);
