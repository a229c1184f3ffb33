// Starting other programs: the one way both programs create processes.
#pragma once

#include <string>

#include "policy/show_mode.h"

// Starts `commandLine` as it stands (no quoting is added) in the current
// directory. Waits for the end when `wait` is set, otherwise at most 1000 ms
// for the program to become ready for input. True when the process was created.
bool RunProgram(const std::string& commandLine, bool wait, ShowMode mode = ShowMode::Normal);

// Starts the system's per-user parameter refresh, hidden, after a policy change.
void RefreshPolicy();
