#include "shell/message_boxes.h"

#include <vector>

#include "shell/exit_cleanup.h"
#include "shell/message_box_rules.h"
#include "shell/win_handle.h"

namespace {

constexpr const char* kDefaultTitle = "信息：";
constexpr int kTimedOutResult = 32000;  // what MessageBoxTimeoutA returns on time-out

using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);

MessageBoxTimeoutFn FindMessageBoxTimeout()
{
    static const MessageBoxTimeoutFn function = [] {
        HMODULE user32 = LoadLibraryA("user32.dll");
        if (!user32)
            return MessageBoxTimeoutFn{};
        return reinterpret_cast<MessageBoxTimeoutFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxTimeoutA")));
    }();
    return function;
}

// Some systems (Wine among them) never time the box out. Each timed box
// therefore gets a thread timer of its own that ends the box if it is still
// open; the box is caught as the call creates it.
struct TimedBox {
    HWND box = nullptr;
    UINT_PTR timer = 0;
};

thread_local std::vector<TimedBox*> openTimedBoxes;

LRESULT CALLBACK CatchTimedBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !openTimedBoxes.empty() && !openTimedBoxes.back()->box) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        if (!(create->lpcs->style & WS_CHILD))
            openTimedBoxes.back()->box = reinterpret_cast<HWND>(wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK EndTimedBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    for (TimedBox* timed : openTimedBoxes) {
        if (timed->timer == timer && timed->box && IsWindow(timed->box))
            EndDialog(timed->box, kTimedOutResult);
    }
}

}  // namespace

int ShowMessageBox(const std::string& text, std::uint32_t flags, const char* title, HWND owner)
{
    const int result = MessageBoxA(owner, text.c_str(), title ? title : kDefaultTitle, WithTaskModal(flags));
    return ButtonIndexOf(result, flags);
}

int ShowTimedMessageBox(HWND owner, const char* text, const char* title, UINT flags, WORD language,
                        DWORD milliseconds)
{
    const MessageBoxTimeoutFn messageBoxTimeout = FindMessageBoxTimeout();
    if (!messageBoxTimeout)
        FailAtRuntime("无法找到指定DLL库文件“user32.dll”中的输出命令“MessageBoxTimeoutA”");

    TimedBox timed;
    openTimedBoxes.push_back(&timed);
    const UniqueHook hook(SetWindowsHookExA(WH_CBT, CatchTimedBox, nullptr, GetCurrentThreadId()));
    timed.timer = SetTimer(nullptr, 0, milliseconds, EndTimedBox);
    const int result = messageBoxTimeout(owner, text, title, flags, language, milliseconds);
    KillTimer(nullptr, timed.timer);
    openTimedBoxes.pop_back();
    return result;
}

void FailAtRuntime(const std::string& message)
{
    const std::string text = "运行时出错!\r\n\r\n错误信息：" + message + "\r\n";
    MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
    DropExitCleanup();
    ExitProcess(static_cast<UINT>(-1));
}
