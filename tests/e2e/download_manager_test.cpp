// update.exe doing its work against the tests' HTTP server: the window and
// its log while the package downloads, the close query, and the installation
// of what arrived, started from the main program or on its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/vantry_fixture.h"
#include "tests/support/test_server.h"
#include "tests/support/win_driver.h"

// After windows.h, which win_driver.h brings in.
#include <commctrl.h>

namespace {

constexpr const char* kWindowTitle = "下载管理器";
constexpr const char* kPromptTitle = "提示信息";
constexpr const char* kUpdaterDirectory = "升级文件";
constexpr const char* kNewProgramMarker = "\0new Vantry";
constexpr std::size_t kNewProgramMarkerSize = 11;
constexpr const char* kNewText = "new a";
constexpr const char* kOldText = "old a";
// The directories of many.zip, each with one file.
constexpr int kManyCount = 300;
constexpr int kBoxTextId = 0xFFFF;
constexpr Milliseconds kInstallWait(30000);
constexpr Milliseconds kExitWait(5000);
// Long enough to look at the window before the first answer, well inside
// the receive time limit of 10 s.
constexpr unsigned kAnswerDelay = 3000;

std::string PackageFile(const std::string& name)
{
    const char* directory = std::getenv("VANTRY_PACKAGES");
    return std::string(directory ? directory : "") + "\\" + name;
}

std::string Address(const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(UpdateServerPort()) + path;
}

// The range server's slow files: 50 KB/s per connection.
std::string SlowAddress(const std::string& name)
{
    const char* port = std::getenv("VANTRY_RANGE_PORT");
    return "http://127.0.0.1:" + std::string(port ? port : "0") + "/slow/" + name;
}

bool IsSpeedText(const std::string& text)
{
    const std::size_t point = text.find('.');
    return point != std::string::npos && point > 0 && text.substr(point + 3) == "KB/s" &&
           text.find_first_not_of("0123456789") == point &&
           text.substr(point + 1, 2).find_first_not_of("0123456789") == std::string::npos;
}

std::string UpdaterLine(const std::string& updaterPath, const std::string& address)
{
    return "\"" + updaterPath + "\" 授权标记 " + address + " 新版本 运行 Vantry.exe Vantry.exe 说明";
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A program directory with the old program (the recording stand-in) and an
// old data file, and update.exe in its updater directory.
class Installation {
public:
    explicit Installation(const std::string& name) : directory_(name)
    {
        CreateDirectoryA(UpdaterDirectory().c_str(), nullptr);
        directory_.Install("update.exe", std::string(kUpdaterDirectory) + "\\update.exe");
        directory_.Install("recorder.exe", "Vantry.exe");
        CreateDirectoryA(directory_.File("data").c_str(), nullptr);
        WriteText(directory_.File("data\\a.txt"), kOldText);
    }

    std::string UpdaterDirectory() const { return directory_.File(kUpdaterDirectory); }
    std::string UpdaterPath() const { return UpdaterDirectory() + "\\update.exe"; }
    const RunDirectory& Directory() const { return directory_; }

    // The restart: the program directory's Vantry.exe, quoted, with the
    // updater directory as its current directory; and nothing left behind.
    void ExpectRestartedAndCleanedUp() const
    {
        const auto launches = ReadLaunches(directory_.Path());
        ASSERT_EQ(launches.size(), 1u);
        ASSERT_GE(launches[0].size(), 4u);
        EXPECT_EQ(launches[0][0], "\"" + UpdaterDirectory() + "\\..\\Vantry.exe\"");
        EXPECT_EQ(launches[0][3], UpdaterDirectory());
        EXPECT_FALSE(FileExists(UpdaterDirectory() + "\\升级文件\\temp1.zip")) << "the package is gone";
        EXPECT_FALSE(FileExists(UpdaterDirectory() + "\\e_update")) << "the unpack directory is gone";
        EXPECT_TRUE(FileExists(UpdaterPath()));
    }
    void ExpectNewFiles() const
    {
        EXPECT_TRUE(EndsWith(ReadFileBytes(directory_.File("Vantry.exe")),
                             std::string(kNewProgramMarker, kNewProgramMarkerSize)));
        EXPECT_EQ(ReadFileBytes(directory_.File("data\\a.txt")), kNewText);
    }
    void ExpectOldFiles() const
    {
        EXPECT_TRUE(ReadFileBytes(directory_.File("Vantry.exe")) == ReadFileBytes(BinDirectory() + "\\recorder.exe"))
            << "Vantry.exe was replaced";
        EXPECT_EQ(ReadFileBytes(directory_.File("data\\a.txt")), kOldText);
        EXPECT_FALSE(FileExists(directory_.File("evil.txt")));
        EXPECT_FALSE(FileExists(UpdaterDirectory() + "\\evil.txt"));
    }

private:
    static void WriteText(const std::string& path, const std::string& text)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    RunDirectory directory_;
};

// A child of `parent` by its place, as a user finds it.
HWND ChildAt(HWND parent, RECT place)
{
    for (HWND child : Children(parent)) {
        const RECT rect = ChildRect(child);
        if (rect.left == place.left && rect.top == place.top && rect.right - rect.left == place.right &&
            rect.bottom - rect.top == place.bottom)
            return child;
    }
    return nullptr;
}

struct ControlPlace {
    const char* name;
    RECT place;  // left, top, width, height
    const char* className;
    const char* text;
    bool visible;
};

// The window right after start, before the server has answered.
void ExpectWindowAsLoaded(HWND window)
{
    HWND table = ChildAt(window, {6, 6, 520, 160});
    ASSERT_NE(table, nullptr);
    HWND row = ChildAt(table, {1, 1, 520, 48});
    ASSERT_NE(row, nullptr);
    const ControlPlace places[] = {
        {"标签1任务名称", {1, -1, 189, 19}, "Static", "任务名称", true},
        {"标签2任务大小", {191, -1, 78, 19}, "Static", "任务大小", true},
        {"标签3下载进度", {270, -1, 124, 19}, "Static", "下载进度", true},
        {"标签4下载速度", {395, -1, 65, 19}, "Static", "下载速度", true},
        {"标签5相关操作", {461, -1, 53, 19}, "Static", "相关操作", true},
        {"标签6名称", {2, 21, 188, 16}, "Static", "", true},
        {"标签7大小", {191, 21, 78, 16}, "Static", "", true},
        {"进度条1", {270, 21, 124, 16}, "msctls_progress32", "", false},
        {"标签8速度", {399, 21, 61, 16}, "Static", "", true},
        {"标签9操作", {461, 21, 53, 16}, "Static", "", true},
        {"外形框1, moved up to the row's foot", {1, 37, 513, 1}, "Static", "", true},
        {"标签10反馈事件", {415, 45, 32, 16}, "Static", "反馈", false},
        {"ZIP压缩1", {455, 45, 24, 24}, "Static", "", false},
    };
    for (const ControlPlace& expected : places) {
        SCOPED_TRACE(expected.name);
        HWND control = ChildAt(row, expected.place);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), expected.className);
        EXPECT_EQ(WindowText(control), expected.text);
        EXPECT_EQ(IsWindowVisible(control) != FALSE, expected.visible);
    }
    HWND log = ChildAt(window, {6, 62, 520, 126});
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(ClassOf(log), "Edit");
    EXPECT_TRUE(GetWindowLongA(log, GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(WindowText(log), "执行下载任务1") << "the start entry has no line break";
}

class DownloadManagerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Listening()); }

    HWND StartUpdater(const std::string& address)
    {
        updater_ = std::make_unique<Process>(UpdaterLine(install_.UpdaterPath(), address), BinDirectory());
        if (!updater_->Started())
            return nullptr;
        return WaitForTopWindow(updater_->Id(), kWindowTitle);
    }
    HWND RowControl(HWND window, RECT place) const
    {
        return ChildAt(ChildAt(ChildAt(window, {6, 6, 520, 160}), {1, 1, 520, 48}), place);
    }
    HWND Log(HWND window) const { return ChildAt(window, {6, 62, 520, 126}); }
    // Asks to close with `ask`; the prompt comes, and `answer` closes it.
    void AskToCloseAndAnswer(const std::function<void()>& ask, int answer)
    {
        ask();
        HWND box = WaitForTopWindow(updater_->Id(), kPromptTitle);
        ASSERT_NE(box, nullptr) << DescribeTopWindows(updater_->Id());
        EXPECT_EQ(WindowText(GetDlgItem(box, kBoxTextId)), "请等待下载完成...");
        PostMessageA(GetDlgItem(box, answer), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }

    TestServer server_{"download manager"};
    Installation install_{"download manager 空 格"};
    std::unique_ptr<Process> updater_;
};

