#include "updater/package/entry_path.h"

#include <algorithm>

#include "shell/gbk_text.h"

namespace {

constexpr std::string_view kParent = "..";

// The components of a name split at '/' and '\' that stand as characters.
std::vector<std::string> SplitComponents(std::string_view name)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (IsGbkLeadByte(c) && i + 1 < name.size()) {
            parts.back() += name.substr(i, 2);
            ++i;
        } else if (c == '/' || c == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool HasColon(std::string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsGbkLeadByte(name[i]))
            ++i;
        else if (name[i] == ':')
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> SafeEntryPath(std::string_view name)
{
    if (name.empty() || HasColon(name))
        return std::nullopt;
    std::vector<std::string> parts = SplitComponents(name);
    if (parts.front().empty())  // a leading separator: absolute
        return std::nullopt;
    std::string path;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] == kParent)
            return std::nullopt;
        path += parts[i];
        if (i + 1 < parts.size())
            path += '\\';
    }
    return path;
}

std::vector<std::string> ParentDirectories(std::string_view path)
{
    std::vector<std::string> parents;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsGbkLeadByte(path[i]))
            ++i;
        else if (path[i] == '\\' && i > 0)
            parents.emplace_back(path.substr(0, i));
    }
    return parents;
}

bool EndsWithBackslash(std::string_view path)
{
    return !path.empty() && FindLastGbkChar(path, '\\') == path.size() - 1;
}

bool IsRefusedForDeletion(std::string_view path)
{
    path.remove_prefix(std::min(path.find_first_not_of(' '), path.size()));
    if (path.empty())
        return true;
    return path.size() >= 2 && path[1] == ':' && (path.size() == 2 || (path.size() == 3 && path[2] == '\\'));
}
