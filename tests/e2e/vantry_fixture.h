// Starting Vantry.exe in a run directory of its own, with a recording
// rundll32.exe beside it, and setting up the policy values it reads.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "tests/support/win_driver.h"

constexpr const char* kUsbKey = "SYSTEM\\CurrentControlSet\\Services\\USBSTOR";
constexpr const char* kPolicyKey = "SYSTEM\\CurrentControlSet\\Control\\StorageDevicePolicies";
constexpr const char* kRefreshCommand = "rundll32 user32.dll,UpdatePerUserSystemParameters";

// A value as it may stand in the registry before Vantry starts.
struct StoredValue {
    enum Kind { Missing, MissingKey, Dword, String, Binary } kind;
    DWORD number = 0;
};

void StoreValue(const char* key, const char* name, const StoredValue& value);
std::optional<DWORD> ReadDword(const char* key, const char* name);

// Client-area points of the controls, as a user finds them.
constexpr POINT kButtonPoint = {104, 56};
constexpr POINT kCheckBoxPoint = {80, 96};
constexpr POINT kVersionLabelPoint = {10, 136};
constexpr POINT kStatusLabelPoint = {104, 16};
constexpr POINT kEmptyPoint = {190, 120};

class VantryRun {
public:
    explicit VantryRun(const std::string& directoryName, const std::string& exeName = "Vantry.exe");

    // Starts the program from another current directory and waits for its
    // window; null when none appeared.
    HWND Start();
    // Starts a further process of the same file.
    std::unique_ptr<Process> StartAnother() const;

    HWND Window() const { return window_; }
    HWND ControlAt(POINT client) const;
    POINT ScreenPoint(POINT client) const;
    // Opens the popup menu with a right click on an empty point of the window.
    bool OpenPopupMenu() const;
    // Chooses a menu item as a user would, by the keyboard: "升级" is the
    // first item (its submenu holds "检测升级"), "关于" the second.
    bool ChooseCheckForUpdate() const;
    bool ChooseAbout() const;
    // Checks for an update and answers the offer "版本升级" with OK; false
    // when no offer came.
    bool AcceptUpdateOffer() const;

    Process& Program() { return *process_; }
    const RunDirectory& Directory() const { return directory_; }
    std::string CommandLine() const { return "\"" + directory_.File(exeName_) + "\""; }
    std::vector<std::vector<std::string>> Launches() const { return ReadLaunches(directory_.Path()); }

private:
    RunDirectory directory_;
    std::string exeName_;
    std::unique_ptr<Process> process_;
    HWND window_ = nullptr;
};

// The visible popup menu window, if one is open.
HWND FindPopupMenu();
