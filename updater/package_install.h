// Installing the downloaded package over the program directory, and handing
// back to the program.
#pragma once

#include <functional>
#include <string>

struct PackageInstall {
    std::string updaterDirectory;
    int task = 1;
    std::string programName;  // started from the program directory afterwards
    bool packageWhole = false;  // the engine's word that the file arrived complete
    std::function<void()> handleWaitingMessages;
};

// Unpacks the package; copies it over the program directory only when every
// entry was unpacked from a package that arrived whole; removes the package
// and the unpack directory; starts the program; ends the process.
[[noreturn]] void InstallPackage(const PackageInstall& install);
