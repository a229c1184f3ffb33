#include "updater/download_window.h"

#include <commctrl.h>

namespace {

constexpr const char* kClassName = "VantryDownloadWindow";
constexpr const char* kPictureBoxClass = "VantryPictureBox";
constexpr const char* kTitle = "下载管理器";
constexpr int kWindowWidth = 538;
constexpr int kWindowHeight = 222;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr COLORREF kBackground = RGB(236, 236, 236);
constexpr COLORREF kTableBackground = RGB(255, 255, 255);
constexpr COLORREF kSeparatorColour = RGB(165, 174, 241);
constexpr COLORREF kLogBackground = RGB(255, 255, 255);
constexpr int kProgressRange = 100;

// Private messages: a window update from another thread, and the feedback.
constexpr UINT kRunOnWindowThread = WM_APP + 1;
constexpr UINT kFeedback = WM_APP + 2;

enum class Parent { Window, TableBox, RowBox };

struct ControlLayout {
    HWND DownloadWindow::*member;
    Parent parent;
    const char* className;
    const char* text;
    DWORD style;
    int left, top, width, height;
};

constexpr DWORD kLabelStyle = SS_LEFTNOWORDWRAP | SS_CENTERIMAGE;

DownloadWindow* theWindow = nullptr;

// Every brush lives as long as the process, like the window classes.
HBRUSH BrushOf(COLORREF colour)
{
    return CreateSolidBrush(colour);
}

bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, COLORREF background)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = BrushOf(background);
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreateControl(HWND parent, HINSTANCE instance, const ControlLayout& layout, bool shown)
{
    HWND control = CreateWindowExA(0, layout.className, layout.text, WS_CHILD | (shown ? WS_VISIBLE : 0) | layout.style,
                                   layout.left, layout.top, layout.width, layout.height, parent, nullptr, instance,
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void MoveControlTo(HWND control, int top)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(control, nullptr, rect.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TopOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect.top;
}

int HeightOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    return rect.bottom - rect.top;
}

}  // namespace

void SetControlText(HWND control, const std::string& text)
{
    SetWindowTextA(control, text.c_str());
}

void ShowControl(HWND control, bool shown)
{
    ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

void SetProgressPosition(HWND progressBar, int percent)
{
    SendMessageA(progressBar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

bool DownloadWindow::Load(HINSTANCE instance, DownloadWindowEvents events)
{
    theWindow = this;
    events_ = std::move(events);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClass(instance, kClassName, WindowProc, kBackground) ||
        !RegisterWindowClass(instance, kPictureBoxClass, PictureBoxProc, kTableBackground))
        return false;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    window_ = CreateWindowExA(0, kClassName, kTitle, kWindowStyle, left, top, kWindowWidth, kWindowHeight, nullptr,
                              nullptr, instance, nullptr);
    if (!window_)
        return false;
    CreateControls(instance);
    if (events_.created)
        events_.created();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetFocus(log_);
    return true;
}

void DownloadWindow::CreateControls(HINSTANCE instance)
{
    // 标签1任务名称 to 标签5相关操作 head the columns; the row's controls
    // are shown by SetUpTaskRow.
    const ControlLayout shownLayouts[] = {
        {&DownloadWindow::tableBox_, Parent::Window, kPictureBoxClass, "", 0, 6, 6, 520, 160},
        {&DownloadWindow::rowBox_, Parent::TableBox, kPictureBoxClass, "", 0, 1, 1, 520, 48},
        {nullptr, Parent::RowBox, "STATIC", "任务名称", kLabelStyle, 1, -1, 189, 19},
        {nullptr, Parent::RowBox, "STATIC", "任务大小", kLabelStyle, 191, -1, 78, 19},
        {nullptr, Parent::RowBox, "STATIC", "下载进度", kLabelStyle, 270, -1, 124, 19},
        {nullptr, Parent::RowBox, "STATIC", "下载速度", kLabelStyle, 395, -1, 65, 19},
        {nullptr, Parent::RowBox, "STATIC", "相关操作", kLabelStyle, 461, -1, 53, 19},
        {&DownloadWindow::log_, Parent::Window, "EDIT", "",
         WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 6, 62, 520, 126},
    };
    const ControlLayout hiddenLayouts[] = {
        {&DownloadWindow::nameLabel_, Parent::RowBox, "STATIC", "", kLabelStyle, 2, 21, 188, 16},
        {&DownloadWindow::sizeLabel_, Parent::RowBox, "STATIC", "", kLabelStyle, 191, 21, 78, 16},
        {&DownloadWindow::progressBar_, Parent::RowBox, PROGRESS_CLASSA, "", 0, 270, 21, 124, 16},
        {&DownloadWindow::speedLabel_, Parent::RowBox, "STATIC", "", kLabelStyle, 399, 21, 61, 16},
        {&DownloadWindow::operationLabel_, Parent::RowBox, "STATIC", "", kLabelStyle, 461, 21, 53, 16},
        {&DownloadWindow::separatorLine_, Parent::RowBox, "STATIC", "", 0, 1, 40, 513, 1},
        {&DownloadWindow::feedbackLabel_, Parent::RowBox, "STATIC", "反馈", kLabelStyle, 415, 45, 32, 16},
        // ZIP压缩1 has no visible form; this keeps its place in the row.
        {nullptr, Parent::RowBox, "STATIC", "", 0, 455, 45, 24, 24},
    };
    const auto parentOf = [&](Parent parent) {
        return parent == Parent::Window ? window_ : parent == Parent::TableBox ? tableBox_ : rowBox_;
    };
    const auto create = [&](const ControlLayout& layout, bool shown) {
        HWND control = CreateControl(parentOf(layout.parent), instance, layout, shown);
        if (layout.member)
            this->*layout.member = control;
    };
    for (const ControlLayout& layout : shownLayouts)
        create(layout, true);
    for (const ControlLayout& layout : hiddenLayouts)
        create(layout, false);

    SendMessageA(progressBar_, PBM_SETRANGE32, 0, kProgressRange);
    // The log only grows: lift the edit control's 30000-character default.
    SendMessageA(log_, EM_SETLIMITTEXT, 0, 0);
    feedbackLabelDefault_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(feedbackLabel_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FeedbackLabelProc)));
}

