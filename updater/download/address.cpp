#include "updater/download/address.h"

#include <charconv>

#include "shell/gbk_text.h"

namespace {

struct SchemeName {
    std::string_view prefix;
    Scheme scheme;
    int port;
};

constexpr SchemeName kSchemes[] = {
    {"http://", Scheme::kHttp, 80},
    {"https://", Scheme::kHttps, 443},
    {"ftp://", Scheme::kFtp, 21},
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

bool ParsePort(std::string_view text, int& port)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && end == text.data() + text.size() && port > 0 && port < 65536;
}

}  // namespace

std::optional<Address> ParseAddress(std::string_view text)
{
    const SchemeName* found = nullptr;
    for (const SchemeName& s : kSchemes)
        if (StartsWithNoCase(text, s.prefix))
            found = &s;
    if (!found)
        return std::nullopt;
    text.remove_prefix(found->prefix.size());
    text = text.substr(0, text.find('#'));

    Address address;
    address.scheme = found->scheme;
    address.port = found->port;
    std::size_t pathStart = text.find_first_of("/?");
    std::string_view authority = text.substr(0, pathStart);
    address.path = pathStart == std::string_view::npos ? "/" : std::string(text.substr(pathStart));
    if (address.path.front() == '?')
        address.path.insert(0, "/");

    if (std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (std::size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        if (!ParsePort(authority.substr(colon + 1), address.port))
            return std::nullopt;
        authority = authority.substr(0, colon);
    }
    if (authority.empty())
        return std::nullopt;
    address.host = authority;
    return address;
}

std::string NumberedFileName(std::string_view path, int n)
{
    std::size_t nameStart = FindLastGbkChar(path, '\\');
    nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
    std::size_t dot = FindLastGbkChar(path.substr(nameStart), '.');
    std::size_t cut = dot == std::string_view::npos || dot == 0 ? path.size() : nameStart + dot;
    return std::string(path.substr(0, cut)) + " (" + std::to_string(n) + ")" + std::string(path.substr(cut));
}
