// Time for the download engine.
#pragma once

#include <cstdint>
#include <string>

std::uint64_t MonotonicMs();
void SleepMs(unsigned ms);
// The local time as "HH:MM:SS", for the engine's messages.
std::string LocalTimeText();