bool DownloadWindow::HandleDialogKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || GetAncestor(msg.hwnd, GA_ROOT) != window_)
        return false;
    SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

void DownloadWindow::SetUpTaskRow()
{
    taskRows_.assign(1, TaskRow{nameLabel_, sizeLabel_, progressBar_, operationLabel_, speedLabel_, separatorLine_});
    const TaskRow& row = taskRows_.front();
    const int top = TopOf(row.nameLabel);
    ShowControl(row.nameLabel, true);
    MoveControlTo(row.nameLabel, top);
    ShowControl(row.sizeLabel, true);
    MoveControlTo(row.sizeLabel, top);
    ShowControl(row.progressBar, false);
    MoveControlTo(row.progressBar, top);
    ShowControl(row.separatorLine, true);
    MoveControlTo(row.separatorLine, top + HeightOf(row.nameLabel));
    ShowControl(row.speedLabel, true);
    MoveControlTo(row.speedLabel, top);
    ShowControl(row.operationLabel, true);
    MoveControlTo(row.operationLabel, top);
}

const TaskRow* DownloadWindow::TaskRowAt(int number) const
{
    if (number < 1 || number > static_cast<int>(taskRows_.size()))
        return nullptr;
    return &taskRows_[number - 1];
}

void DownloadWindow::AppendLog(const std::string& text)
{
    const LRESULT length = GetWindowTextLengthA(log_);
    SendMessageA(log_, EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageA(log_, EM_SCROLLCARET, 0, 0);
    SendMessageA(log_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string DownloadWindow::Log() const
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(log_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(log_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DownloadWindow::RunOnWindowThread(const std::function<void()>& update)
{
    if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId()) {
        update();
        return;
    }
    SendMessageA(window_, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&update));
}

void DownloadWindow::CallFeedback(int task, int value)
{
    SendMessageA(feedbackLabel_, kFeedback, static_cast<WPARAM>(task), value);
}

LRESULT CALLBACK DownloadWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (theWindow && theWindow->window_ == window)
        return theWindow->HandleMessage(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT DownloadWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kRunOnWindowThread:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        if (!events_.mayClose || events_.mayClose())
            DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        // The updater's only window: with it gone the program ends.
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

// The picture boxes pass their labels' colouring up to the window.
LRESULT CALLBACK DownloadWindow::PictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC && theWindow)
        return theWindow->ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    return DefWindowProcA(box, message, wParam, lParam);
}

LRESULT CALLBACK DownloadWindow::FeedbackLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kFeedback) {
        if (theWindow->events_.feedback)
            theWindow->events_.feedback(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    }
    return CallWindowProcA(theWindow->feedbackLabelDefault_, label, message, wParam, lParam);
}

LRESULT DownloadWindow::ColourControl(HDC dc, HWND control)
{
    static const HBRUSH separatorBrush = BrushOf(kSeparatorColour);
    static const HBRUSH tableBrush = BrushOf(kTableBackground);
    static const HBRUSH logBrush = BrushOf(kLogBackground);
    if (control == separatorLine_)
        return reinterpret_cast<LRESULT>(separatorBrush);
    if (control == log_) {
        SetBkColor(dc, kLogBackground);
        return reinterpret_cast<LRESULT>(logBrush);
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(tableBrush);
}
