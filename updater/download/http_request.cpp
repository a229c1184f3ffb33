#include "updater/download/http_request.h"

namespace {

constexpr char kUserAgent[] = "Vantry-Updater";

void SetTimeLimits(HINTERNET handle, const TimeLimits& limits)
{
    // Wine honours these on the connect and request handles, not on the session.
    DWORD connect = limits.connect, send = limits.send, receive = limits.receive;
    InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &send, sizeof send);
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

}  // namespace

InternetSession::InternetSession()
    : handle_(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0))
{
}

HINTERNET HttpRequest::Request()
{
    std::lock_guard lock(mutex_);
    return request_.Get();
}

bool HttpRequest::Send(const InternetSession& session, const Address& address, const std::string& extraHeader,
                       const TimeLimits& limits)
{
    HINTERNET request;
    {
        std::lock_guard lock(mutex_);
        if (cancelled_)
            return false;
        connection_.Reset(InternetConnectA(session.Get(), address.host.c_str(),
                                           static_cast<INTERNET_PORT>(address.port), nullptr, nullptr,
                                           INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection_)
            return false;
        SetTimeLimits(connection_.Get(), limits);
        DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
        if (address.scheme == Scheme::kHttps)
            flags |= INTERNET_FLAG_SECURE;
        request_.Reset(HttpOpenRequestA(connection_.Get(), "GET", address.path.c_str(), nullptr, nullptr,
                                        nullptr, flags, 0));
        if (!request_)
            return false;
        SetTimeLimits(request_.Get(), limits);
        request = request_.Get();
    }
    return HttpSendRequestA(request, extraHeader.empty() ? nullptr : extraHeader.c_str(),
                            static_cast<DWORD>(extraHeader.size()), nullptr, 0);
}

int HttpRequest::Status()
{
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(Request(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return static_cast<int>(status);
}

std::int64_t HttpRequest::ContentLength()
{
    char text[32];
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(Request(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return -1;
    return _strtoi64(text, nullptr, 10);
}

std::string HttpRequest::ContentRange()
{
    char text[128];
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(Request(), HTTP_QUERY_CONTENT_RANGE, text, &size, nullptr))
        return {};
    return std::string(text, size);
}

long HttpRequest::Read(char* buffer, unsigned long size)
{
    DWORD got = 0;
    if (!InternetReadFile(Request(), buffer, size, &got))
        return -1;
    return static_cast<long>(got);
}

void HttpRequest::Cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    request_.Reset();
    connection_.Reset();
}
