// The paths of the installation, formed from the updater directory and the
// task number and used as they stand: the "\..\" is never resolved.
#pragma once

#include <string>

// The directory the package is saved in, below the updater directory.
std::string PackageDirectory(const std::string& updaterDirectory);
std::string PackagePath(const std::string& updaterDirectory, int task);
std::string UnpackDirectory(const std::string& updaterDirectory);
std::string ProgramDirectory(const std::string& updaterDirectory);
// The program named in the updater's arguments, in the program directory.
std::string ProgramPath(const std::string& updaterDirectory, const std::string& programName);
// The program to start after the installation, in double quotes, so that a
// blank in the directory neither splits it nor lets a shorter name be tried.
std::string RestartCommandLine(const std::string& updaterDirectory, const std::string& programName);
