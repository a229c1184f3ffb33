// The download engine against the range server, over real sockets.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "shell/win_handle.h"
#include "tests/download/test_environment.h"
#include "updater/download/download_engine.h"

namespace {

constexpr DWORD kEndWaitMs = 60000;
constexpr int kShortPause = 200;

// What the event routine saw; the routine has no context argument.
struct Recorder {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> codes;
    std::vector<int> ids;
    bool onTestThread = false;
    bool stateWrong = false;
    int existingFileAnswer = kSkipDownload;
    Download* download = nullptr;
    DWORD testThread = 0;
} recorder;

int RecordEvent(int code, int, int, int, int task)
{
    if (code == 传送常量::收到数据 && recorder.download) {
        TaskData data = GetTaskData(*recorder.download);
        std::int64_t total = ReadTaskData(*recorder.download, data, kTotalSize, 0);
        std::int64_t done = ReadTaskData(*recorder.download, data, kBytesDone, 0);
        if (done <= 0 || (total >= 0 && done > total))
            recorder.stateWrong = true;
    }
    std::lock_guard lock(recorder.mutex);
    recorder.codes.push_back(code);
    recorder.ids.push_back(task);
    recorder.onTestThread = recorder.onTestThread || GetCurrentThreadId() == recorder.testThread;
    recorder.changed.notify_all();
    return code == 传送常量::存在同名文件 ? recorder.existingFileAnswer : 1;
}

int Count(const std::vector<int>& codes, int code) { return static_cast<int>(std::count(codes.begin(), codes.end(), code)); }

int ThreadsOfThisProcess()
{
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    return count;
}

class DownloadEngine : public testing::Test {
protected:
    void SetUp() override
    {
        std::lock_guard lock(recorder.mutex);
        recorder.codes.clear();
        recorder.ids.clear();
        recorder.onTestThread = false;
        recorder.stateWrong = false;
        recorder.existingFileAnswer = kSkipDownload;
        recorder.download = &download;
        recorder.testThread = GetCurrentThreadId();
        save = TestDirectory() + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
        for (char& c : save)
            if (c == '/')
                c = '_';
        DeleteFileA(save.c_str());
        param.savePath = save;
        param.connections = 5;
        param.retryPause = kShortPause;
        param.eventRoutine = RecordEvent;
    }
    void TearDown() override
    {
        ReleaseDownload(download);
        recorder.download = nullptr;
    }

    std::vector<int> WaitForEnd()
    {
        std::unique_lock lock(recorder.mutex);
        recorder.changed.wait_for(lock, std::chrono::milliseconds(kEndWaitMs),
                                  [] { return Count(recorder.codes, 传送常量::下载上传结束) > 0; });
        // Anything after the end event would be a fault: give it a moment to show.
        lock.unlock();
        Sleep(300);
        lock.lock();
        return recorder.codes;
    }

    static void ExpectFramed(const std::vector<int>& codes)
    {
        ASSERT_FALSE(codes.empty());
        EXPECT_EQ(codes.front(), 传送常量::下载上传开始);
        EXPECT_EQ(codes.back(), 传送常量::下载上传结束);
        EXPECT_EQ(Count(codes, 传送常量::下载上传开始), 1);
        EXPECT_EQ(Count(codes, 传送常量::下载上传结束), 1);
        EXPECT_FALSE(recorder.onTestThread);
    }

