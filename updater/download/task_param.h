// The download engine's task settings and event codes.
#pragma once

#include <string>

// Called on the engine's threads with the event code, three values that
// depend on the code, and the task identifier. The answer matters only for
// 传送常量::存在同名文件.
using TransferEventRoutine = int (*)(int code, int a, int b, int c, int task);
// Called with a kind number, a time text, a message text, a level number and
// the task identifier.
using EngineMessageRoutine = void (*)(int kind, const char* time, const char* text, int level, int task);

namespace 传送常量 {
enum : int {
    下载上传开始 = 3,      // a, b, c: total size (-1 unknown), 0, 0
    下载上传结束 = 4,      // a: 1 when the file arrived whole; b: bytes done
    下载数据范围 = 6,      // a: number of ranges; b: total size
    下载线程继续下载 = 7,  // a: range number; b: try number
    线程正常结束 = 8,      // a: range number
    线程异常结束 = 9,      // a: range number; b: try number; c: HTTP status or 0
    收到数据 = 16,         // a: bytes done; b: total size
    存在同名文件 = 18,     // answer 0: choose another name, 1: give up, 2: path changed
};
}

// Answers to 传送常量::存在同名文件.
enum ExistingFileAnswer : int {
    kChooseOtherName = 0,
    kSkipDownload = 1,
    kSavePathChanged = 2,
};

inline constexpr char kAnonymousPassword[] = "anonymous@example.com";
inline constexpr char kDefaultFtpExtensions[] = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";

// The fields in their fixed order, with the values of a new record.
struct TaskParam {
    int options = 1;
    std::string address;
    std::string savePath;
    std::string loginName = "anonymous";
    std::string loginPassword = kAnonymousPassword;
    int connections = 1;
    int speedLimit = 0;  // bytes per second, 0 for none
    int connectTimeout = 20000;  // ms
    int sendTimeout = 20000;     // ms
    int receiveTimeout = 20000;  // ms
    int retryPause = 1000;       // ms
    int readBlock = 20480;       // bytes
    int secondBlock = 1024;      // bytes
    EngineMessageRoutine messageRoutine = nullptr;
    TransferEventRoutine eventRoutine = nullptr;
    std::string taskName;
    int ftpMode = 1;
    std::string ftpExtensions = kDefaultFtpExtensions;
    std::string extraText1;
    std::string extraText2;
};
