// The about box that counts down once a second on the main window's timer
// and presses Enter in itself when the count reaches zero. The count carries
// over to the next box when a box is closed early.
#pragma once

#include "shell/main_window.h"

constexpr int kCountdownStart = 6;

// Set by the window's created handler.
void StartCountdownAt(int value);

// The selection handler of the menu item "关于".
void ShowAbout(MainWindow& window);

// The periodic handler of the about timer.
void AboutTick(MainWindow& window);
