// The updater's one transfer: the task settings, the Download objects, the
// engine's routines and the window's close query. The lists are written on
// the window thread before the task starts; the engine's threads only read
// them.
#pragma once

#include <string>
#include <vector>

#include "updater/download_window.h"

// The window and the arguments that the routines below work with; both
// outlive the task.
void AttachDownloadWindow(DownloadWindow& window, const std::vector<std::string>& arguments);

// Configures task `task` from the arguments and starts it.
void RunDownloadTask(int task);

// The engine's routines, called on its threads.
int OnTransferEvent(int code, int a, int b, int c, int task);
void OnEngineMessage(int kind, const char* time, const char* text, int level, int task);

// The close query: true lets the window close; mid-transfer it asks, and
// stops the transfer when the user insists.
bool CanCloseWindow();

// The feedback of the hidden label, on the window thread: installs the
// package of task `task` and ends the process.
[[noreturn]] void InstallTaskPackage(int task, int value);

// Exit clean-up: lets go of the task settings and stops and frees every
// Download object.
void ReleaseDownloadTasks();
