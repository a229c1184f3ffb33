#include "updater/download_window.h"

namespace {

constexpr const char* kClassName = "VantryDownloadWindow";
constexpr const char* kTitle = "下载管理器";
constexpr int kWindowWidth = 538;
constexpr int kWindowHeight = 222;
constexpr COLORREF kBackground = RGB(236, 236, 236);
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    // Lives as long as the process, like the class.
    windowClass.hbrBackground = CreateSolidBrush(kBackground);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

bool DownloadWindow::Load(HINSTANCE instance, const std::function<void()>& created)
{
    if (!RegisterWindowClass(instance, WindowProc))
        return false;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    HWND window = CreateWindowExA(0, kClassName, kTitle, kWindowStyle, left, top, kWindowWidth, kWindowHeight,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return false;
    if (created)
        created();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}

LRESULT CALLBACK DownloadWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        // The updater's only window: with it gone the program ends.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
