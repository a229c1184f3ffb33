// Putting the updater the program carries on disk, and handing over to it.
#pragma once

#include "update/updater_command.h"

// Writes "升级文件\update.exe" below the run directory when it is missing.
// An existing file is never replaced; failures are silent.
void EnsureUpdaterFile();

// Starts the updater with its command line, then ends the program with exit
// code 0 whether or not the start succeeded.
[[noreturn]] void StartUpdater(const UpdaterRequest& request);
