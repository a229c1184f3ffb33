#include "update/updater_handoff.h"

#include <windows.h>

#include "policy/program_launcher.h"
#include "shell/app_shell.h"
#include "shell/win_handle.h"
#include "update/updater_image.h"

namespace {

// A file or a directory of that name.
bool PathExists(const std::string& path)
{
    WIN32_FIND_DATAA found;
    return static_cast<bool>(UniqueFind(FindFirstFileA(path.c_str(), &found)));
}

void WriteUpdaterImage(const std::string& path)
{
    const UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    WriteFile(file.Get(), kUpdaterImage, static_cast<DWORD>(kUpdaterImageSize), &written, nullptr);
}

}  // namespace

void EnsureUpdaterFile()
{
    const std::string directory = RunDirectory() + "\\" + kUpdaterDirectoryName;
    const std::string updater = UpdaterPath(RunDirectory());
    if (!PathExists(directory)) {
        // Relative to the current directory, which start-up made the run directory.
        CreateDirectoryA(kUpdaterDirectoryName, nullptr);
        WriteUpdaterImage(updater);
    } else if (!PathExists(updater)) {
        WriteUpdaterImage(updater);
    }
}

void StartUpdater(const UpdaterRequest& request)
{
    RunProgram(BuildUpdaterCommandLine(RunDirectory(), request), false);
    EndProgram(0);
}
