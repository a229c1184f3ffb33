// Splitting the updater's command line into its arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The tokens of `commandLine` (GBK text) that follow the program name.
// A token is a run of bytes above 0x20, or the bytes between double quotes;
// a double quote also ends an unquoted token. A two-byte character stays
// whole whatever its second byte; a lead byte at the very end is dropped.
// Backslashes are ordinary bytes.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
