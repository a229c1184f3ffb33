// The updater's one window, "下载管理器". For now it is an empty frame; its
// task row and log come with the download.
#pragma once

#include <windows.h>

#include <functional>

class DownloadWindow {
public:
    // Creates the window, runs `created` while it is still hidden, then
    // shows it. False when the window cannot be created.
    bool Load(HINSTANCE instance, const std::function<void()>& created);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
