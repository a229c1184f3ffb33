// Keeping a task to its speed limit: the connections pause so that the bytes
// received since the task began never run ahead of the limit. No system calls.
#pragma once

#include <cstdint>

// How long to pause after `bytes` have arrived in `elapsedMs` under a limit
// of `bytesPerSecond`; 0 without a limit (0 or less) or when not ahead.
std::uint64_t PauseForSpeedLimit(std::int64_t bytes, std::uint64_t elapsedMs, int bytesPerSecond);

// A read of `size` bytes cut to a quarter second's worth of the limit shared
// by `connections`, at least 1 byte, so that no pause grows long enough to
// hold back a stop or run into the receive time limit.
int ReadSizeUnderLimit(int size, int bytesPerSecond, int connections);
