#include "updater/command_line.h"

#include "shell/gbk_text.h"

namespace {

constexpr char Quote = '"';
constexpr unsigned char Blank = 0x20;

bool IsQuote(char c) { return c == Quote; }

bool IsBlank(char c) { return static_cast<unsigned char>(c) == Blank; }

bool EndsUnquotedToken(char c) { return IsQuote(c) || static_cast<unsigned char>(c) <= Blank; }

// Reads from `at` up to the first byte that `isEnd` accepts, or the end,
// and leaves `at` on that byte.
std::string ReadToken(std::string_view text, std::size_t& at, bool (*isEnd)(char))
{
    std::string token;
    while (at < text.size() && !isEnd(text[at])) {
        if (!IsGbkLeadByte(text[at])) {
            token += text[at++];
        } else if (at + 1 < text.size()) {
            token.append(text.substr(at, 2));
            at += 2;
        } else {
            ++at;
        }
    }
    return token;
}

// Offset of the first byte after the program name and its delimiter.
// The blanks after a quoted name are left to the token loop to skip.
std::size_t SkipProgramName(std::string_view text)
{
    std::size_t at = 0;
    if (!text.empty() && IsQuote(text[0])) {
        ++at;
        ReadToken(text, at, IsQuote);
    } else {
        ReadToken(text, at, IsBlank);
    }
    return at < text.size() ? at + 1 : at;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine)
{
    std::vector<std::string> tokens;
    std::size_t at = SkipProgramName(commandLine);
    while (at < commandLine.size()) {
        if (IsQuote(commandLine[at])) {
            ++at;
            tokens.push_back(ReadToken(commandLine, at, IsQuote));
            if (at < commandLine.size())
                ++at;
        } else if (!EndsUnquotedToken(commandLine[at])) {
            tokens.push_back(ReadToken(commandLine, at, EndsUnquotedToken));
        } else {
            ++at;
        }
    }
    return tokens;
}
