// The file a download writes into, one handle per connection, each range
// written straight into its place.
#pragma once

#include <cstdint>
#include <string>

#include "shell/win_handle.h"

bool FileExists(const std::string& path);

class SaveFile {
public:
    // Creates the file empty (replacing one that exists).
    static bool Create(const std::string& path);
    // Opens the existing file for writing from `offset` on; shared with the
    // other connections of the task.
    bool Open(const std::string& path, std::int64_t offset);
    bool Write(const char* data, unsigned long size);

private:
    UniqueFile file_;
};
