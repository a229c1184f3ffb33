#include "updater/download/speed_limit.h"

#include <algorithm>

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr int kReadsPerSecond = 4;

}  // namespace

std::uint64_t PauseForSpeedLimit(std::int64_t bytes, std::uint64_t elapsedMs, int bytesPerSecond)
{
    if (bytesPerSecond <= 0 || bytes <= 0)
        return 0;
    // Whole seconds and the rest apart, so that no product overflows.
    const std::int64_t dueMs =
        bytes / bytesPerSecond * kMsPerSecond + bytes % bytesPerSecond * kMsPerSecond / bytesPerSecond;
    const auto due = static_cast<std::uint64_t>(dueMs);
    return due > elapsedMs ? due - elapsedMs : 0;
}

int ReadSizeUnderLimit(int size, int bytesPerSecond, int connections)
{
    if (bytesPerSecond <= 0)
        return size;
    const int share = bytesPerSecond / kReadsPerSecond / std::max(connections, 1);
    return std::max(1, std::min(size, share));
}
