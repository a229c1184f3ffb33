#include "policy/program_launcher.h"

#include <windows.h>

#include "shell/win_handle.h"

namespace {

constexpr const char* kRefreshCommand = "rundll32 user32.dll,UpdatePerUserSystemParameters";
constexpr DWORD kInputIdleWaitMs = 1000;

WORD ShowWindowValue(ShowMode mode)
{
    switch (mode) {
    case ShowMode::Hidden: return SW_HIDE;
    case ShowMode::Normal: return SW_SHOWNORMAL;
    case ShowMode::Minimized: return SW_SHOWMINIMIZED;
    case ShowMode::Maximized: return SW_SHOWMAXIMIZED;
    case ShowMode::NormalNoActivate: return SW_SHOWNOACTIVATE;
    case ShowMode::MinimizedNoActivate: return SW_MINIMIZE;
    }
    return SW_SHOWNORMAL;
}

}  // namespace

bool RunProgram(const std::string& commandLine, bool wait, ShowMode mode)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowWindowValue(ShowModeFromNumber(static_cast<int>(mode)));

    std::string mutableLine = commandLine;  // CreateProcessA may write into it
    PROCESS_INFORMATION created = {};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created))
        return false;

    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);
    if (wait)
        WaitForSingleObject(process.Get(), INFINITE);
    else
        WaitForInputIdle(process.Get(), kInputIdleWaitMs);
    return true;
}

void RefreshPolicy()
{
    RunProgram(kRefreshCommand, false, ShowMode::Hidden);
}
