#include "updater/download_task.h"

#include <windows.h>

#include <memory>

#include "shell/app_shell.h"
#include "shell/message_box_rules.h"
#include "shell/message_boxes.h"
#include "shell/number_text.h"
#include "updater/download/download_engine.h"
#include "updater/install_paths.h"
#include "updater/package_install.h"
#include "updater/task_row_text.h"

namespace {

constexpr int kTaskOptions = 4096;
constexpr int kConnections = 5;
constexpr int kRetryPause = 1000;
constexpr int kConnectTimeout = 5000;
constexpr int kSendTimeout = 5001;
constexpr int kReceiveTimeout = 10000;
constexpr int kReadBlock = 20480;
constexpr int kStopMode = 2;
constexpr int kEventHandled = 1;
constexpr std::size_t kAddressArgument = 1;  // positions counted from 0
constexpr std::size_t kTitleArgument = 2;
constexpr std::size_t kProgramArgument = 4;

constexpr const char* kStartEntry = "执行下载任务";
constexpr const char* kStartedOperation = "下载开始";
constexpr const char* kEndedOperation = "下载结束";
constexpr const char* kUnknownEvent = "未知消息 ";
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kWaitPrompt = "请等待下载完成...";
constexpr const char* kWaitPromptTitle = "提示信息";

DownloadWindow* window = nullptr;
const std::vector<std::string>* arguments = nullptr;
std::vector<TaskParam> taskParams;
std::vector<std::unique_ptr<Download>> downloads;
int currentTask = 0;

std::string Argument(std::size_t position)
{
    return position < arguments->size() ? (*arguments)[position] : std::string();
}

// The position, from 1, of the Download object running `task`; 0 for none.
int RowOfTask(int task)
{
    for (std::size_t i = 0; i < downloads.size(); ++i)
        if (GetTaskId(*downloads[i]) == task)
            return static_cast<int>(i) + 1;
    return 0;
}

const char* EventLine(int code)
{
    switch (code) {
    case 传送常量::下载上传开始: return " #传送常量.下载上传开始\r\n";
    case 传送常量::下载上传结束: return " #传送常量.下载上传结束\r\n";
    case 传送常量::下载数据范围: return " #传送常量.下载数据范围\r\n";
    case 传送常量::下载线程继续下载: return " #传送常量.下载线程继续下载\r\n";
    case 传送常量::线程正常结束: return " #传送常量.线程正常结束\r\n";
    case 传送常量::线程异常结束: return " #传送常量.线程异常结束\r\n";
    case 传送常量::收到数据: return " #传送常量.收到数据\r\n";
    case 传送常量::存在同名文件: return " #传送常量.存在同名文件\r\n";
    default: return nullptr;
    }
}

void AppendEventLine(int code)
{
    const char* line = EventLine(code);
    const std::string text = line ? line : kUnknownEvent + FormatInteger(code) + kLineEnd;
    window->RunOnWindowThread([&] { window->AppendLog(text); });
}

void ShowTransferStart(int row)
{
    Download& download = *downloads[row - 1];
    const std::int64_t total = ReadTaskData(download, GetTaskData(download), kTotalSize, 0);
    const std::string name = taskParams[row - 1].taskName;
    window->RunOnWindowThread([&] {
        const TaskRow* controls = window->TaskRowAt(row);
        if (!controls)
            return;
        SetControlText(controls->nameLabel, name);
        SetControlText(controls->sizeLabel, SizeText(total));
        ShowControl(controls->progressBar, false);
        SetControlText(controls->operationLabel, kStartedOperation);
        ShowControl(controls->operationLabel, true);
    });
}

void ShowDataReceived(int row)
{
    Download& download = *downloads[row - 1];
    const std::string speed = SpeedText(TakeReceivedBytes(download));
    const TaskData data = GetTaskData(download);
    const int percent = ProgressPercent(ReadTaskData(download, data, kBytesDone, 0),
                                        ReadTaskData(download, data, kTotalSize, 0));
    window->RunOnWindowThread([&] {
        const TaskRow* controls = window->TaskRowAt(row);
        if (!controls)
            return;
        ShowControl(controls->operationLabel, false);
        ShowControl(controls->progressBar, true);
        SetControlText(controls->speedLabel, speed);
        SetProgressPosition(controls->progressBar, percent);
        window->AppendLog(EventLine(传送常量::收到数据));
    });
}

void ShowTransferEnd(int row)
{
    window->RunOnWindowThread([&] {
        const TaskRow* controls = window->TaskRowAt(row);
        if (!controls)
            return;
        ShowControl(controls->progressBar, false);
        SetControlText(controls->operationLabel, kEndedOperation);
        ShowControl(controls->operationLabel, true);
        SetControlText(controls->speedLabel, "");
        window->AppendLog(EventLine(传送常量::下载上传结束));
    });
}

}  // namespace

