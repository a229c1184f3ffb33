#include "shell/gbk_text.h"

std::size_t FindLastGbkChar(std::string_view text, char separator)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsGbkLeadByte(text[i]))
            ++i;
        else if (text[i] == separator)
            found = i;
    }
    return found;
}

PathSplit SplitAtLastBackslash(std::string_view path)
{
    const std::size_t at = FindLastGbkChar(path, '\\');
    if (at == std::string_view::npos)
        return {std::string(), std::string(path)};
    return {std::string(path.substr(0, at)), std::string(path.substr(at + 1))};
}

std::string ReplaceGbkChar(std::string_view text, char from, char to)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsGbkLeadByte(out[i]))
            ++i;
        else if (out[i] == from)
            out[i] = to;
    }
    return out;
}
