// The updater's one window, "下载管理器": a table with a header row and one
// task row, the log below it, and two parts the user never sees: the hidden
// label 标签10反馈事件 that hands the installation to the window thread,
// and the place of the ZIP component ZIP压缩1.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The controls that display one task; the record owns none of them.
struct TaskRow {
    HWND nameLabel = nullptr;
    HWND sizeLabel = nullptr;
    HWND progressBar = nullptr;
    HWND operationLabel = nullptr;
    HWND speedLabel = nullptr;
    HWND separatorLine = nullptr;
};

struct DownloadWindowEvents {
    std::function<void()> created;  // after the controls exist, before the window is shown
    std::function<bool()> mayClose;  // the close query; true lets the window close
    std::function<void(int task, int value)> feedback;  // the hidden label's feedback
};

class DownloadWindow {
public:
    // Creates the window and its controls, raises `created`, then shows the
    // window. False when the window cannot be created.
    bool Load(HINSTANCE instance, DownloadWindowEvents events);

    // Esc asks the window to close, as its close button does; true when
    // `msg` was that key.
    bool HandleDialogKey(const MSG& msg);

    // Makes row 1 of the task rows from the row controls and lays it out.
    void SetUpTaskRow();
    // Row `number` (from 1), or null when there is none.
    const TaskRow* TaskRowAt(int number) const;
    void ForgetTaskRows() { taskRows_.clear(); }

    // Appends `text` at the end of the log and keeps the end in view; no line
    // break is added.
    void AppendLog(const std::string& text);
    std::string Log() const;

    // Runs `update` on the window thread and returns when it has run (at
    // once when called there). Nothing runs once the window is gone.
    void RunOnWindowThread(const std::function<void()>& update);
    // Raises the hidden label's feedback on the window thread; the caller
    // waits until the handler returns.
    void CallFeedback(int task, int value);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FeedbackLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(HINSTANCE instance);
    LRESULT ColourControl(HDC dc, HWND control);

    HWND window_ = nullptr;
    HWND tableBox_ = nullptr;     // 图片框1
    HWND rowBox_ = nullptr;       // 图片框2
    HWND nameLabel_ = nullptr;    // 标签6名称
    HWND sizeLabel_ = nullptr;    // 标签7大小
    HWND progressBar_ = nullptr;  // 进度条1
    HWND speedLabel_ = nullptr;   // 标签8速度
    HWND operationLabel_ = nullptr;  // 标签9操作
    HWND separatorLine_ = nullptr;   // 外形框1
    HWND feedbackLabel_ = nullptr;   // 标签10反馈事件
    HWND log_ = nullptr;             // 编辑框1交互信息
    WNDPROC feedbackLabelDefault_ = nullptr;
    std::vector<TaskRow> taskRows_;
    DownloadWindowEvents events_;
};

// The row controls as the transfer changes them.
void SetControlText(HWND control, const std::string& text);
void ShowControl(HWND control, bool shown);
void SetProgressPosition(HWND progressBar, int percent);
