// The update check as the user runs it: the popup menu's 检测升级 against the
// tests' HTTP server, with what the window, the message boxes, the disk and
// the started updater show of it.
#include <gtest/gtest.h>

#include "tests/e2e/vantry_fixture.h"
#include "tests/support/test_server.h"
#include "updater/command_line.h"

namespace {

constexpr const char* kManifestPath = "/Vantry.xml";
constexpr const char* kUpdaterDirectory = "升级文件";
constexpr const char* kCheckingCaption = "检测升级中...";
constexpr const char* kNothingNewCaption = "未检测到新版本";
constexpr const char* kPromptTitle = "版本升级";
constexpr int kBoxTextId = 0xFFFF;
constexpr Milliseconds kCheckWait(10000);
constexpr Milliseconds kExitWait(5000);
// The pauses of three seconds, as a user's clock sees them.
constexpr unsigned long long kPauseAtLeast = 2700;
constexpr unsigned long long kPauseAtMost = 4500;

using Tokens = std::vector<std::string>;

std::string Utf8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

// A manifest as the server publishes it (UTF-8), with `attributes` in 版本信息.
std::string ManifestWith(const std::u8string& attributes)
{
    return Utf8(u8"<最新版本><版本信息 ") + Utf8(attributes.c_str()) + Utf8(u8"/></最新版本>");
}

std::string VersionManifest(const std::u8string& version)
{
    return ManifestWith(u8"版本号=\"" + version + u8"\" 升级说明=\"修复若干问题\"");
}

std::string Prompt(const std::string& version, const std::string& notes)
{
    return "发现有新版本可以更新！\r\n\r\n版本号：" + version + "\r\n下载说明：" + notes;
}

std::string BoxText(HWND box)
{
    return WindowText(GetDlgItem(box, kBoxTextId));
}

bool ShowsButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

bool ShowsIcon(HWND box)
{
    for (HWND child : Children(box)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageA(child, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

HWND WaitForBox(DWORD processId, const std::string& title)
{
    HWND box = WaitForTopWindow(processId, title, kCheckWait);
    return box && ClassOf(box) == "#32770" ? box : nullptr;
}

// Milliseconds from when `check` first held until it held no longer.
template <typename Check>
unsigned long long MeasureWhile(Check check)
{
    if (!WaitUntil(check, kCheckWait))
        return 0;
    const unsigned long long start = GetTickCount64();
    WaitUntil([&] { return !check(); }, kCheckWait);
    return ElapsedSince(start);
}

class UpdateCheckTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Listening()); }

    // Starts Vantry with a recording stand-in for update.exe in place.
    void StartWithRecordingUpdater()
    {
        CreateDirectoryA(UpdaterDirectory().c_str(), nullptr);
        run_.Directory().Install("recorder.exe", std::string(kUpdaterDirectory) + "\\update.exe");
        Start();
    }
    void Start()
    {
        ASSERT_NE(run_.Start(), nullptr);
        label_ = run_.ControlAt(kStatusLabelPoint);
        ASSERT_NE(label_, nullptr);
    }

    std::string UpdaterDirectory() const { return run_.Directory().File(kUpdaterDirectory); }
    std::string UpdaterFile() const { return UpdaterDirectory() + "\\update.exe"; }
    std::string Status() const { return StoredWindowText(label_); }
    DWORD ProgramId() { return run_.Program().Id(); }

    void ChooseCheckForUpdate()
    {
        Activate(run_.Window());
        ASSERT_TRUE(run_.ChooseCheckForUpdate());
    }

    // "未检测到新版本" stands for about three seconds, then the label empties.
    void ExpectNothingNew()
    {
        const unsigned long long shown = MeasureWhile([&] { return Status() == kNothingNewCaption; });
        EXPECT_GE(shown, kPauseAtLeast) << "status: \"" << Status() << "\"; windows:" << DescribeTopWindows(ProgramId());
        EXPECT_LE(shown, kPauseAtMost);
        EXPECT_EQ(Status(), "");
        EXPECT_EQ(FindTopWindow(ProgramId(), kPromptTitle), nullptr);
    }

    // The prompt with `prompt` as its text; Cancel leaves everything as it was.
    void ExpectPromptAndCancel(const std::string& prompt)
    {
        HWND box = WaitForBox(ProgramId(), kPromptTitle);
        ASSERT_NE(box, nullptr) << "status: \"" << Status() << "\"";
        EXPECT_EQ(BoxText(box), prompt);
        EXPECT_EQ(WindowText(GetDlgItem(box, IDOK)), "确定");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDCANCEL)), "取消");
        EXPECT_TRUE(ShowsIcon(box));
        EXPECT_FALSE(IsWindowEnabled(run_.Window())) << "the prompt is task-modal";
        PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(WaitUntil([&] { return Status().empty(); }));
        EXPECT_TRUE(IsWindowEnabled(run_.Window()));
        EXPECT_TRUE(run_.Program().Running());
        EXPECT_TRUE(ReadLaunches(UpdaterDirectory()).empty()) << "nothing is started on Cancel";
    }

    // The update check runs once more against `manifest`; one request each time.
    void CheckAgainst(const std::string& response)
    {
        server_.ForgetRequests();
        server_.Serve(kManifestPath, response);
        ChooseCheckForUpdate();
    }

    TestServer server_{"update check"};
    VantryRun run_{"update check"};
    HWND label_ = nullptr;
};

