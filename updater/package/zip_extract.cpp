// ExtractZip on minizip, with Win32 file calls.
#include <optional>
#include <unordered_set>
#include <vector>

#include "unzip.h"
#include "updater/package/archive_reader.h"
#include "updater/package/entry_path.h"
#include "updater/package/package_files.h"

namespace {

constexpr uLong kUtf8NameFlag = 1u << 11;
constexpr UINT kGbkCodePage = 936;
constexpr unsigned kCopyBufferBytes = 256 * 1024;
constexpr unsigned kMaxNameBytes = 1024;

struct ZipTraits {
    using Handle = unzFile;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { unzClose(h); }
};
using UniqueZip = ScopedHandle<ZipTraits>;

std::string Utf8ToGbkName(const std::string& utf8)
{
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    int bytes = WideCharToMultiByte(kGbkCodePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string gbk(bytes, '\0');
    WideCharToMultiByte(kGbkCodePage, 0, wide.data(), units, gbk.data(), bytes, nullptr, nullptr);
    return gbk;
}

// The current entry's name as GBK: converted when flagged UTF-8, otherwise
// taken as GBK bytes.
std::string CurrentEntryName(unzFile zip)
{
    unz_file_info64 info;
    char name[kMaxNameBytes];
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
        return {};
    std::string text(name, std::min<uLong>(info.size_filename, sizeof name - 1));
    return (info.flag & kUtf8NameFlag) ? Utf8ToGbkName(text) : text;
}

bool IsDirectoryEntry(const std::string& name)
{
    return !name.empty() && (name.back() == '/' || EndsWithBackslash(name));
}

// Every entry's path below the target, in the archive's order; nothing when
// any entry would land outside it.
std::optional<std::vector<std::string>> PlanEntries(unzFile zip)
{
    std::vector<std::string> paths;
    for (int at = unzGoToFirstFile(zip); at == UNZ_OK; at = unzGoToNextFile(zip)) {
        std::optional<std::string> path = SafeEntryPath(CurrentEntryName(zip));
        if (!path)
            return std::nullopt;
        paths.push_back(*path);
    }
    return paths;
}

bool CreateDirectoryChain(const std::string& path)
{
    for (const std::string& parent : ParentDirectories(path))
        CreateDirectoryA(parent.c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool InflateInto(unzFile zip, HANDLE file, std::vector<char>& buffer)
{
    for (;;) {
        int got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), static_cast<DWORD>(got), &written, nullptr) ||
            written != static_cast<DWORD>(got))
            return false;
    }
}

// Creates the parents of `path` that this extraction has not made yet: under
// Wine each CreateDirectoryA costs a server call and a walk of the path.
void CreateParents(const std::string& path, std::unordered_set<std::string>& made)
{
    for (const std::string& parent : ParentDirectories(path))
        if (made.insert(parent).second)
            CreateDirectoryA(parent.c_str(), nullptr);
}

// Leaves the file with no attributes set (creating it set "archive"), through
// its handle: by path, Wine opens and closes the file again.
bool ClearAttributes(HANDLE file)
{
    FILE_BASIC_INFO info{};
    info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

HANDLE CreateEntryFile(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Writes the current entry to `path`, replacing a read-only file there.
bool WriteCurrentEntry(unzFile zip, const std::string& path, std::vector<char>& buffer,
                       std::unordered_set<std::string>& made)
{
    CreateParents(path, made);
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    bool written;
    {
        UniqueFile file(CreateEntryFile(path));
        if (!file && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
            file.Reset(CreateEntryFile(path));
        written = file && InflateInto(zip, file.Get(), buffer) && ClearAttributes(file.Get());
    }
    // The CRC is checked here, after the last byte.
    bool intact = unzCloseCurrentFile(zip) == UNZ_OK;
    return written && intact;
}

}  // namespace

int ExtractZip(const std::string& archive, const std::string& directory)
{
    if (archive.empty() || directory.empty())
        return kExtractBadArguments;
    DWORD attributes = GetFileAttributesA(archive.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kExtractBadArguments;
    if (!CreateDirectoryChain(directory))
        return kExtractFailed;

    zlib_filefunc64_def io;
    FillBufferedReadFunctions(&io);
    UniqueZip zip(unzOpen2_64(archive.c_str(), &io));
    if (!zip)
        return kExtractFailed;
    std::optional<std::vector<std::string>> paths = PlanEntries(zip.Get());
    if (!paths)
        return kExtractFailed;

    const std::string base = EndsWithBackslash(directory) ? directory : directory + "\\";
    std::vector<char> buffer(kCopyBufferBytes);
    std::unordered_set<std::string> made;
    int at = unzGoToFirstFile(zip.Get());
    for (const std::string& path : *paths) {
        if (at != UNZ_OK)
            return kExtractFailed;
        bool ok = IsDirectoryEntry(path) ? CreateDirectoryChain(base + path.substr(0, path.size() - 1))
                                         : WriteCurrentEntry(zip.Get(), base + path, buffer, made);
        if (!ok)
            return kExtractFailed;
        at = unzGoToNextFile(zip.Get());
    }
    return kExtractDone;
}