TEST_F(DownloadManagerTest, ShowsTheTaskAndKeepsTheTransferOnOk)
{
    server_.Serve("/size.bin", HttpResponse(200, ReadFileBytes(PackageFile("size.bin"))), kAnswerDelay);
    HWND window = StartUpdater(Address("/size.bin"));
    ASSERT_NE(window, nullptr);
    ExpectWindowAsLoaded(window);

    // Before the end, closing asks; OK keeps the window and the transfer, by
    // the close button's message and by Esc alike.
    AskToCloseAndAnswer([&] { PostMessageA(window, WM_CLOSE, 0, 0); }, IDOK);
    AskToCloseAndAnswer([&] { Activate(window); PressKey(VK_ESCAPE); }, IDOK);
    EXPECT_TRUE(IsWindow(window));

    HWND sizeLabel = RowControl(window, {191, 21, 78, 16});
    ASSERT_TRUE(WaitUntil([&] { return StoredWindowText(sizeLabel) == "1234.57K"; }, Milliseconds(10000)))
        << StoredWindowText(sizeLabel);
    EXPECT_EQ(StoredWindowText(RowControl(window, {2, 21, 188, 16})), "新版本");
    const std::string log = WindowText(Log(window));
    EXPECT_EQ(log.rfind("执行下载任务1 #传送常量.下载上传开始\r\n", 0), 0u) << log;

    // Not a ZIP archive: nothing is copied, and the program starts again.
    EXPECT_EQ(updater_->WaitForExit(kInstallWait), 0u);
    install_.ExpectRestartedAndCleanedUp();
    install_.ExpectOldFiles();
}