void AttachDownloadWindow(DownloadWindow& downloadWindow, const std::vector<std::string>& updaterArguments)
{
    window = &downloadWindow;
    arguments = &updaterArguments;
}

void RunDownloadTask(int task)
{
    taskParams.resize(static_cast<std::size_t>(task));
    TaskParam& param = taskParams[static_cast<std::size_t>(task) - 1];
    param.options = kTaskOptions;
    currentTask = task;
    window->AppendLog(kStartEntry + FormatInteger(task));
    param.address = Argument(kAddressArgument);
    param.taskName = Argument(kTitleArgument);
    param.speedLimit = 0;
    param.retryPause = kRetryPause;
    param.connections = kConnections;
    const std::string updaterDirectory = RunDirectory();
    CreateDirectoryA(PackageDirectory(updaterDirectory).c_str(), nullptr);
    const std::string package = PackagePath(updaterDirectory, task);
    DeleteFileA(package.c_str());
    param.savePath = package;
    param.connectTimeout = kConnectTimeout;
    param.sendTimeout = kSendTimeout;
    param.receiveTimeout = kReceiveTimeout;
    param.readBlock = kReadBlock;
    param.eventRoutine = OnTransferEvent;
    param.messageRoutine = OnEngineMessage;
    downloads.push_back(std::make_unique<Download>());
    StartTask(*downloads.back(), taskParams[static_cast<std::size_t>(currentTask) - 1]);
    DispatchPendingMessages(nullptr);
}

int OnTransferEvent(int code, int, int, int, int task)
{
    const bool rowEvent =
        code == 传送常量::下载上传开始 || code == 传送常量::下载上传结束 || code == 传送常量::收到数据;
    const int row = rowEvent ? RowOfTask(task) : 0;
    switch (code) {
    case 传送常量::下载上传开始:
        AppendEventLine(code);
        if (row > 0)
            ShowTransferStart(row);
        break;
    case 传送常量::下载上传结束:
        if (row > 0) {
            ShowTransferEnd(row);
            window->CallFeedback(row, 0);
        }
        break;
    case 传送常量::收到数据:
        if (row > 0)
            ShowDataReceived(row);
        break;
    default:
        AppendEventLine(code);
    }
    // For 存在同名文件 this answers "do not download": the old package could
    // not be deleted, so the transfer is abandoned.
    return kEventHandled;
}

void OnEngineMessage(int, const char*, const char*, int, int) {}

bool CanCloseWindow()
{
    if (MayCloseWithoutAsking(window->Log()))
        return true;
    if (ShowMessageBox(kWaitPrompt, kBoxOkCancel | kBoxIconInformation, kWaitPromptTitle) == kBoxIndexOk)
        return false;
    if (!downloads.empty())
        StopTask(*downloads.front(), kStopMode, nullptr);
    return true;
}

void InstallTaskPackage(int task, int)
{
    PackageInstall install;
    install.updaterDirectory = RunDirectory();
    install.task = task;
    install.programName = Argument(kProgramArgument);
    install.packageWhole = task >= 1 && task <= static_cast<int>(downloads.size()) &&
                           IsTaskComplete(*downloads[static_cast<std::size_t>(task) - 1]);
    install.handleWaitingMessages = [] { DispatchPendingMessages(nullptr); };
    InstallPackage(install);
}

void ReleaseDownloadTasks()
{
    taskParams.clear();
    // The objects themselves stay until the process ends: a stopped task's
    // thread may still be winding down in the event routine, which reads them.
    for (const std::unique_ptr<Download>& download : downloads)
        ReleaseDownload(*download);
}
