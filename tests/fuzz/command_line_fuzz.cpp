// Splits arbitrary bytes as the updater's command line. Every token must be
// made of whole characters with no double quote of its own, and quoting the
// tokens again must give them back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "updater/command_line.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Whole characters only, and no double quote that stands alone.
bool IsWellFormedToken(std::string_view token)
{
    for (std::size_t at = 0; at < token.size(); ++at) {
        if (IsLeadByte(token[at])) {
            if (at + 1 == token.size())
                return false;
            ++at;
        } else if (token[at] == '"') {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> tokens = SplitCommandLine(line);

    std::size_t tokenBytes = 0;
    std::string quoted = "update.exe";
    for (const std::string& token : tokens) {
        Check(IsWellFormedToken(token));
        tokenBytes += token.size();
        quoted += " \"" + token + "\"";
    }
    Check(tokenBytes <= size);
    Check(SplitCommandLine(quoted) == tokens);
    return 0;
}
