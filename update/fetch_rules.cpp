#include "update/fetch_rules.h"

namespace {

constexpr std::size_t kDefaultChunk = 10240;
constexpr std::size_t kLargestChunk = 102400;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The declared length read as the C function atol reads it, except that a
// number too large to matter stops growing instead of overflowing.
long long ReadDeclaredLength(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (value <= static_cast<long long>(kLargestChunk))
            value = value * 10 + (text[at] - '0');
    }
    return negative ? -value : value;
}

}  // namespace

std::size_t ChooseReadChunkSize(std::string_view contentLength)
{
    const long long declared = ReadDeclaredLength(contentLength);
    if (declared <= 0)
        return kDefaultChunk;
    if (declared + 1 > static_cast<long long>(kLargestChunk))
        return kLargestChunk;
    return static_cast<std::size_t>(declared + 1);
}

std::string_view CutFragment(std::string_view path)
{
    // 0x23 is never the second byte of a GBK character, so a byte search is safe.
    return path.substr(0, path.find('#'));
}
