// Converting text between Windows code pages by way of UTF-16, with the
// system's own conversion calls.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// `text` (null: missing) as UTF-16LE bytes that end with one zero unit, or an
// empty array for a missing text or a failed conversion.
std::string TextToUtf16(const char* text, UINT codePage = CP_UTF8);

// The UTF-16LE units up to the first zero unit as text in `codePage`; empty
// for no units or a failed conversion. A character the code page lacks
// becomes the system's default character.
std::string Utf16ToText(std::string_view utf16, UINT codePage = CP_ACP);

// UTF-8 text (null: missing) as GBK text.
std::string Utf8ToGbk(const char* utf8);
