// What the task row and the close query make of the engine's numbers. No
// system calls: built for Windows and natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// x rounded to `places` decimal places, halves away from zero. A tiny addend
// lifts values that a double holds just below a half (1.235, 2.005) over it.
double RoundTo(double x, int places);

// x rounded to `places` and written as "%.13g", then padded with zeros to
// exactly `places` decimals. Thousands grouping is never asked for.
std::string FormatDecimals(double x, int places);

// The total size in kilobytes: 1234567 bytes give "1234.57K".
std::string SizeText(std::int64_t totalBytes);
// The bytes received since the last report in KB/s: 12345 give "12.35KB/s".
std::string SpeedText(std::int64_t receivedBytes);
// Bytes done as a truncated percentage of the total; 0 when the total is
// unknown (0 or less), where a percentage means nothing.
int ProgressPercent(std::int64_t doneBytes, std::int64_t totalBytes);

// Whether the window may close without asking: the log is empty, or it
// already holds the end of the transfer.
bool MayCloseWithoutAsking(std::string_view log);
