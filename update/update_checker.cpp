#include "update/update_checker.h"

#include <windows.h>

#include "shell/app_shell.h"
#include "shell/message_boxes.h"
#include "shell/message_box_rules.h"
#include "shell/program_version.h"
#include "update/code_page.h"
#include "update/manifest_fetcher.h"
#include "update/update_prompt.h"
#include "update/updater_handoff.h"
#include "update/version_number.h"

namespace {

// The update server, a build setting: host or host:port.
constexpr const char* kManifestUrl = "http://" VANTRY_UPDATE_HOST "/Vantry.xml";

constexpr const char* kCheckingCaption = "检测升级中...";
constexpr const char* kNothingNewCaption = "未检测到新版本";
constexpr const char* kNoServerText = "未接通升级服务器";
constexpr const char* kNoServerTitle = "提示信息";
constexpr const char* kPromptTitle = "版本升级";
constexpr DWORD kNoServerBoxMilliseconds = 3000;
constexpr DWORD kNothingNewPauseMilliseconds = 3000;

constexpr const char* kVersionNode = "最新版本/版本信息";
constexpr const char* kVersionAttribute = "版本号";
constexpr const char* kNotesAttribute = "升级说明";
constexpr const char* kAddressAttribute = "下载地址";
constexpr const char* kTitleAttribute = "文件标题";
constexpr const char* kFileNameAttribute = "文件名";

std::string ReadVersionAttribute(const ManifestTree& tree, const char* name)
{
    return tree.ReadAttribute(kVersionNode, name);
}

// The manifest arrives as UTF-8 and is read as GBK, up to its first zero byte.
void LoadManifest(ManifestTree& tree, const std::string& body)
{
    tree.LoadDocument(Utf8ToGbk(body.c_str()));
}

void OfferUpdate(MainWindow& window, const ManifestTree& tree)
{
    const std::string prompt =
        BuildUpdatePrompt(ReadVersionAttribute(tree, kVersionAttribute), ReadVersionAttribute(tree, kNotesAttribute));
    if (ShowMessageBox(prompt, kBoxOkCancel | kBoxIconInformation, kPromptTitle) == kBoxIndexOk) {
        StartUpdater({ReadVersionAttribute(tree, kAddressAttribute), ReadVersionAttribute(tree, kTitleAttribute),
                      ReadVersionAttribute(tree, kFileNameAttribute), ReadVersionAttribute(tree, kNotesAttribute)});
    }
    window.SetStatusCaption("");
}

// A plain sleep: the caption is already painted, and the window is meant
// not to react meanwhile.
void ReportNothingNew(MainWindow& window)
{
    window.SetStatusCaption(kNothingNewCaption);
    Sleep(kNothingNewPauseMilliseconds);
    window.SetStatusCaption("");
}

}  // namespace

void CheckForUpdate(MainWindow& window, ManifestTree& tree)
{
    window.SetStatusCaption(kCheckingCaption);
    EnsureUpdaterFile();
    const std::string body = FetchUrl(kManifestUrl);
    if (body.empty()) {
        ShowTimedMessageBox(nullptr, kNoServerText, kNoServerTitle, kBoxOk, 0, kNoServerBoxMilliseconds);
        window.SetStatusCaption("");
        return;
    }
    LoadManifest(tree, body);
    const double version = ParseVersionNumber(ReadVersionAttribute(tree, kVersionAttribute));
    if (IsNewerVersion(version, kProgramVersion))
        OfferUpdate(window, tree);
    else
        ReportNothingNew(window);
    // Input that queued up while the thread was blocked.
    DispatchPendingMessages([&window](const MSG& msg) { return window.HandleDialogKey(msg); });
}
