// Splitting a file into the byte ranges the connections fetch, and keeping
// count of each range's progress and tries. No system calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A range never gets smaller than this, so a small file uses fewer connections.
inline constexpr std::int64_t kMinRangeBytes = 256 * 1024;
// Tries per range before the task fails.
inline constexpr int kMaxTries = 5;

struct ByteRange {
    std::int64_t begin = 0;
    std::int64_t end = 0;  // one past the last byte; -1 while the size is unknown
    std::int64_t done = 0;
    // Retry bookkeeping.
    int tries = 0;               // failed tries so far
    bool busy = false;           // a connection is working on it
    std::uint64_t retryAt = 0;   // ms on the caller's clock

    std::int64_t NextByte() const { return begin + done; }
    bool Complete() const { return end >= 0 && begin + done >= end; }
};

// Up to `connections` adjacent ranges covering [0, size), sizes differing by at
// most one byte; one range for a size of 0 or less.
std::vector<ByteRange> SplitIntoRanges(std::int64_t size, int connections);

// Whether a connection should start on the range at `now`.
bool DueForTry(const ByteRange& range, std::uint64_t now);
// A try has failed: the next may start `pauseMs` after `now`.
void RecordFailure(ByteRange& range, std::uint64_t now, int pauseMs);
// Incomplete, idle, and out of tries: the task cannot finish.
bool Exhausted(const ByteRange& range);

// The size of a connection's next read after one of `size` bytes took
// `tookMs`: doubled up to `largest` when quick, halved down to `smallest` when
// slow. A read returns only when its whole size has come, so on a slow link a
// large read would hold back progress and a stop; on a fast one each read costs
// a trip through the socket layer, and large reads make fewer trips.
int NextReadSize(int size, std::uint64_t tookMs, int smallest, int largest);

struct ContentRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t total = -1;  // -1 for "*"
};

// "bytes first-last/total" as a 206 answer carries it; nothing when malformed.
std::optional<ContentRange> ParseContentRange(std::string_view text);

// The Range header asking for the rest of `range`.
std::string RangeHeader(const ByteRange& range);
