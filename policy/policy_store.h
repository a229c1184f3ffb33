// What the two switches need from the machine and from their controls.
// The window and the registry provide the real ones; tests provide others.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr std::string_view kUsbStorStartPath = "SYSTEM\\CurrentControlSet\\Services\\USBSTOR\\Start";
constexpr std::string_view kWriteProtectPath =
    "SYSTEM\\CurrentControlSet\\Control\\StorageDevicePolicies\\WriteProtect";

class PolicyStore {
public:
    virtual ~PolicyStore() = default;
    // The number at a machine-wide path, 0 when it cannot be read.
    virtual std::int32_t ReadNumber(std::string_view path) = 0;
    // True when the number has been stored.
    virtual bool WriteNumber(std::string_view path, std::int32_t value) = 0;
    // Asks the system to reload its per-user parameters.
    virtual void RefreshPolicy() = 0;
};

class CaptionControl {
public:
    virtual ~CaptionControl() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view caption) = 0;
};

class CheckControl {
public:
    virtual ~CheckControl() = default;
    virtual int CheckState() const = 0;  // 1 checked, 0 clear
    virtual void SetCheckState(int state) = 0;
};
