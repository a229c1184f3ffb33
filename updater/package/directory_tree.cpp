// FindEntry, CopyDirectory and DeleteDirectory on the Win32 directory calls.
#include "updater/package/entry_path.h"
#include "updater/package/package_files.h"

namespace {

constexpr char kAllEntries[] = "*.*";

bool Passes(const WIN32_FIND_DATAA& entry, int filter)
{
    bool isDirectory = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    return filter == kDirectoriesOnly ? isDirectory : !isDirectory;
}

void AppendBackslash(std::string& path)
{
    if (!EndsWithBackslash(path))
        path += '\\';
}

bool IsDotName(const std::string& name) { return !name.empty() && name.front() == '.'; }

// Deletes the files and subdirectories of `directory` (which ends with a
// backslash), leaving out names that begin with ".".
void DeleteContents(const std::string& directory)
{
    EntrySearch files;
    for (std::string name = files.FindEntry((directory + kAllEntries).c_str(), kFilesOnly); !name.empty();
         name = files.FindEntry(nullptr, kFilesOnly))
        if (!IsDotName(name))
            DeleteFileA((directory + name).c_str());
    files.End();
    EntrySearch directories;
    for (std::string name = directories.FindEntry((directory + kAllEntries).c_str(), kDirectoriesOnly);
         !name.empty(); name = directories.FindEntry(nullptr, kDirectoriesOnly)) {
        if (IsDotName(name))
            continue;
        DeleteContents(directory + name + "\\");
        RemoveDirectoryA((directory + name).c_str());
    }
}

}  // namespace

std::string EntrySearch::FindEntry(const char* pattern, int filter)
{
    WIN32_FIND_DATAA entry;
    bool found;
    if (pattern) {
        handle_.Reset(FindFirstFileA(pattern, &entry));
        found = static_cast<bool>(handle_);
    } else {
        found = handle_ && FindNextFileA(handle_.Get(), &entry);
    }
    while (found && !Passes(entry, filter))
        found = FindNextFileA(handle_.Get(), &entry);
    if (!found) {
        handle_.Reset();
        return {};
    }
    return entry.cFileName;
}

bool CopyDirectory(std::string& source, std::string& target, const std::function<void()>& handleWaitingMessages)
{
    if (handleWaitingMessages)
        handleWaitingMessages();
    AppendBackslash(source);

    EntrySearch search;
    std::string name = search.FindEntry((source + kAllEntries).c_str(), kFilesOnly);
    if (name.empty())
        CreateDirectoryA(target.c_str(), nullptr);
    while (!name.empty()) {
        CreateDirectoryA(target.c_str(), nullptr);
        AppendBackslash(target);
        CopyFileA((source + name).c_str(), (target + name).c_str(), FALSE);
        name = search.FindEntry(nullptr, kFilesOnly);
    }

    name = search.FindEntry((source + kAllEntries).c_str(), kDirectoriesOnly);
    while (!name.empty()) {
        AppendBackslash(target);
        if (!IsDotName(name)) {
            std::string subSource = source + name;
            std::string subTarget = target + name;
            CopyDirectory(subSource, subTarget, handleWaitingMessages);
        }
        CreateDirectoryA((target + name).c_str(), nullptr);
        name = search.FindEntry(nullptr, kDirectoriesOnly);
    }
    search.End();
    return true;
}

bool DeleteDirectory(const std::string& path)
{
    if (IsRefusedForDeletion(path))
        return false;
    std::string trimmed = path.substr(path.find_first_not_of(' '));
    std::string directory = trimmed;
    AppendBackslash(directory);
    DeleteContents(directory);
    return RemoveDirectoryA(trimmed.c_str());
}
