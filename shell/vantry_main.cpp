// Vantry.exe: start-up, the main window's handlers, and shutdown.
#include <windows.h>

#include <memory>

#include "about/about_countdown.h"
#include "policy/policy_registry.h"
#include "policy/program_launcher.h"
#include "policy/usb_storage_switch.h"
#include "policy/write_protect_switch.h"
#include "shell/app_shell.h"
#include "shell/exit_cleanup.h"
#include "shell/instance_guard.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/number_text.h"
#include "shell/program_version.h"
#include "update/manifest_tree.h"
#include "update/update_checker.h"

namespace {

constexpr const char* kAlreadyRunningPrompt = "程序已运行，请确定！";
constexpr const char* kVersionPrefix = "版本号：";

// The machine-wide policy values under HKEY_LOCAL_MACHINE.
class MachinePolicy : public PolicyStore {
public:
    std::int32_t ReadNumber(std::string_view path) override
    {
        return ReadRegistryNumber(HKEY_LOCAL_MACHINE, path);
    }
    bool WriteNumber(std::string_view path, std::int32_t value) override
    {
        return WriteRegistryNumber(HKEY_LOCAL_MACHINE, path, value);
    }
    void RefreshPolicy() override { ::RefreshPolicy(); }
};

MachinePolicy machinePolicy;
MainWindow mainWindow;
std::unique_ptr<ManifestTree> manifestTree;

void DestroyManifestTree()
{
    manifestTree.reset();
}

void BringWindowToStartingState()
{
    std::string guardName = ExecutableName();
    EnsureSingleInstance(guardName, kGuardModePrompt, kAlreadyRunningPrompt);
    mainWindow.SetVersionCaption(kVersionPrefix + FormatDouble(kProgramVersion));
    StartCountdownAt(kCountdownStart);
    ShowUsbStorageState(machinePolicy, mainWindow.UsbButton());
    ShowWriteProtectState(machinePolicy, mainWindow.WriteProtectBox());
}

MainWindowEvents MainWindowHandlers()
{
    MainWindowEvents events;
    events.created = BringWindowToStartingState;
    events.usbButtonClicked = [] { ToggleUsbStorage(machinePolicy, mainWindow.UsbButton()); };
    events.writeProtectClicked = [] { StoreWriteProtect(machinePolicy, mainWindow.WriteProtectBox()); };
    events.checkForUpdateChosen = [] { CheckForUpdate(mainWindow, *manifestTree); };
    events.aboutChosen = [] { ShowAbout(mainWindow); };
    events.aboutTimerTicked = [] { AboutTick(mainWindow); };
    return events;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    PrepareProcess();
    manifestTree = std::make_unique<ManifestTree>();
    RegisterExitCleanup(DestroyManifestTree);
    if (!mainWindow.Load(instance, MainWindowHandlers()))
        FailAtRuntime("载入启动窗口失败");
    const int exitCode = RunMessageLoop([](const MSG& msg) { return mainWindow.HandleDialogKey(msg); });
    RunExitCleanup();
    return exitCode;
}
