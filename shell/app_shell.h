// The frame of both programs' processes: where they run from, the message
// loop, and the ways they end.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Makes the executable's directory the current directory; relative paths
// and started programs rely on it from then on.
void PrepareProcess();

// Directory of the executable without a trailing backslash ("C:" in a root).
std::string RunDirectory();
// The executable's file name, without any directory.
std::string ExecutableName();

// Runs the exit clean-up, then ends the process at once.
[[noreturn]] void EndProgram(int exitCode);

// Gets and dispatches messages until the quit request; `filter` sees each
// message first and returns true for one it has handled itself. Returns the
// quit request's code.
int RunMessageLoop(const std::function<bool(const MSG&)>& filter);

// Handles the messages already queued, as the loop would, and returns when
// the queue is empty or the quit request is next; the quit request stays
// queued for the loop.
void DispatchPendingMessages(const std::function<bool(const MSG&)>& filter);
