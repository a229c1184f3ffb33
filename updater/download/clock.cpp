#include "updater/download/clock.h"

#include <windows.h>

#include <cstdio>

std::uint64_t MonotonicMs() { return GetTickCount64(); }

void SleepMs(unsigned ms) { Sleep(ms); }

std::string LocalTimeText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    return text;
}
