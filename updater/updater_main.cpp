// update.exe: start-up, the argument check, and shutdown.
#include <windows.h>

#include <string>
#include <vector>

#include "shell/app_shell.h"
#include "shell/exit_cleanup.h"
#include "shell/message_box_rules.h"
#include "shell/message_boxes.h"
#include "updater/command_line.h"
#include "updater/download_window.h"
#include "updater/updater_arguments.h"

namespace {

constexpr const char* kBadArgumentsText = "程序调用参数错误！";

DownloadWindow downloadWindow;
std::vector<std::string> updaterArguments;

void ReleaseUpdaterState()
{
    updaterArguments.clear();
}

// Runs before anything touches the disk, so a refused start leaves no trace
// but the box.
void CheckArguments()
{
    updaterArguments = SplitCommandLine(GetCommandLineA());
    if (!AreUpdaterArgumentsAccepted(updaterArguments)) {
        ShowMessageBox(kBadArgumentsText, kBoxIconError);
        EndProgram(0);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    PrepareProcess();
    RegisterExitCleanup(ReleaseUpdaterState);
    if (!downloadWindow.Load(instance, CheckArguments))
        FailAtRuntime("载入启动窗口失败");
    RunMessageLoop(nullptr);
    RunExitCleanup();
    return 0;
}
