#include "shell/main_window.h"

#include "shell/win_handle.h"

namespace {

constexpr const char* kClassName = "VantryMainWindow";
constexpr const char* kTitle = "Vantry";
constexpr const char* kIconName = "DEFAULT_ICON";
constexpr int kWindowWidth = 216;
constexpr int kWindowHeight = 175;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Control identifiers stay clear of IDOK and IDCANCEL.
enum ControlId : WORD { kUsbButtonId = 1001, kWriteProtectId, kVersionLabelId, kStatusLabelId };
constexpr UINT_PTR kAboutTimerId = 1;

// Menu commands: 20000 plus the item's position in the menu tree (the
// root and the submenu send none).
constexpr UINT kCheckForUpdateId = 20002;
constexpr UINT kAboutId = 20003;
constexpr int kMenuOffset = 3;

struct ControlLayout {
    const char* className;
    const char* text;
    DWORD style;
    int left, top, width, height;
    WORD id;
};

// SS_NOTIFY lets the labels take their own mouse presses, so a right click on
// a label opens no menu.
constexpr ControlLayout kUsbButtonLayout = {
    "BUTTON", "启用USB设备", BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP, 48, 40, 112, 32,
    kUsbButtonId};
constexpr ControlLayout kWriteProtectLayout = {
    "BUTTON", "U盘写保护", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER | WS_TABSTOP, 72, 88, 80, 16,
    kWriteProtectId};
constexpr ControlLayout kVersionLabelLayout = {
    "STATIC", "", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOTIFY, 5, 128, 80, 16, kVersionLabelId};
constexpr ControlLayout kStatusLabelLayout = {
    "STATIC", "", SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 32, 0, 144, 32, kStatusLabelId};

MainWindow* theWindow = nullptr;

HWND CreateControl(HWND parent, HINSTANCE instance, const ControlLayout& layout)
{
    HWND control = CreateWindowExA(0, layout.className, layout.text, WS_CHILD | WS_VISIBLE | layout.style,
                                   layout.left, layout.top, layout.width, layout.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(layout.id)), instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

bool RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::string ControlCaption::Caption() const
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ControlCaption::SetCaption(std::string_view caption)
{
    SetWindowTextA(control, std::string(caption).c_str());
}

int ControlCheck::CheckState() const
{
    return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void ControlCheck::SetCheckState(int state)
{
    SendMessageA(control, BM_SETCHECK, state == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::Load(HINSTANCE instance, MainWindowEvents events)
{
    events_ = std::move(events);
    if (!RegisterWindowClass(instance))
        return false;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    window_ = CreateWindowExA(0, kClassName, kTitle, kWindowStyle, left, top, kWindowWidth, kWindowHeight,
                              nullptr, nullptr, instance, nullptr);
    if (!window_)
        return false;
    theWindow = this;
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetIcons(instance);
    CreateControls(instance);
    if (events_.created)
        events_.created();
    ShowWindow(window_, SW_SHOW);
    return true;
}

void MainWindow::SetIcons(HINSTANCE instance)
{
    const auto loadIcon = [instance](int width, int height) {
        return reinterpret_cast<LPARAM>(LoadImageA(instance, kIconName, IMAGE_ICON, width, height, LR_SHARED));
    };
    SendMessageA(window_, WM_SETICON, ICON_BIG,
                 loadIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    SendMessageA(window_, WM_SETICON, ICON_SMALL,
                 loadIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
}

void MainWindow::CreateControls(HINSTANCE instance)
{
    usbButton_.control = CreateControl(window_, instance, kUsbButtonLayout);
    writeProtectBox_.control = CreateControl(window_, instance, kWriteProtectLayout);
    versionLabel_ = CreateControl(window_, instance, kVersionLabelLayout);
    statusLabel_ = CreateControl(window_, instance, kStatusLabelLayout);
}

bool MainWindow::HandleDialogKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !window_ || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)))
        return false;
    switch (msg.wParam) {
    case VK_TAB: {
        const bool backwards = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(window_, GetFocus(), backwards))
            SetFocus(next);
        return true;
    }
    case VK_ESCAPE:
        SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    case VK_RETURN:
        return true;  // no default button
    default:
        return false;
    }
}

void MainWindow::SetVersionCaption(const std::string& caption)
{
    SetWindowTextA(versionLabel_, caption.c_str());
}

void MainWindow::SetStatusCaption(const std::string& caption)
{
    SetWindowTextA(statusLabel_, caption.c_str());
    RECT area;
    GetWindowRect(statusLabel_, &area);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(window_, &area, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::SetAboutTimerPeriod(int milliseconds)
{
    switch (aboutTimer_.Set(milliseconds)) {
    case TimerPeriod::Change::None:
        break;
    case TimerPeriod::Change::Stop:
        KillTimer(window_, kAboutTimerId);
        break;
    case TimerPeriod::Change::Restart:
        KillTimer(window_, kAboutTimerId);
        SetTimer(window_, kAboutTimerId, static_cast<UINT>(aboutTimer_.Period()), nullptr);
        break;
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (theWindow && theWindow->window_ == window)
        return theWindow->HandleMessage(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        HandleCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_RBUTTONDOWN:
        OpenPopupMenu();
        return 0;
    case WM_TIMER:
        if (wParam == kAboutTimerId && events_.aboutTimerTicked)
            events_.aboutTimerTicked();
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                lastFocus_ = focus;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(lastFocus_ ? lastFocus_ : usbButton_.control);
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kAboutTimerId);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::HandleCommand(WORD id, WORD notification)
{
    const std::function<void()>* handler = nullptr;
    if (id == kUsbButtonId && notification == BN_CLICKED)
        handler = &events_.usbButtonClicked;
    else if (id == kWriteProtectId && notification == BN_CLICKED)
        handler = &events_.writeProtectClicked;
    else if (id == kCheckForUpdateId)
        handler = &events_.checkForUpdateChosen;
    else if (id == kAboutId)
        handler = &events_.aboutChosen;
    if (handler && *handler)
        (*handler)();
}

void MainWindow::OpenPopupMenu()
{
    const UniqueMenu menu(CreatePopupMenu());
    HMENU upgrade = CreatePopupMenu();
    if (!menu || !upgrade) {
        if (upgrade)
            DestroyMenu(upgrade);
        return;
    }
    AppendMenuA(upgrade, MF_STRING, kCheckForUpdateId, "检测升级");
    // From here the popup owns the submenu and destroys it with itself.
    AppendMenuA(menu.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(upgrade), "升级");
    AppendMenuA(menu.Get(), MF_STRING, kAboutId, "关于");

    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, cursor.x + kMenuOffset, cursor.y + kMenuOffset, 0, window_,
                   nullptr);
}

LRESULT MainWindow::ColourStatic(HDC dc, HWND control)
{
    SetTextColor(dc, RGB(0, 0, 0));
    // The window's background is the plain button face: painting it under the
    // status line is what shows through a transparent label, and it wipes the
    // previous caption, which the clipped parent would not repaint.
    if (control == statusLabel_)
        SetBkMode(dc, TRANSPARENT);
    else
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}
