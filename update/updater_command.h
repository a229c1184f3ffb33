// Where the updater lives below the program, and the command line it is
// started with.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* kUpdaterDirectoryName = "升级文件";
inline constexpr const char* kUpdaterFileName = "update.exe";

// The manifest's values that the updater gets; each may be empty.
struct UpdaterRequest {
    std::string downloadAddress;
    std::string fileTitle;
    std::string fileName;
    std::string updateNotes;
};

// "<runDirectory>\升级文件\update.exe", the file the hand-off writes and starts.
std::string UpdaterPath(std::string_view runDirectory);

// The updater's path in double quotes (a blank in the run directory would
// otherwise split it), then the launch token, the download address, the
// title, "运行 Vantry.exe", the file name and the notes, each after one blank
// and none quoted: an empty value leaves two blanks side by side.
std::string BuildUpdaterCommandLine(std::string_view runDirectory, const UpdaterRequest& request);