TEST_F(UpdateCheckTest, SendsOneHttp10GetForTheManifest)
{
    StartWithRecordingUpdater();
    CheckAgainst(HttpResponse(200, VersionManifest(u8"3.2")));
    ExpectNothingNew();
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    std::cout << "Vantry's request as the server recorded it:\n" << requests.front();
    EXPECT_EQ(requests.front().rfind("GET /Vantry.xml HTTP/1.0\r\n", 0), 0u) << requests.front();
    EXPECT_NE(requests.front().find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
              std::string::npos);
    EXPECT_NE(requests.front().find("\r\nAccept: */*\r\n"), std::string::npos);
}

TEST_F(UpdateCheckTest, JudgesEachVersionTextAsANumber)
{
    const struct {
        const char* what;
        std::string manifest;
        const char* shownVersion;  // the prompt's version text, or null: nothing new
    } rows[] = {
        {"3.3", VersionManifest(u8"3.3"), "3.3"},
        {"leading spaces", VersionManifest(u8"  3.3"), "  3.3"},
        {"full-width", VersionManifest(u8"３．３"), "３．３"},
        {"trailing words", VersionManifest(u8"3.3 测试版"), "3.3 测试版"},
        {"3.2", VersionManifest(u8"3.2"), nullptr},
        {"3.10", VersionManifest(u8"3.10"), nullptr},
        {"V3.3", VersionManifest(u8"V3.3"), nullptr},
        {"empty", VersionManifest(u8""), nullptr},
        {"missing", ManifestWith(u8"升级说明=\"修复若干问题\""), nullptr},
    };
    StartWithRecordingUpdater();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CheckAgainst(HttpResponse(200, row.manifest));
        if (row.shownVersion)
            ExpectPromptAndCancel(Prompt(row.shownVersion, "修复若干问题"));
        else
            ExpectNothingNew();
        EXPECT_EQ(server_.Requests().size(), 1u) << "each check fetches the manifest again";
    }
}

TEST_F(UpdateCheckTest, ReadsOnlyWellFormedManifestsInUtf8)
{
    const std::string utf8Manifest = VersionManifest(u8"3.3");
    std::string utf16Manifest = "\xFF\xFE";
    for (char c : std::string("<a b=\"3.3\"/>"))
        utf16Manifest += std::string{c, '\0'};
    const struct {
        const char* what;
        std::string response;
        std::string prompt;  // empty: nothing new
    } rows[] = {
        {"declaration, BOM and comment",
         HttpResponse(200, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- " + Utf8(u8"注释") +
                               " -->\r\n" + VersionManifest(u8"3.3")),
         Prompt("3.3", "修复若干问题")},
        {"two 版本信息: the first counts",
         HttpResponse(200, Utf8(u8"<最新版本><版本信息 版本号=\"3.4\"/><版本信息 版本号=\"3.3\"/></最新版本>")),
         Prompt("3.4", "")},
        {"entities decoded, a character reference kept",
         HttpResponse(200, ManifestWith(u8"版本号=\"3.3\" 升级说明=\"a&lt;b&amp;c&quote;d&#20013;\"")),
         Prompt("3.3", "a<b&c\"d&#20013;")},
        {"a redirect is followed",
         HttpResponse(302, "moved", "Location: /moved.xml\r\n"),
         Prompt("3.3", "修复若干问题")},
        {"another root", HttpResponse(200, Utf8(u8"<版本><版本信息 版本号=\"3.3\"/></版本>")), ""},
        {"a duplicate attribute", HttpResponse(200, ManifestWith(u8"版本号=\"3.3\" 版本号=\"3.4\"")), ""},
        {"a mismatched end tag", HttpResponse(200, Utf8(u8"<最新版本><版本信息 版本号=\"3.3\"></最新版本></版本信息>")),
         ""},
        {"版本信息 nested too deep",
         HttpResponse(200, Utf8(u8"<最新版本><组><版本信息 版本号=\"3.3\"/></组></最新版本>")), ""},
        {"a body that starts with a zero byte", HttpResponse(200, std::string(1, '\0') + utf8Manifest), ""},
        {"a UTF-16 manifest", HttpResponse(200, utf16Manifest), ""},
        {"a GBK manifest", HttpResponse(200, "<最新版本><版本信息 版本号=\"3.3\"/></最新版本>"), ""},
        {"a 404 error page", HttpResponse(404, "<html><body>404 Not Found</body></html>"), ""},
    };
    server_.Serve("/moved.xml", HttpResponse(200, utf8Manifest));
    StartWithRecordingUpdater();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CheckAgainst(row.response);
        if (!row.prompt.empty())
            ExpectPromptAndCancel(row.prompt);
        else
            ExpectNothingNew();
    }
}

