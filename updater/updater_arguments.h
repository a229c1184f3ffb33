// What the updater demands of its command line before it does anything.
#pragma once

#include <string>
#include <vector>

// The first argument the main program passes; any other start is refused.
inline constexpr const char* kLaunchToken = "授权标记";

// The arguments (after the program name) are enough and start with the
// launch token: at least six, the first equal to kLaunchToken byte for byte.
bool AreUpdaterArgumentsAccepted(const std::vector<std::string>& arguments);
