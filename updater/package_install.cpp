#include "updater/package_install.h"

#include <windows.h>

#include "policy/program_launcher.h"
#include "shell/app_shell.h"
#include "updater/install_paths.h"
#include "updater/package/package_files.h"

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
        CopyDirectory(source, target, install.handleWaitingMessages);
    }
    DeleteFileA(package.c_str());
    DeleteDirectory(unpackDirectory);
    RunProgram(RestartCommandLine(install.updaterDirectory, install.programName), false);
    EndProgram(0);
}
