// Stands in for a program that Vantry starts (rundll32.exe, update.exe): it
// appends one line per start to "launches.log" beside itself, holding the
// command line, the start-up flags, the show value and the current directory,
// separated by tabs, and the two policy values as it finds them in the
// registry at its start ("-" when missing), which shows what was written
// before it was started. With "--stay-busy" anywhere on its command line it never
// becomes ready for input and ends after three seconds.
#include <windows.h>

#include <cstring>
#include <string>

#include "policy/policy_store.h"
#include "shell/gbk_text.h"

namespace {

std::string PolicyValueText(std::string_view fullPath)
{
    const PathSplit path = SplitAtLastBackslash(fullPath);
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, path.head.c_str(), path.tail.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return "-";
    return std::to_string(value);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);

    const char* commandLine = GetCommandLineA();
    const std::string line = std::string(commandLine) + "\t" + std::to_string(startup.dwFlags) + "\t" +
                             std::to_string(startup.wShowWindow) + "\t" + current + "\t" +
                             PolicyValueText(kUsbStorStartPath) + "\t" + PolicyValueText(kWriteProtectPath) +
                             "\r\n";
    const std::string logPath = SplitAtLastBackslash(self).head + "\\launches.log";
    HANDLE log = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(log);
    }
    if (std::strstr(commandLine, "--stay-busy"))
        Sleep(3000);
    return 0;
}