TEST(UpdateCheckWithoutServerTest, ShowsTheTimedBoxAndStillWritesTheUpdater)
{
    VantryRun run("no server");
    ASSERT_NE(run.Start(), nullptr);
    HWND label = run.ControlAt(kStatusLabelPoint);
    ASSERT_TRUE(run.ChooseCheckForUpdate());

    HWND box = WaitForBox(run.Program().Id(), "提示信息");
    ASSERT_NE(box, nullptr) << DescribeTopWindows(run.Program().Id());
    const unsigned long long shownAt = GetTickCount64();
    EXPECT_EQ(BoxText(box), "未接通升级服务器");
    EXPECT_TRUE(ShowsButton(box, IDOK));
    EXPECT_FALSE(ShowsButton(box, IDCANCEL));
    EXPECT_FALSE(ShowsIcon(box));
    EXPECT_EQ(StoredWindowText(label), kCheckingCaption);
    EXPECT_TRUE(IsWindowEnabled(run.Window())) << "the timed box is not task-modal";

    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kCheckWait));
    const unsigned long long shown = ElapsedSince(shownAt);
    EXPECT_GE(shown, kPauseAtLeast - 300);
    EXPECT_LE(shown, kPauseAtMost);
    EXPECT_TRUE(WaitUntil([&] { return StoredWindowText(label).empty(); }));
    EXPECT_TRUE(run.Program().Running());
    EXPECT_EQ(ReadFileBytes(run.Directory().File("升级文件\\update.exe")), ReadFileBytes(BinDirectory() + "\\update.exe"));
}

TEST(UpdaterFileTest, IsWrittenBeforeTheFetchOnlyWhereItIsMissing)
{
    const std::string updaterImage = ReadFileBytes(BinDirectory() + "\\update.exe");
    const std::string recorder = ReadFileBytes(BinDirectory() + "\\recorder.exe");
    ASSERT_FALSE(updaterImage.empty());
    const struct {
        const char* what;
        void (*prepare)(const RunDirectory&);
        std::string entry;  // what "升级文件\update.exe" (or "升级文件" itself) holds at the fetch
        bool isDirectory;
    } rows[] = {
        {"a fresh run directory", [](const RunDirectory&) {}, updaterImage, true},
        {"the directory without the file",
         [](const RunDirectory& dir) { CreateDirectoryA(dir.File("升级文件").c_str(), nullptr); }, updaterImage,
         true},
        {"an existing update.exe is left alone",
         [](const RunDirectory& dir) {
             CreateDirectoryA(dir.File("升级文件").c_str(), nullptr);
             dir.Install("recorder.exe", "升级文件\\update.exe");
         },
         recorder, true},
        {"a file named 升级文件 in the way",
         [](const RunDirectory& dir) { dir.Install("recorder.exe", "升级文件"); }, recorder, false},
    };
    TestServer server("updater file");
    ASSERT_TRUE(server.Listening());
    // The answer waits, so the disk can be looked at while the fetch is under way.
    server.Serve(kManifestPath, HttpResponse(200, VersionManifest(u8"3.3")), 1500);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        server.ForgetRequests();
        VantryRun run("updater file");
        row.prepare(run.Directory());
        ASSERT_NE(run.Start(), nullptr);
        HWND label = run.ControlAt(kStatusLabelPoint);
        ASSERT_TRUE(run.ChooseCheckForUpdate());
        ASSERT_TRUE(WaitUntil([&] { return !server.Requests().empty(); }, kCheckWait));
        EXPECT_EQ(StoredWindowText(label), kCheckingCaption);
        const std::string entry = row.isDirectory ? "升级文件\\update.exe" : "升级文件";
        EXPECT_TRUE(ReadFileBytes(run.Directory().File(entry)) == row.entry);

        HWND box = WaitForBox(run.Program().Id(), kPromptTitle);
        ASSERT_NE(box, nullptr) << "the check goes on";
        PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return StoredWindowText(label).empty(); }));
        EXPECT_TRUE(ReadFileBytes(run.Directory().File(entry)) == row.entry);
        PostMessageA(run.Window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(run.Program().WaitForExit(kExitWait), 0u);
    }
}

