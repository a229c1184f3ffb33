// update.exe: start-up, the argument check, the transfer and shutdown.
#include <windows.h>

#include <string>
#include <vector>

#include "shell/app_shell.h"
#include "shell/exit_cleanup.h"
#include "shell/message_box_rules.h"
#include "shell/message_boxes.h"
#include "updater/command_line.h"
#include "updater/download_task.h"
#include "updater/download_window.h"
#include "updater/updater_arguments.h"

namespace {

constexpr const char* kBadArgumentsText = "程序调用参数错误！";
constexpr int kFirstTask = 1;

DownloadWindow downloadWindow;
std::vector<std::string> updaterArguments;

void ReleaseUpdaterState()
{
    updaterArguments.clear();
    downloadWindow.ForgetTaskRows();
    ReleaseDownloadTasks();
}

// The argument check runs before anything touches the disk, so a refused
// start leaves no trace but the box.
void StartTransfer()
{
    updaterArguments = SplitCommandLine(GetCommandLineA());
    if (!AreUpdaterArgumentsAccepted(updaterArguments)) {
        ShowMessageBox(kBadArgumentsText, kBoxIconError);
        EndProgram(0);
    }
    downloadWindow.SetUpTaskRow();
    RunDownloadTask(kFirstTask);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    PrepareProcess();
    AttachDownloadWindow(downloadWindow, updaterArguments);
    RegisterExitCleanup(ReleaseUpdaterState);
    DownloadWindowEvents events;
    events.created = StartTransfer;
    events.mayClose = CanCloseWindow;
    events.feedback = InstallTaskPackage;
    if (!downloadWindow.Load(instance, events))
        FailAtRuntime("载入启动窗口失败");
    RunMessageLoop([](const MSG& msg) { return downloadWindow.HandleDialogKey(msg); });
    RunExitCleanup();
    return 0;
}
