// The system message boxes both programs use to tell the user something.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// A modal box; returns the pressed button as an index (OK 0, Cancel 1, ...).
// Without a title the box is titled "信息：". Task-modal unless the flags ask
// for a system-modal box, so the thread's windows take no input meanwhile.
int ShowMessageBox(const std::string& text, std::uint32_t flags, const char* title = nullptr,
                   HWND owner = nullptr);

// A box that closes itself after `milliseconds`, returning 32000 then.
// It is not task-modal: the program's windows stay usable while it is open.
int ShowTimedMessageBox(HWND owner, const char* text, const char* title, UINT flags, WORD language,
                        DWORD milliseconds);

// The run-time error box; when it is closed the process ends with -1 and
// without its exit clean-up.
[[noreturn]] void FailAtRuntime(const std::string& message);
