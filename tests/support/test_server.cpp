#include "tests/support/test_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/support/win_driver.h"

namespace {

constexpr Milliseconds kStartWait(10000);
constexpr Milliseconds kStopWait(5000);

// Wine's own export: the Unix path of a Windows path, for the Linux server.
std::string UnixPathOf(const std::string& windowsPath)
{
    using UnixFileNameFn = char*(CDECL*)(const wchar_t*);
    static const auto unixFileName = reinterpret_cast<UnixFileNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixFileName)
        return {};
    std::wstring wide(windowsPath.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unixPath = unixFileName(wide.c_str());
    if (!unixPath)
        return {};
    std::string path = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return path;
}

// Wine starts a Linux program as it is named, but gives no handle that can
// be waited on: the server reports through files instead.
bool StartLinuxProgram(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread)
        CloseHandle(info.hThread);
    if (info.hProcess)
        CloseHandle(info.hProcess);
    return true;
}

void WriteFileBytes(const std::string& path, std::string_view bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

const char* ReasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
    }
}

}  // namespace

int UpdateServerPort()
{
    const char* host = VANTRY_UPDATE_HOST;
    const char* colon = std::strrchr(host, ':');
    return colon ? std::atoi(colon + 1) : 80;
}

std::string HttpResponse(int status, std::string_view body, std::string_view headers)
{
    return "HTTP/1.0 " + std::to_string(status) + " " + ReasonOf(status) + "\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n" + std::string(headers) + "\r\n" + std::string(body);
}

TestServer::TestServer(const std::string& name, int port)
{
    Start(name, port);
}

void TestServer::Start(const std::string& name, int port)
{
    const std::string servers = BinDirectory() + "\\servers";
    CreateDirectoryA(servers.c_str(), nullptr);
    directory_ = servers + "\\" + name;
    RemoveTree(directory_);
    CreateDirectoryA(directory_.c_str(), nullptr);
    CreateDirectoryA(File("responses").c_str(), nullptr);

    const std::string unixDirectory = UnixPathOf(directory_);
    ASSERT_FALSE(unixDirectory.empty()) << "no Unix path for " << directory_;
    ASSERT_TRUE(StartLinuxProgram(std::string(VANTRY_PYTHON) + " " + VANTRY_SERVER_SCRIPT + " " +
                                  std::to_string(port) + " \"" + unixDirectory + "\""))
        << "python3 could not be started";
    WaitUntil([&] { return FileExists(File("ready")) || FileExists(File("error")); }, kStartWait);
    ASSERT_FALSE(FileExists(File("error"))) << ReadFileBytes(File("error"));
    ASSERT_TRUE(FileExists(File("ready"))) << "the test server did not start on port " << port;
    listening_ = true;
}

TestServer::~TestServer()
{
    if (listening_) {
        WriteFileBytes(File("stop"), "");
        EXPECT_TRUE(WaitUntil([&] { return FileExists(File("stopped")); }, kStopWait))
            << "the test server did not stop";
    }
    RemoveTree(directory_);
}

void TestServer::Serve(const std::string& path, std::string_view response, unsigned delayMilliseconds) const
{
    const std::string file = File("responses\\" + path.substr(path.find_first_not_of('/')));
    WriteFileBytes(file, response);
    if (delayMilliseconds)
        WriteFileBytes(file + ".delay", std::to_string(delayMilliseconds));
    else
        DeleteFileA((file + ".delay").c_str());
}

std::vector<std::string> TestServer::Requests() const
{
    // Each request ends in its blank line, and the log adds one more.
    const std::string log = ReadFileBytes(File("requests.log"));
    std::vector<std::string> requests;
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = log.find("\r\n\r\n\r\n", start);
        if (end == std::string::npos)
            break;
        requests.push_back(log.substr(start, end + 2 - start));
        start = end + 6;
    }
    return requests;
}

void TestServer::ForgetRequests() const
{
    DeleteFileA(File("requests.log").c_str());
}
