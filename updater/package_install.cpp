#include "updater/package_install.h"

#include <windows.h>

#include "policy/program_launcher.h"
#include "shell/app_shell.h"
#include "shell/win_handle.h"
#include "updater/install_paths.h"
#include "updater/package/package_files.h"

namespace {

// The program ends within about a second of starting the updater (it waits
// up to 1000 ms for the updater to get ready); a package that arrives sooner
// would find the program's file still in use and leave the old one in place.
constexpr ULONGLONG kProgramEndWaitMs = 5000;
constexpr DWORD kProgramEndPollMs = 50;

// Whether a running program still holds the file.
bool IsInUse(const std::string& path)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

void WaitForProgramToEnd(const std::string& path, const std::function<void()>& handleWaitingMessages)
{
    const ULONGLONG start = GetTickCount64();
    while (IsInUse(path) && GetTickCount64() - start < kProgramEndWaitMs) {
        if (handleWaitingMessages)
            handleWaitingMessages();
        Sleep(kProgramEndPollMs);
    }
}

}  // namespace

void InstallPackage(const PackageInstall& install)
{
    const std::string package = PackagePath(install.updaterDirectory, install.task);
    std::string unpackDirectory = UnpackDirectory(install.updaterDirectory);
    CreateDirectoryA(unpackDirectory.c_str(), nullptr);
    // A half-unpacked or cut-off package must never reach a working installation.
    const bool unpacked = ExtractZip(package, unpackDirectory) == kExtractDone;
    if (unpacked && install.packageWhole) {
        std::string source = unpackDirectory;
        std::string target = ProgramDirectory(install.updaterDirectory);
        WaitForProgramToEnd(ProgramPath(install.updaterDirectory, install.programName), install.handleWaitingMessages);
        CopyDirectory(source, target, install.handleWaitingMessages);
    }
    DeleteFileA(package.c_str());
    DeleteDirectory(unpackDirectory);
    RunProgram(RestartCommandLine(install.updaterDirectory, install.programName), false);
    EndProgram(0);
}