TEST_F(DownloadManagerTest, ShowsProgressAndSpeedWhileDataArrives)
{
    HWND window = StartUpdater(SlowAddress("size.bin"));
    ASSERT_NE(window, nullptr);
    HWND progressBar = RowControl(window, {270, 21, 124, 16});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(progressBar) != FALSE; }, Milliseconds(15000)));
    const std::string speed = WindowText(RowControl(window, {399, 21, 61, 16}));
    EXPECT_TRUE(IsSpeedText(speed)) << speed;
    EXPECT_FALSE(IsWindowVisible(RowControl(window, {461, 21, 53, 16}))) << "the operation label gives way";
    const LRESULT percent = SendMessageA(progressBar, PBM_GETPOS, 0, 0);
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
    EXPECT_NE(WindowText(Log(window)).find("\r\n #传送常量.收到数据\r\n"), std::string::npos);

    EXPECT_EQ(updater_->WaitForExit(kInstallWait), 0u);
    install_.ExpectRestartedAndCleanedUp();
    install_.ExpectOldFiles();
}

TEST_F(DownloadManagerTest, CancelStopsTheTransferAndCloses)
{
    server_.Serve("/size.bin", HttpResponse(200, ReadFileBytes(PackageFile("size.bin"))), kAnswerDelay);
    HWND window = StartUpdater(Address("/size.bin"));
    ASSERT_NE(window, nullptr);
    AskToCloseAndAnswer([&] { PostMessageA(window, WM_CLOSE, 0, 0); }, IDCANCEL);
    EXPECT_EQ(updater_->WaitForExit(kExitWait), 0u);
    EXPECT_TRUE(ReadLaunches(install_.Directory().Path()).empty()) << "a stopped transfer installs nothing";
    install_.ExpectOldFiles();
}

