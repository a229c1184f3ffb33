#include "policy/policy_registry.h"

#include "shell/gbk_text.h"
#include "shell/win_handle.h"

namespace {

UniqueRegKey OpenKey(HKEY root, const std::string& keyPath, REGSAM access)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(key);
}

UniqueRegKey OpenOrCreateKey(HKEY root, const std::string& keyPath)
{
    UniqueRegKey key = OpenKey(root, keyPath, KEY_WRITE);
    if (key)
        return key;
    HKEY created = nullptr;
    if (RegCreateKeyA(root, keyPath.c_str(), &created) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(created);
}

}  // namespace

std::int32_t ReadRegistryNumber(HKEY root, std::string_view fullPath)
{
    const PathSplit path = SplitAtLastBackslash(fullPath);
    const UniqueRegKey key = OpenKey(root, path.head, KEY_READ);
    if (!key)
        return 0;

    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), path.tail.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;

    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegQueryValueExA(key.Get(), path.tail.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS)
        return 0;
    return static_cast<std::int32_t>(number);
}

bool WriteRegistryNumber(HKEY root, std::string_view fullPath, std::int32_t value)
{
    const PathSplit path = SplitAtLastBackslash(fullPath);
    const UniqueRegKey key = OpenOrCreateKey(root, path.head);
    if (!key)
        return false;
    const DWORD number = static_cast<DWORD>(value);
    return RegSetValueExA(key.Get(), path.tail.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof number) == ERROR_SUCCESS;
}
