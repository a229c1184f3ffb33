// The about box as the countdown sees it: the system message box found among
// all top-level windows by its title.
#pragma once

#include <windows.h>

#include <string>

// The first top-level window, of any process, titled exactly `title`.
HWND FindBoxByTitle(const char* title);

// Replaces the box's message text; the box keeps its size and layout.
void SetBoxText(HWND box, const std::string& text);
