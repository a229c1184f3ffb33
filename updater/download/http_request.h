// One HTTP GET over WinINet, on a connection of its own.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "shell/win_handle.h"
#include "updater/download/address.h"

struct TimeLimits {
    int connect = 0;  // ms
    int send = 0;
    int receive = 0;
};

// The InternetOpenA handle a task's requests share.
class InternetSession {
public:
    InternetSession();
    bool IsOpen() const { return static_cast<bool>(handle_); }
    HINTERNET Get() const { return handle_.Get(); }

private:
    UniqueInternet handle_;
};

class HttpRequest {
public:
    // Connects and sends the request with `extraHeader` (may be empty);
    // false when no answer came.
    bool Send(const InternetSession& session, const Address& address, const std::string& extraHeader,
              const TimeLimits& limits);
    int Status();
    std::int64_t ContentLength();  // -1 when the answer has none
    std::string ContentRange();     // empty when the answer has none
    // Bytes read into `buffer`; 0 at the end of the body; -1 on failure.
    long Read(char* buffer, unsigned long size);
    // From another thread: closes the handles, so that a call blocked on them
    // returns. Safe to call more than once.
    void Cancel();

private:
    HINTERNET Request();

    std::mutex mutex_;
    bool cancelled_ = false;
    UniqueInternet connection_;
    UniqueInternet request_;
};
