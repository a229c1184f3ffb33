#include "update/updater_command.h"

#include "updater/updater_arguments.h"

namespace {

// The updater starts this program again when it has finished; the name is
// fixed whatever the running file is called.
constexpr const char* kRestartWords = "运行 Vantry.exe";

}  // namespace

std::string UpdaterPath(std::string_view runDirectory)
{
    return std::string(runDirectory) + "\\" + kUpdaterDirectoryName + "\\" + kUpdaterFileName;
}

std::string BuildUpdaterCommandLine(std::string_view runDirectory, const UpdaterRequest& request)
{
    return "\"" + UpdaterPath(runDirectory) + "\" " + kLaunchToken + " " + request.downloadAddress + " " +
           request.fileTitle + " " + kRestartWords + " " + request.fileName + " " + request.updateNotes;
}