    TaskParam param;
    Download download;
    std::string save;
};

struct Transfer {
    const char* path;
    int connections;
    int requiredEvent;  // besides 3, 16 and 4
};

class WholeFile : public DownloadEngine, public testing::WithParamInterface<Transfer> {};

TEST_P(WholeFile, ArrivesByteForByte)
{
    param.address = ServerUrl(GetParam().path);
    param.connections = GetParam().connections;
    ASSERT_TRUE(StartTask(download, param));
    std::vector<int> codes = WaitForEnd();
    ExpectFramed(codes);
    EXPECT_GT(Count(codes, 传送常量::收到数据), 0);
    EXPECT_GT(Count(codes, GetParam().requiredEvent), 0);
    EXPECT_FALSE(recorder.stateWrong);
    EXPECT_TRUE(IsTaskComplete(download));
    EXPECT_TRUE(ReadWholeFile(save) == ReadWholeFile(DataPath("big.bin"))) << "the file differs";
    EXPECT_TRUE(GetTaskData(download).empty());
    // Every event carries the task's identifier.
    for (int id : recorder.ids)
        EXPECT_EQ(id, GetTaskId(download));
}

INSTANTIATE_TEST_SUITE_P(Server, WholeFile,
                         testing::Values(Transfer{"/plain/big.bin", 5, 传送常量::下载数据范围},
                                         Transfer{"/plain/big.bin", 1, 传送常量::线程正常结束},
                                         // the dropped connection ends abnormally and continues
                                         Transfer{"/drop-once/big.bin", 5, 传送常量::下载线程继续下载},
                                         Transfer{"/no-range/big.bin", 5, 传送常量::线程正常结束}));

TEST_F(DownloadEngine, FiveConnectionsEachFetchTheirOwnRange)
{
    std::string log = TestDirectory() + "\\requests.log";
    std::size_t before = ReadWholeFile(log).size();
    param.address = ServerUrl("/plain/big.bin?five");
    ASSERT_TRUE(StartTask(download, param));
    WaitForEnd();
    std::string requests = ReadWholeFile(log).substr(before);
    int partial = 0;
    for (std::size_t at = requests.find(" 206\n"); at != std::string::npos; at = requests.find(" 206\n", at + 1))
        ++partial;
    // Five ranges, and the first of them in two requests: the first request
    // asks for a bounded piece, as the size is not known yet.
    EXPECT_EQ(partial, 6) << requests;
    // Together the requests cover the file once: no byte asked for twice.
    std::vector<std::pair<long long, long long>> asked;
    for (std::size_t at = requests.find("bytes="); at != std::string::npos; at = requests.find("bytes=", at + 1)) {
        long long first = 0, last = 0;
        if (std::sscanf(requests.c_str() + at, "bytes=%lld-%lld", &first, &last) == 2)
            asked.emplace_back(first, last);
    }
    std::sort(asked.begin(), asked.end());
    long long next = 0;
    for (const auto& [first, last] : asked) {
        EXPECT_EQ(first, next) << requests;
        next = last + 1;
    }
    EXPECT_EQ(next, static_cast<long long>(ReadWholeFile(DataPath("big.bin")).size())) << requests;
}

TEST_F(DownloadEngine, SmallFileTakesOneRange)
{
    param.address = ServerUrl("/plain/small.bin");
    ASSERT_TRUE(StartTask(download, param));
    ExpectFramed(WaitForEnd());
    EXPECT_TRUE(IsTaskComplete(download));
    EXPECT_EQ(ReadWholeFile(save), ReadWholeFile(DataPath("small.bin")));
}

class FailedTransfer : public DownloadEngine, public testing::WithParamInterface<const char*> {};

TEST_P(FailedTransfer, EndsOnceAndIncomplete)
{
    param.address = GetParam();
    if (param.address.front() == '/')
        param.address = ServerUrl(param.address);
    param.receiveTimeout = 1000;
    ASSERT_TRUE(StartTask(download, param));
    ExpectFramed(WaitForEnd());
    EXPECT_FALSE(IsTaskComplete(download));
}

INSTANTIATE_TEST_SUITE_P(Server, FailedTransfer,
                         testing::Values("/missing/big.bin",            // 404
                                         "http://127.0.0.1:1/big.bin",  // nothing listens
                                         "/silent/big.bin",             // accepts, never answers
                                         "ftp://127.0.0.1/big.bin",     // no FTP
                                         "not an address"));

TEST_F(DownloadEngine, StopReturnsWithinThePauseAndLeavesNoThread)
{
    int threadsBefore = ThreadsOfThisProcess();
    param.address = ServerUrl("/slow/big.bin");
    param.retryPause = 1000;
    ASSERT_TRUE(StartTask(download, param));
    {
        std::unique_lock lock(recorder.mutex);
        ASSERT_TRUE(recorder.changed.wait_for(lock, std::chrono::milliseconds(kEndWaitMs), [] {
            return Count(recorder.codes, 传送常量::收到数据) > 0;
        }));
    }
    ULONGLONG start = GetTickCount64();
    TaskData state;
    EXPECT_TRUE(StopTask(download, 2, &state));
    ULONGLONG took = GetTickCount64() - start;
    EXPECT_LE(took, 1300u);
    EXPECT_GT(ReadTaskData(download, state, kBytesDone, 0), 0);
    EXPECT_EQ(ReadTaskData(download, state, kTotalSize, 0), 5000017);
    ExpectFramed(WaitForEnd());
    EXPECT_FALSE(IsTaskComplete(download));
    ReleaseDownload(download);
    EXPECT_EQ(GetTaskId(download), -1);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
}

// 5,000,017 bytes at 4,000,000 a second take 1.25 s; each connection's last
// read may come before its pause, a fifth of a second's worth at most.
TEST_F(DownloadEngine, SpeedLimitHoldsTheTaskBack)
{
    param.address = ServerUrl("/plain/big.bin");
    param.speedLimit = 4000000;
    ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(StartTask(download, param));
    {
        std::unique_lock lock(recorder.mutex);
        ASSERT_TRUE(recorder.changed.wait_for(lock, std::chrono::milliseconds(kEndWaitMs), [] {
            return Count(recorder.codes, 传送常量::下载上传结束) > 0;
        }));
    }
    EXPECT_GE(GetTickCount64() - start, 1000u);
    EXPECT_TRUE(IsTaskComplete(download));
    EXPECT_TRUE(ReadWholeFile(save) == ReadWholeFile(DataPath("big.bin"))) << "the file differs";
}

TEST_F(DownloadEngine, StopEndsASpeedLimitPause)
{
    param.address = ServerUrl("/plain/big.bin");
    param.speedLimit = 50000;
    param.retryPause = 1000;
    ASSERT_TRUE(StartTask(download, param));
    {
        std::unique_lock lock(recorder.mutex);
        ASSERT_TRUE(recorder.changed.wait_for(lock, std::chrono::milliseconds(kEndWaitMs), [] {
            return Count(recorder.codes, 传送常量::收到数据) > 0;
        }));
    }
    TaskData state;
    ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(StopTask(download, 2, &state));
    EXPECT_LE(GetTickCount64() - start, 1300u);
    EXPECT_LT(ReadTaskData(download, state, kBytesDone, 0), 200000) << "the limit held the transfer back";
    ExpectFramed(WaitForEnd());
    EXPECT_FALSE(IsTaskComplete(download));
}

TEST_F(DownloadEngine, ExistingFileAnswers)
{
    WriteWholeFile(save, "old");
    param.address = ServerUrl("/plain/small.bin");
    recorder.existingFileAnswer = kSkipDownload;
    ASSERT_TRUE(StartTask(download, param));
    std::vector<int> codes = WaitForEnd();
    EXPECT_EQ(Count(codes, 传送常量::存在同名文件), 1);
    EXPECT_EQ(codes.back(), 传送常量::下载上传结束);
    EXPECT_EQ(ReadWholeFile(save), "old");
    EXPECT_FALSE(IsTaskComplete(download));

    ReleaseDownload(download);
    recorder.codes.clear();
    recorder.existingFileAnswer = kChooseOtherName;
    std::string other = save.substr(0, save.size() - 4) + " (1).bin";
    DeleteFileA(other.c_str());
    ASSERT_TRUE(StartTask(download, param));
    WaitForEnd();
    EXPECT_EQ(ReadWholeFile(save), "old");
    EXPECT_EQ(ReadWholeFile(other), ReadWholeFile(DataPath("small.bin")));
}

TEST_F(DownloadEngine, NoTaskAnswers)
{
    EXPECT_EQ(GetTaskId(download), -1);
    EXPECT_TRUE(GetTaskData(download).empty());
    EXPECT_EQ(TakeReceivedBytes(download), 0);
    EXPECT_EQ(ReadTaskData(download, {}, kTotalSize, 0), -1);
    EXPECT_FALSE(StopTask(download, 2, nullptr));
}

}  // namespace
