// The file operations of the package installation.
#pragma once

#include <functional>
#include <string>

#include "shell/win_handle.h"

// ExtractZip's results.
enum ExtractResult : int {
    kExtractBadArguments = -1,  // a path is empty or the archive does not exist
    kExtractFailed = 0,         // cannot open, cannot create, an entry cannot be written
    kExtractDone = 1,
};

// Unpacks every entry of `archive` below `directory`. An archive with an
// entry that would land outside `directory` is refused before anything is
// written; an entry whose data fails its CRC counts as not written.
int ExtractZip(const std::string& archive, const std::string& directory);

// FindEntry's filters.
enum EntryFilter : int {
    kFilesOnly = 0,
    kDirectoriesOnly = FILE_ATTRIBUTE_DIRECTORY,
};

// One directory search: each caller, and each level of a recursion, has its own.
class EntrySearch {
public:
    // With a pattern, starts a new search; with none, continues it. The name
    // (without path) of the next entry that passes `filter`, empty at the end.
    std::string FindEntry(const char* pattern, int filter);
    void End() { handle_.Reset(); }

private:
    UniqueFind handle_;
};

// Copies the files and directories below `source` over `target`, appending a
// backslash to either where it lacks one; `handleWaitingMessages` runs at the
// start of every directory level. Always true.
bool CopyDirectory(std::string& source, std::string& target,
                   const std::function<void()>& handleWaitingMessages = {});

// Removes `path` with everything in it, leaving out names that begin with
// "."; false when the path is refused or the directory cannot be removed.
bool DeleteDirectory(const std::string& path);
