// The program's one window: the USB storage button, the write-protect check
// box, the version label, the status line, the about timer and the popup menu.
// Its handlers change it only through the control properties below.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "policy/policy_store.h"
#include "shell/timer_period.h"

struct MainWindowEvents {
    std::function<void()> created;  // after the controls exist, before the window is shown
    std::function<void()> usbButtonClicked;
    std::function<void()> writeProtectClicked;  // after the box has toggled its mark
    std::function<void()> checkForUpdateChosen;
    std::function<void()> aboutChosen;
    std::function<void()> aboutTimerTicked;
};

class ControlCaption : public CaptionControl {
public:
    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    HWND control = nullptr;
};

class ControlCheck : public CheckControl {
public:
    int CheckState() const override;
    void SetCheckState(int state) override;
    HWND control = nullptr;
};

class MainWindow {
public:
    // Creates the window and its controls, raises `created`, then shows the
    // window. False when the window cannot be created.
    bool Load(HINSTANCE instance, MainWindowEvents events);

    // The window's own keys (Tab, Esc, Enter); true when `msg` was one of them.
    bool HandleDialogKey(const MSG& msg);

    CaptionControl& UsbButton() { return usbButton_; }
    CheckControl& WriteProtectBox() { return writeProtectBox_; }
    void SetVersionCaption(const std::string& caption);
    // Painted before this returns, so it shows while the thread blocks.
    void SetStatusCaption(const std::string& caption);
    void SetAboutTimerPeriod(int milliseconds);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetIcons(HINSTANCE instance);
    void CreateControls(HINSTANCE instance);
    void HandleCommand(WORD id, WORD notification);
    void OpenPopupMenu();
    LRESULT ColourStatic(HDC dc, HWND control);

    HWND window_ = nullptr;
    HWND versionLabel_ = nullptr;
    HWND statusLabel_ = nullptr;
    HWND lastFocus_ = nullptr;
    ControlCaption usbButton_;
    ControlCheck writeProtectBox_;
    TimerPeriod aboutTimer_;
    MainWindowEvents events_;
};
