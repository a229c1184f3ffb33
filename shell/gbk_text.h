// Walking GBK (code page 936) text by characters: a byte of 0x80 or more
// starts a two-byte character, and its second byte is never a separator.
#pragma once

#include <string>
#include <string_view>

constexpr bool IsGbkLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Offset of the last `separator` that stands as a character of its own,
// or npos when there is none.
std::size_t FindLastGbkChar(std::string_view text, char separator);

struct PathSplit {
    std::string head;  // before the last backslash; empty when there is none
    std::string tail;  // after it; the whole text when there is none
};

PathSplit SplitAtLastBackslash(std::string_view path);

// Every `from` that stands as a character of its own becomes `to`.
std::string ReplaceGbkChar(std::string_view text, char from, char to);
