#include "about/about_text.h"

#include "shell/number_text.h"

namespace {

constexpr const char* kAuthorAlias = "Qelvano";
constexpr const char* kContactNumber = "582014739";
constexpr const char* kContactLabel = "\r\n\r\n QQ：";

}  // namespace

std::string AboutText()
{
    return std::string(kAuthorAlias) + kContactLabel + kContactNumber;
}

std::string CountdownText(int secondsLeft)
{
    return std::string(kAuthorAlias) + "   (" + FormatInteger(secondsLeft) + ")" + kContactLabel + kContactNumber;
}
