// Downloading one resource over HTTP with the system's HTTP client.
#pragma once

#include <string>
#include <string_view>

// The body at `url` (GBK text), as far as it could be read; empty when the
// URL is unusable, any step before the body fails, or the body is empty.
// The status code is not looked at: an error page comes back like any body.
// Sends an HTTP/1.0 GET that bypasses caches; redirects are followed.
std::string FetchUrl(std::string_view url);
