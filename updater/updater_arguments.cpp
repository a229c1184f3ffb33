#include "updater/updater_arguments.h"

namespace {

// The main program passes at least these: token, download address, title,
// "运行", the program to start again, and the file name.
constexpr std::size_t kLeastArgumentCount = 6;

}  // namespace

bool AreUpdaterArgumentsAccepted(const std::vector<std::string>& arguments)
{
    return arguments.size() >= kLeastArgumentCount && arguments.front() == kLaunchToken;
}
