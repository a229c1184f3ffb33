#include "updater/download/range_plan.h"

#include <algorithm>
#include <charconv>
#include <string>

std::vector<ByteRange> SplitIntoRanges(std::int64_t size, int connections)
{
    if (size <= 0)
        return {ByteRange{0, size < 0 ? -1 : 0}};
    std::int64_t count = std::max<std::int64_t>(1, connections);
    count = std::min(count, std::max<std::int64_t>(1, size / kMinRangeBytes));
    std::vector<ByteRange> ranges;
    std::int64_t begin = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        std::int64_t length = size / count + (i < size % count ? 1 : 0);
        ranges.push_back(ByteRange{begin, begin + length});
        begin += length;
    }
    return ranges;
}

bool DueForTry(const ByteRange& range, std::uint64_t now)
{
    return !range.busy && !range.Complete() && range.tries < kMaxTries && now >= range.retryAt;
}

void RecordFailure(ByteRange& range, std::uint64_t now, int pauseMs)
{
    ++range.tries;
    range.retryAt = now + static_cast<std::uint64_t>(std::max(0, pauseMs));
}

bool Exhausted(const ByteRange& range) { return !range.busy && !range.Complete() && range.tries >= kMaxTries; }

int NextReadSize(int size, std::uint64_t tookMs, int smallest, int largest)
{
    constexpr std::uint64_t kQuickReadMs = 25;
    constexpr std::uint64_t kSlowReadMs = 100;
    if (tookMs < kQuickReadMs)
        return std::max(smallest, std::min(size * 2, largest));
    if (tookMs > kSlowReadMs)
        return std::min(largest, std::max(size / 2, smallest));
    return size;
}

namespace {

bool TakeNumber(std::string_view& text, std::int64_t& value)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < 0)
        return false;
    text.remove_prefix(end - text.data());
    return true;
}

bool TakeChar(std::string_view& text, char c)
{
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

}  // namespace

std::optional<ContentRange> ParseContentRange(std::string_view text)
{
    constexpr std::string_view kUnit = "bytes ";
    if (!text.starts_with(kUnit))
        return std::nullopt;
    text.remove_prefix(kUnit.size());
    ContentRange range;
    if (!TakeNumber(text, range.first) || !TakeChar(text, '-') || !TakeNumber(text, range.last) ||
        !TakeChar(text, '/') || range.last < range.first)
        return std::nullopt;
    if (text == "*")
        return range;
    if (!TakeNumber(text, range.total) || !text.empty() || range.last >= range.total)
        return std::nullopt;
    return range;
}

std::string RangeHeader(const ByteRange& range)
{
    std::string header = "Range: bytes=" + std::to_string(range.NextByte()) + "-";
    if (range.end >= 0)
        header += std::to_string(range.end - 1);
    return header;
}