TEST(UpdateConsentTest, OkStartsTheUpdaterWithItsCommandLineAndEnds)
{
    const struct {
        const char* what;
        const char* runName;
        std::u8string title;  // as the manifest writes it
        std::string shownTitle;  // as the updater gets it
    } rows[] = {
        // Wine quotes an unquoted program path that holds a blank on its own,
        // so only a path without one shows that the program quotes it.
        {"a run directory without blanks", "update-ok", u8"Vantry", "Vantry"},
        {"a blank in the run directory and an empty title", "update ok 空 格", u8"", ""},
    };
    TestServer server("update ok");
    ASSERT_TRUE(server.Listening());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        server.Serve(kManifestPath,
                     HttpResponse(200, ManifestWith(u8"版本号=\"3.3\" 升级说明=\"修复问题\" "
                                                    u8"下载地址=\"http://127.0.0.1/v.zip\" 文件标题=\"" +
                                                    row.title + u8"\" 文件名=\"新.exe\"")));
        VantryRun run(row.runName);
        CreateDirectoryA(run.Directory().File("升级文件").c_str(), nullptr);
        run.Directory().Install("recorder.exe", "升级文件\\update.exe");
        ASSERT_NE(run.Start(), nullptr);
        ASSERT_TRUE(run.AcceptUpdateOffer());
        EXPECT_EQ(run.Program().WaitForExit(kExitWait), 0u);

        const auto launches = ReadLaunches(run.Directory().File("升级文件"));
        ASSERT_EQ(launches.size(), 1u);
        const std::string updater = run.Directory().File("升级文件\\update.exe");
        EXPECT_EQ(launches[0][0], "\"" + updater + "\" 授权标记 http://127.0.0.1/v.zip " + row.shownTitle +
                                      " 运行 Vantry.exe 新.exe 修复问题");
        EXPECT_EQ(launches[0][1], std::to_string(STARTF_USESHOWWINDOW));
        EXPECT_EQ(launches[0][2], std::to_string(SW_SHOWNORMAL));
        EXPECT_EQ(launches[0][3], run.Directory().Path());
        Tokens arguments = {"授权标记", "http://127.0.0.1/v.zip"};
        if (!row.shownTitle.empty())
            arguments.push_back(row.shownTitle);
        arguments.insert(arguments.end(), {"运行", "Vantry.exe", "新.exe", "修复问题"});
        EXPECT_EQ(SplitCommandLine(launches[0][0]), arguments);
    }
}

TEST(UpdateConsentTest, OkHandsOverToTheEmbeddedUpdater)
{
    TestServer server("update handover");
    ASSERT_TRUE(server.Listening());
    // The package's answer comes late: the updater is still downloading when
    // the test closes it.
    server.Serve("/v.zip", HttpResponse(404, ""), 8000);
    server.Serve(kManifestPath,
                 HttpResponse(200, ManifestWith(u8"版本号=\"3.3\" 升级说明=\"修复问题\" 下载地址=\"http://127.0.0.1:" +
                                                std::u8string(reinterpret_cast<const char8_t*>(
                                                    std::to_string(UpdateServerPort()).c_str())) +
                                                u8"/v.zip\" 文件标题=\"Vantry\" 文件名=\"Vantry.exe\"")));
    VantryRun run("update handover 空 格");
    ASSERT_NE(run.Start(), nullptr);
    ASSERT_TRUE(run.AcceptUpdateOffer());
    EXPECT_EQ(run.Program().WaitForExit(kExitWait), 0u);

    // The updater took its arguments: its window, and no complaint.
    HWND updater = WaitForTopWindow(0, "下载管理器");
    ASSERT_NE(updater, nullptr);
    DWORD updaterId = 0;
    GetWindowThreadProcessId(updater, &updaterId);
    EXPECT_EQ(FindTopWindow(updaterId, "信息："), nullptr);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, updaterId);
    ASSERT_NE(process, nullptr);
    PostMessageA(updater, WM_CLOSE, 0, 0);
    HWND prompt = WaitForTopWindow(updaterId, "提示信息");
    ASSERT_NE(prompt, nullptr) << DescribeTopWindows(updaterId);
    PostMessageA(GetDlgItem(prompt, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process);
}

}  // namespace
