#include "update/code_page.h"

#include <cstring>

namespace {

constexpr UINT kGbkCodePage = 936;

// The units before the first zero unit; the bytes are copied because a
// byte array need not be aligned for wchar_t.
std::wstring UnitsBeforeZero(std::string_view utf16)
{
    std::wstring units(utf16.size() / sizeof(wchar_t), L'\0');
    std::memcpy(units.data(), utf16.data(), units.size() * sizeof(wchar_t));
    return units.substr(0, units.find(L'\0'));
}

}  // namespace

std::string TextToUtf16(const char* text, UINT codePage)
{
    const int units = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (units <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(units) * sizeof(wchar_t), '\0');
    MultiByteToWideChar(codePage, 0, text, -1, reinterpret_cast<wchar_t*>(bytes.data()), units);
    return bytes;
}

std::string Utf16ToText(std::string_view utf16, UINT codePage)
{
    // Counted, not zero-terminated: an array without its zero unit must not
    // be read past its end.
    const std::wstring units = UnitsBeforeZero(utf16);
    if (units.empty())
        return {};
    const int length = static_cast<int>(units.size());
    const int size = WideCharToMultiByte(codePage, 0, units.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, units.data(), length, text.data(), size, nullptr, nullptr);
    return text.substr(0, text.find('\0'));
}

std::string Utf8ToGbk(const char* utf8)
{
    return Utf16ToText(TextToUtf16(utf8, CP_UTF8), kGbkCodePage);
}
