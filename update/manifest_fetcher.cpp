#include "update/manifest_fetcher.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <vector>

#include "shell/win_handle.h"
#include "update/fetch_rules.h"

namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr const char* kAcceptType = "Accept: */* \r\n";
constexpr const char* kExtraHeaders = "Accept: */*\r\n\r\n";
constexpr DWORD kCanonicalUrlSize = 2084;
constexpr DWORD kHostNameSize = 256;
constexpr DWORD kUrlPathSize = 2048;
constexpr DWORD kUserNameSize = 128;
constexpr DWORD kPasswordSize = 128;
constexpr DWORD kContentLengthSize = 32;

struct UrlParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    INTERNET_PORT port = 0;
    std::string host;
    std::string path;
    std::string userName;
    std::string password;
};

// One handle for the whole process, opened by the first fetch that needs it.
UniqueInternet& InternetSession()
{
    static UniqueInternet session;
    return session;
}

bool CanonicalizeUrl(const std::string& url, std::string& canonical)
{
    DWORD size = kCanonicalUrlSize;
    canonical.assign(size, '\0');
    if (!InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &size, ICU_NO_ENCODE)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return false;
        canonical.assign(size, '\0');
        if (!InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &size, ICU_NO_ENCODE))
            return false;
    }
    canonical.resize(size);
    return true;
}

bool CrackUrl(const std::string& url, UrlParts& parts)
{
    std::vector<char> host(kHostNameSize), path(kUrlPathSize), user(kUserNameSize), password(kPasswordSize);
    URL_COMPONENTSA components = {};
    components.dwStructSize = sizeof components;
    components.lpszHostName = host.data();
    components.dwHostNameLength = kHostNameSize;
    components.lpszUrlPath = path.data();
    components.dwUrlPathLength = kUrlPathSize;
    components.lpszUserName = user.data();
    components.dwUserNameLength = kUserNameSize;
    components.lpszPassword = password.data();
    components.dwPasswordLength = kPasswordSize;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &components))
        return false;
    parts = {components.nScheme, components.nPort, host.data(), path.data(), user.data(), password.data()};
    return true;
}

bool SplitUrl(std::string_view url, UrlParts& parts)
{
    std::string canonical;
    return CanonicalizeUrl(std::string(url), canonical) && CrackUrl(canonical, parts);
}

// Always from the server, never kept in a cache.
bool ChooseRequestFlags(INTERNET_SCHEME scheme, DWORD& flags)
{
    flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (scheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    return scheme == INTERNET_SCHEME_HTTP || scheme == INTERNET_SCHEME_HTTPS;
}

bool OpenInternetSession()
{
    UniqueInternet& session = InternetSession();
    if (!session)
        session.Reset(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    return static_cast<bool>(session);
}

// The system's own proxy settings, and no proxy credentials of our own.
void UseSystemProxy(HINTERNET connection)
{
    INTERNET_PROXY_INFO proxy = {};
    proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
    InternetSetOptionA(InternetSession().Get(), INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
    char empty[] = "";
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, empty, sizeof empty);
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, sizeof empty);
}

std::string QueryContentLength(HINTERNET request)
{
    char text[kContentLengthSize] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return {};
    return std::string(text, size);
}

// Reads until the server reports the end or a read fails; what arrived
// before a failure is kept.
std::string ReadBody(HINTERNET request)
{
    std::vector<char> chunk(ChooseReadChunkSize(QueryContentLength(request)));
    std::string body;
    DWORD read = 0;
    while (InternetReadFile(request, chunk.data(), static_cast<DWORD>(chunk.size()), &read) && read > 0)
        body.append(chunk.data(), read);
    return body;
}

}  // namespace

std::string FetchUrl(std::string_view url)
{
    UrlParts parts;
    DWORD flags = 0;
    if (url.empty() || !SplitUrl(url, parts) || !ChooseRequestFlags(parts.scheme, flags) || !OpenInternetSession())
        return {};
    const UniqueInternet connection(InternetConnectA(InternetSession().Get(), parts.host.c_str(), parts.port,
                                                     parts.userName.c_str(), parts.password.c_str(),
                                                     INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return {};
    UseSystemProxy(connection.Get());

    const std::string path(CutFragment(parts.path));
    const char* acceptTypes[] = {kAcceptType, nullptr};
    const UniqueInternet request(HttpOpenRequestA(connection.Get(), "GET", path.c_str(), "HTTP/1.0", nullptr,
                                                  acceptTypes, flags, 0));
    if (!request || !HttpSendRequestA(request.Get(), kExtraHeaders, static_cast<DWORD>(std::strlen(kExtraHeaders)),
                                      nullptr, 0))
        return {};
    return ReadBody(request.Get());
}
