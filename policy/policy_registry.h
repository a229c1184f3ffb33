// 32-bit numbers in the registry, each named by a root key and a full path
// whose last backslash separates the key path from the value name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

// The stored REG_DWORD, or 0 when the key or value is missing, unreadable
// or of another type.
std::int32_t ReadRegistryNumber(HKEY root, std::string_view fullPath);

// Stores a REG_DWORD, creating missing keys; true when it was stored.
bool WriteRegistryNumber(HKEY root, std::string_view fullPath, std::int32_t value);
