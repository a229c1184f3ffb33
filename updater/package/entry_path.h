// Rules for the paths the package operations form. No system calls; every
// text is GBK and is walked by characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A ZIP entry's name as a path relative to the target, with backslashes; or
// nothing when it would land outside the target: an absolute name, one with
// a drive letter or stream colon, or one with a ".." component.
std::optional<std::string> SafeEntryPath(std::string_view name);

// Every directory above `path`'s last component that needs creating, the
// outermost first: "a\b\c" gives "a" and "a\b".
std::vector<std::string> ParentDirectories(std::string_view path);

bool EndsWithBackslash(std::string_view path);

// Whether DeleteDirectory must refuse `path`: empty after leading blanks, or
// a drive root ("C:" or "C:\").
bool IsRefusedForDeletion(std::string_view path);
