#include "tests/support/win_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "shell/gbk_text.h"

std::string BinDirectory()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    return SplitAtLastBackslash(self).head;
}

RunDirectory::RunDirectory(const std::string& name)
{
    // A number of its own for each directory: a program that the previous test
    // ended may still hold its files for a moment, so a path is never reused.
    static int made = 0;
    const std::string runs = BinDirectory() + "\\runs";
    CreateDirectoryA(runs.c_str(), nullptr);
    path_ = runs + "\\" + name + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

RunDirectory::~RunDirectory()
{
    RemoveTree(path_);
}

void RunDirectory::Install(const std::string& builtName, const std::string& installedName) const
{
    const std::string from = BinDirectory() + "\\" + builtName;
    if (!CopyFileA(from.c_str(), File(installedName).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << from << " to " << File(installedName) << ", error " << GetLastError();
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

Process::Process(const std::string& commandLine, const std::string& currentDirectory)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &info_))
        info_ = {};
}

Process::~Process()
{
    if (!Started())
        return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Process::WaitForExit(Milliseconds timeout)
{
    if (!Started() || WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Process::Running() const
{
    return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const std::string* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId && owner != search->processId)
        return TRUE;
    if (search->title && (!IsWindowVisible(window) || WindowText(window) != *search->title))
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

HWND FindTopWindow(DWORD processId, const std::string& title)
{
    WindowSearch search{processId, &title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

HWND WaitForTopWindow(DWORD processId, const std::string& title, Milliseconds timeout)
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopWindow(processId, title)) != nullptr; }, timeout);
    return window;
}

std::vector<HWND> TopWindowsOf(DWORD processId)
{
    WindowSearch search{processId, nullptr, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string DescribeTopWindows(DWORD processId)
{
    std::string description;
    for (HWND window : TopWindowsOf(processId))
        description += " [" + ClassOf(window) + " \"" + WindowText(window) + "\"" +
                       (IsWindowVisible(window) ? " visible]" : "]");
    return description;
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    // WM_GETTEXT reaches controls of other processes too.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return text;
}

std::string StoredWindowText(HWND window)
{
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, static_cast<int>(std::size(text)));
    char converted[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, converted, sizeof converted, nullptr, nullptr);
    return converted;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND ChildByText(HWND parent, const std::string& className, const std::string& text)
{
    for (HWND child : Children(parent)) {
        if (ClassOf(child) == className && WindowText(child) == text)
            return child;
    }
    return nullptr;
}

void MoveMouseTo(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    Sleep(30);
}

void ClickAt(POINT screen, bool rightButton)
{
    MoveMouseTo(screen);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(30);
    SendInput(1, &input[1], sizeof(INPUT));
    Sleep(30);
}

void ClickCentreOf(HWND window, bool rightButton)
{
    RECT rect;
    GetWindowRect(window, &rect);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, rightButton);
}

void PressKey(WORD virtualKey, bool withShift)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (withShift)
        key(VK_SHIFT, false);
    key(virtualKey, false);
    key(virtualKey, true);
    if (withShift)
        key(VK_SHIFT, true);
    for (INPUT& input : inputs) {
        SendInput(1, &input, sizeof(INPUT));
        Sleep(20);
    }
    Sleep(50);
}

HWND FocusOf(HWND topWindow)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(topWindow, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool Activate(HWND window)
{
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, Milliseconds(3000));
}

std::vector<std::string> ListDirectory(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::vector<std::string>> ReadLaunches(const std::string& directory)
{
    std::vector<std::vector<std::string>> launches;
    const std::string log = ReadFileBytes(directory + "\\launches.log");
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        std::vector<std::string> fields;
        std::size_t field = start;
        for (std::size_t tab; (tab = log.find('\t', field)) < end; field = tab + 1)
            fields.push_back(log.substr(field, tab - field));
        fields.push_back(log.substr(field, end - field));
        launches.push_back(fields);
        start = end + 2;
    }
    return launches;
}

HWND CreateTestWindow(const char* title)
{
    static const ATOM windowClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VantryTestWindow";
        return RegisterClassA(&wc);
    }();
    return CreateWindowExA(0, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(windowClass)), title,
                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}
