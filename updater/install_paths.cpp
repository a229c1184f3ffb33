#include "updater/install_paths.h"

#include "shell/number_text.h"

namespace {

constexpr const char* kPackageDirectory = "\\升级文件";
constexpr const char* kPackageStem = "\\temp";
constexpr const char* kPackageExtension = ".zip";
constexpr const char* kUnpackName = "\\e_update";
constexpr const char* kParentStep = "\\..\\";

}  // namespace

std::string PackageDirectory(const std::string& updaterDirectory)
{
    return updaterDirectory + kPackageDirectory;
}

std::string PackagePath(const std::string& updaterDirectory, int task)
{
    return PackageDirectory(updaterDirectory) + kPackageStem + FormatInteger(task) + kPackageExtension;
}

std::string UnpackDirectory(const std::string& updaterDirectory)
{
    return updaterDirectory + kUnpackName;
}

std::string ProgramDirectory(const std::string& updaterDirectory)
{
    return updaterDirectory + kParentStep;
}

std::string ProgramPath(const std::string& updaterDirectory, const std::string& programName)
{
    return ProgramDirectory(updaterDirectory) + programName;
}

std::string RestartCommandLine(const std::string& updaterDirectory, const std::string& programName)
{
    return "\"" + ProgramPath(updaterDirectory, programName) + "\"";
}
