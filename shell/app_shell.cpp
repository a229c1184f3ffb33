#include "shell/app_shell.h"

#include "shell/exit_cleanup.h"
#include "shell/gbk_text.h"

namespace {

struct ProcessPaths {
    std::string runDirectory;
    std::string executableName;
};

ProcessPaths& Paths()
{
    static ProcessPaths paths;
    return paths;
}

}  // namespace

void PrepareProcess()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    PathSplit split = SplitAtLastBackslash(path);
    Paths() = {std::move(split.head), std::move(split.tail)};
    // "C:" alone would name the drive's current directory, not its root.
    const std::string directory = Paths().runDirectory + "\\";
    SetCurrentDirectoryA(directory.c_str());
}

std::string RunDirectory()
{
    return Paths().runDirectory;
}

std::string ExecutableName()
{
    return Paths().executableName;
}

void EndProgram(int exitCode)
{
    RunExitCleanup();
    ExitProcess(static_cast<UINT>(exitCode));
}

namespace {

void HandleMessage(const MSG& msg, const std::function<bool(const MSG&)>& filter)
{
    if (filter && filter(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

int RunMessageLoop(const std::function<bool(const MSG&)>& filter)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        HandleMessage(msg, filter);
    return static_cast<int>(msg.wParam);
}

void DispatchPendingMessages(const std::function<bool(const MSG&)>& filter)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return;
        if (msg.message == WM_QUIT) {
            // What the first look saw was handled inside the second; the quit
            // request belongs to the loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        HandleMessage(msg, filter);
    }
}
