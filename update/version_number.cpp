#include "update/version_number.h"

#include <cstdlib>
#include <string>

#include "shell/gbk_text.h"

namespace {

constexpr double NewerVersionTolerance = 1e-7;
constexpr unsigned char FullWidthLead = 0xA3;
constexpr unsigned char FullWidthFirst = 0xA1;
constexpr unsigned char FullWidthLast = 0xFE;
constexpr unsigned char FullWidthOffset = 0x80;
constexpr std::string_view IdeographicSpace = "\xA1\xA1";

std::string FoldFullWidth(std::string_view text)
{
    std::string folded;
    for (std::size_t at = 0; at < text.size();) {
        if (!IsGbkLeadByte(text[at]) || at + 1 == text.size()) {
            folded += text[at++];
            continue;
        }
        const std::string_view character = text.substr(at, 2);
        const auto lead = static_cast<unsigned char>(character[0]);
        const auto second = static_cast<unsigned char>(character[1]);
        if (lead == FullWidthLead && second >= FullWidthFirst && second <= FullWidthLast)
            folded += static_cast<char>(second - FullWidthOffset);
        else if (character == IdeographicSpace)
            folded += ' ';
        else
            folded.append(character);
        at += 2;
    }
    return folded;
}

// The white space of C's isspace in the "C" locale, which atof skips.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSign(char c) { return c == '+' || c == '-'; }

std::size_t SkipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// Length of the decimal number at the start of `text`: sign, digits, point,
// digits, exponent; 0 when there is no digit before the exponent. Unlike
// strtod, no "inf", "nan" or hexadecimal form is taken.
std::size_t MeasureDecimal(std::string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && IsSign(text[at]))
        ++at;
    const std::size_t integerEnd = SkipDigits(text, at);
    std::size_t end = integerEnd;
    bool hasDigits = integerEnd > at;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits)
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && IsSign(text[exponent]))
            ++exponent;
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return end;
}

}  // namespace

double ParseVersionNumber(std::string_view gbkText)
{
    const std::string folded = FoldFullWidth(gbkText);
    std::size_t start = 0;
    while (start < folded.size() && IsSpace(folded[start]))
        ++start;
    const std::string number = folded.substr(start, MeasureDecimal(std::string_view(folded).substr(start)));
    if (number.empty())
        return 0;
    // The text is already known to be a plain decimal number; strtod only
    // rounds it correctly. Neither program changes the C locale, so the
    // decimal point is '.'.
    return std::strtod(number.c_str(), nullptr);
}

bool IsNewerVersion(double manifestVersion, double programVersion)
{
    return manifestVersion - programVersion > NewerVersionTolerance;
}