// After the end the task row says so, and the window closes without asking,
// also in the middle of the installation, which still runs to its end.
TEST_F(DownloadManagerTest, AfterTheEndClosesWithoutAskingWhileTheInstallationGoesOn)
{
    server_.Serve("/many.zip", HttpResponse(200, ReadFileBytes(PackageFile("many.zip"))));
    HWND window = StartUpdater(Address("/many.zip"));
    ASSERT_NE(window, nullptr);
    HWND operation = RowControl(window, {461, 21, 53, 16});
    ASSERT_TRUE(WaitUntil([&] { return StoredWindowText(operation) == "下载结束"; }, kInstallWait));
    EXPECT_TRUE(ReadLaunches(install_.Directory().Path()).empty()) << "the installation has only begun";
    EXPECT_TRUE(IsWindowVisible(operation));
    EXPECT_FALSE(IsWindowVisible(RowControl(window, {270, 21, 124, 16}))) << "the progress bar gives way";
    EXPECT_EQ(StoredWindowText(RowControl(window, {399, 21, 61, 16})), "");

    ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
    bool asked = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            asked = FindTopWindow(updater_->Id(), kPromptTitle) != nullptr;
            return asked || !IsWindow(window) || !updater_->Running();
        },
        kInstallWait));
    ASSERT_FALSE(asked) << "the close after the end asked";
    EXPECT_TRUE(updater_->Running()) << "the window closed before the installation ended";
    EXPECT_EQ(updater_->WaitForExit(kInstallWait), 0u);
    install_.ExpectRestartedAndCleanedUp();
    install_.ExpectNewFiles();
    for (int n = 0; n < kManyCount; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "many\\d%03d\\f.txt", n);
        ASSERT_EQ(ReadFileBytes(install_.Directory().File(name)), "many") << name;
    }
}

TEST(PackageInstallTest, CopiesOnlyAPackageThatArrivedWholeAndUnpackedWhole)
{
    TestServer server("package install");
    ASSERT_TRUE(server.Listening());
    const std::string whole = ReadFileBytes(PackageFile("install.zip"));
    server.Serve("/install.zip", HttpResponse(200, whole));
    // A valid archive, but the server promised more than it sent.
    server.Serve("/short.zip", "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(whole.size() + 100) +
                                   "\r\n\r\n" + whole);
    for (const char* name : {"truncated.zip", "crc.zip", "slip.zip"})
        server.Serve(std::string("/") + name, HttpResponse(200, ReadFileBytes(PackageFile(name))));

    const struct {
        const char* what;
        const char* path;
        bool installs;
    } rows[] = {
        {"a whole package", "/install.zip", true},
        {"a missing package", "/missing.zip", false},
        {"a package cut short in transfer", "/short.zip", false},
        {"a truncated package", "/truncated.zip", false},
        {"an entry that fails its CRC", "/crc.zip", false},
        {"an entry that climbs out of the target", "/slip.zip", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Installation install(std::string("install ") + (row.path + 1));
        Process updater(UpdaterLine(install.UpdaterPath(), Address(row.path)), BinDirectory());
        ASSERT_TRUE(updater.Started());
        EXPECT_EQ(updater.WaitForExit(kInstallWait), 0u) << DescribeTopWindows(updater.Id());
        install.ExpectRestartedAndCleanedUp();
        if (row.installs)
            install.ExpectNewFiles();
        else
            install.ExpectOldFiles();
    }
}

// The program may still be ending when the package has arrived: its file is
// replaced once it has ended.
TEST(PackageInstallTest, WaitsForTheProgramToEndBeforeReplacingIt)
{
    TestServer server("package install busy");
    ASSERT_TRUE(server.Listening());
    server.Serve("/install.zip", HttpResponse(200, ReadFileBytes(PackageFile("install.zip"))));
    Installation install("install busy");
    Process program("\"" + install.Directory().File("Vantry.exe") + "\" --stay-busy", install.Directory().Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitUntil([&] { return ReadLaunches(install.Directory().Path()).size() == 1; }));

    Process updater(UpdaterLine(install.UpdaterPath(), Address("/install.zip")), BinDirectory());
    ASSERT_TRUE(updater.Started());
    EXPECT_EQ(updater.WaitForExit(kInstallWait), 0u);
    EXPECT_FALSE(program.Running());
    install.ExpectNewFiles();
    const auto launches = ReadLaunches(install.Directory().Path());
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[1][0], "\"" + install.UpdaterDirectory() + "\\..\\Vantry.exe\"");
}

