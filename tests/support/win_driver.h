// What the Windows-side tests use to drive real programs under Wine: run
// directories, processes, windows, input, and the recorder's log.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Durations in milliseconds (<chrono> cannot be compiled to GBK).
struct Milliseconds {
    explicit constexpr Milliseconds(unsigned long long count) : value(count) {}
    constexpr unsigned long long count() const { return value; }
    unsigned long long value;
};

// Milliseconds since `start`, a GetTickCount64() reading.
inline unsigned long long ElapsedSince(unsigned long long start)
{
    return GetTickCount64() - start;
}

// The directory that holds the test executables and the programs under test.
std::string BinDirectory();

// A fresh, empty directory "<bin>\runs\<name>" (a name may hold GBK
// characters and blanks); removed again with its contents.
class RunDirectory {
public:
    explicit RunDirectory(const std::string& name);
    ~RunDirectory();
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // Copies a program built beside the tests into this directory.
    void Install(const std::string& builtName, const std::string& installedName) const;

private:
    std::string path_;
};

void RemoveTree(const std::string& path);
bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);

// A started process, ended forcibly if the test leaves it running.
class Process {
public:
    Process(const std::string& commandLine, const std::string& currentDirectory);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit(Milliseconds timeout);
    bool Running() const;

private:
    PROCESS_INFORMATION info_ = {};
};

// Polls `condition` until it holds or `timeout` passes.
template <typename Condition>
bool WaitUntil(Condition condition, Milliseconds timeout = Milliseconds(5000))
{
    const unsigned long long start = GetTickCount64();
    while (!condition()) {
        if (ElapsedSince(start) > timeout.count())
            return false;
        Sleep(20);
    }
    return true;
}

// The first visible top-level window of `processId` titled `title`
// (any process when processId is 0), or null.
HWND FindTopWindow(DWORD processId, const std::string& title);
HWND WaitForTopWindow(DWORD processId, const std::string& title, Milliseconds timeout = Milliseconds(5000));
std::vector<HWND> TopWindowsOf(DWORD processId);
// Class and title of each top-level window of the process, for failure messages.
std::string DescribeTopWindows(DWORD processId);

std::string WindowText(HWND window);
// The text the system keeps for the window, read without sending it a
// message: it works while the window's thread is blocked.
std::string StoredWindowText(HWND window);
std::string ClassOf(HWND window);
// The child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
HWND ChildByText(HWND parent, const std::string& className, const std::string& text);
std::vector<HWND> Children(HWND parent);

// Real input through the system's input queue.
void MoveMouseTo(POINT screen);
void ClickAt(POINT screen, bool rightButton = false);
void ClickCentreOf(HWND window, bool rightButton = false);
void PressKey(WORD virtualKey, bool withShift = false);
// Brings the window to the front and waits until it has the focus.
bool Activate(HWND window);
HWND FocusOf(HWND topWindow);

// The files and directories directly in `directory`, sorted.
std::vector<std::string> ListDirectory(const std::string& directory);

// Lines of the recorder's "launches.log" in `directory`, each split at tabs.
std::vector<std::vector<std::string>> ReadLaunches(const std::string& directory);

// A window of the test's own, for messages and focus.
HWND CreateTestWindow(const char* title);
