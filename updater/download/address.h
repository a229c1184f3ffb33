// Taking a download address apart, and choosing another save file name.
// No system calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Scheme { kHttp, kHttps, kFtp };

struct Address {
    Scheme scheme = Scheme::kHttp;
    std::string host;
    int port = 0;
    std::string path;  // with the query, without the fragment; "/" when empty
};

// "scheme://[user[:password]@]host[:port][/path][?query][#fragment]".
// The fragment is cut off: it is not part of the request.
std::optional<Address> ParseAddress(std::string_view text);

// "dir\name.ext" with " (n)" put before the extension of the last component.
std::string NumberedFileName(std::string_view path, int n);
