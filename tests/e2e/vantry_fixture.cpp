#include "tests/e2e/vantry_fixture.h"

void StoreValue(const char* key, const char* name, const StoredValue& value)
{
    if (value.kind == StoredValue::MissingKey) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
        return;
    }
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &opened), ERROR_SUCCESS);
    switch (value.kind) {
    case StoredValue::Missing:
        RegDeleteValueA(opened, name);
        break;
    case StoredValue::Dword:
        RegSetValueExA(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number), 4);
        break;
    case StoredValue::String: {
        const std::string text = std::to_string(value.number);
        RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        break;
    }
    case StoredValue::Binary:
        RegSetValueExA(opened, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value.number), 4);
        break;
    case StoredValue::MissingKey:
        break;
    }
    RegCloseKey(opened);
}

std::optional<DWORD> ReadDword(const char* key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

VantryRun::VantryRun(const std::string& directoryName, const std::string& exeName)
    : directory_(directoryName), exeName_(exeName)
{
    directory_.Install("Vantry.exe", exeName);
    directory_.Install("recorder.exe", "rundll32.exe");
}

HWND VantryRun::Start()
{
    process_ = StartAnother();
    window_ = WaitForTopWindow(process_->Id(), "Vantry");
    if (!window_) {
        ADD_FAILURE() << "no window; started " << process_->Started() << ", running " << process_->Running()
                      << ", exit code " << process_->WaitForExit(Milliseconds(0)) << "; its windows:"
                      << (process_->Started() ? DescribeTopWindows(process_->Id()) : std::string());
        return nullptr;
    }
    Activate(window_);
    return window_;
}

std::unique_ptr<Process> VantryRun::StartAnother() const
{
    // Started from elsewhere: the program must make its own directory current.
    return std::make_unique<Process>(CommandLine(), BinDirectory());
}

HWND VantryRun::ControlAt(POINT client) const
{
    HWND control = ChildWindowFromPointEx(window_, client, CWP_SKIPINVISIBLE);
    return control == window_ ? nullptr : control;
}

POINT VantryRun::ScreenPoint(POINT client) const
{
    ClientToScreen(window_, &client);
    return client;
}

bool VantryRun::OpenPopupMenu() const
{
    ClickAt(ScreenPoint(kEmptyPoint), true);
    return WaitUntil([] { return FindPopupMenu() != nullptr; }, Milliseconds(3000));
}

bool VantryRun::ChooseCheckForUpdate() const
{
    if (!OpenPopupMenu())
        return false;
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    PressKey(VK_RETURN);
    return true;
}

bool VantryRun::AcceptUpdateOffer() const
{
    if (!ChooseCheckForUpdate())
        return false;
    HWND box = WaitForTopWindow(process_->Id(), "版本升级", Milliseconds(10000));
    if (!box || ClassOf(box) != "#32770")
        return false;
    return PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0) != FALSE;
}

bool VantryRun::ChooseAbout() const
{
    if (!OpenPopupMenu())
        return false;
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return true;
}

HWND FindPopupMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}
