// ExtractZip on minizip, with Win32 file calls.
#include <optional>
#include <vector>

#include "unzip.h"
#include "updater/package/archive_reader.h"
#include "updater/package/entry_writer.h"
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

// Inflates the current entry into the writer's file `path`; false when it
// cannot be read, fails its CRC, or cannot be written.
bool InflateCurrentEntry(unzFile zip, const std::string& path, std::vector<char>& buffer, EntryWriter& writer)
{
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    bool inflated = writer.BeginFile(path);
    while (inflated) {
        int got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (got <= 0) {
            inflated = got == 0;
            break;
        }
        inflated = writer.Append(std::vector<char>(buffer.data(), buffer.data() + got));
    }
    // The CRC is checked here, after the last byte.
    bool intact = unzCloseCurrentFile(zip) == UNZ_OK;
    return inflated && intact && writer.EndFile();
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
    EntryWriter writer;
    int at = unzGoToFirstFile(zip.Get());
    for (const std::string& path : *paths) {
        if (at != UNZ_OK)
            return kExtractFailed;
        bool ok = IsDirectoryEntry(path) ? writer.MakeDirectory(base + path.substr(0, path.size() - 1))
                                         : InflateCurrentEntry(zip.Get(), base + path, buffer, writer);
        if (!ok)
            return kExtractFailed;
        at = unzGoToNextFile(zip.Get());
    }
    return writer.Finish() ? kExtractDone : kExtractFailed;
}