// Ends the program's window left by a failed round: an installation that
// replaced nothing restarts the real program, which would stay on and hold
// the test run's output open.
struct EndRestartedProgram {
    ~EndRestartedProgram()
    {
        HWND window = FindTopWindow(0, "Vantry");
        DWORD processId = 0;
        if (!window || !GetWindowThreadProcessId(window, &processId))
            return;
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
        if (process) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
};

std::string Utf8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

TEST(UpdateRoundTripTest, CheckForUpdateInstallsTheNewProgramAndStartsIt)
{
    TestServer server("round trip");
    ASSERT_TRUE(server.Listening());
    server.Serve("/install.zip", HttpResponse(200, ReadFileBytes(PackageFile("install.zip"))));
    server.Serve("/Vantry.xml",
                 HttpResponse(200, Utf8(u8"<最新版本><版本信息 版本号=\"3.3\" 升级说明=\"修复问题\" 下载地址=\"") +
                                       Address("/install.zip") +
                                       Utf8(u8"\" 文件标题=\"Vantry\" 文件名=\"Vantry.exe\"/></最新版本>")));
    for (const char* name : {"round trip 空 格", "往返升级"}) {
        SCOPED_TRACE(name);
        EndRestartedProgram endRestarted;
        VantryRun run(name);
        ASSERT_NE(run.Start(), nullptr);
        ASSERT_TRUE(run.AcceptUpdateOffer());
        EXPECT_EQ(run.Program().WaitForExit(kExitWait), 0u);

        // The new Vantry.exe records its own start.
        const std::string updaterDirectory = run.Directory().File(kUpdaterDirectory);
        ASSERT_TRUE(WaitUntil([&] { return !ReadLaunches(run.Directory().Path()).empty(); }, kInstallWait));
        const auto launches = ReadLaunches(run.Directory().Path());
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0][0], "\"" + updaterDirectory + "\\..\\Vantry.exe\"");
        EXPECT_EQ(launches[0][3], updaterDirectory);
        EXPECT_TRUE(EndsWith(ReadFileBytes(run.Directory().File("Vantry.exe")),
                             std::string(kNewProgramMarker, kNewProgramMarkerSize)));
        EXPECT_EQ(ReadFileBytes(run.Directory().File("data\\a.txt")), kNewText);
        EXPECT_FALSE(FileExists(updaterDirectory + "\\e_update"));
        EXPECT_FALSE(FileExists(updaterDirectory + "\\升级文件\\temp1.zip"));
        // The updater has ended too, so the directory can go.
        EXPECT_TRUE(WaitUntil([] { return FindTopWindow(0, kWindowTitle) == nullptr; }));
    }
}

}  // namespace
