#include "updater/package/archive_reader.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "shell/win_handle.h"

namespace {

constexpr std::size_t kWindowBytes = 256 * 1024;

// One stretch of the archive held in memory.
struct Window {
    std::vector<char> bytes = std::vector<char>(kWindowBytes);
    std::uint64_t start = 0;
    std::size_t length = 0;
    unsigned lastUse = 0;

    bool Holds(std::uint64_t at) const { return at >= start && at < start + length; }
};

// Reads the archive through two windows: minizip alternates between the
// central directory at the end and each entry's data, which one window would
// read again for every entry.
class BufferedArchive {
public:
    explicit BufferedArchive(HANDLE file) : file_(file) {}

    bool Open()
    {
        LARGE_INTEGER size;
        if (!file_ || !GetFileSizeEx(file_.Get(), &size))
            return false;
        size_ = static_cast<std::uint64_t>(size.QuadPart);
        return true;
    }

    std::size_t Read(char* out, std::size_t size)
    {
        std::size_t done = 0;
        while (done < size && position_ < size_) {
            Window* window = WindowHolding(position_);
            if (!window) {
                if (size - done >= kWindowBytes)
                    return done + ReadAt(position_, out + done, size - done);
                window = Fill(position_);
                if (!window)
                    return done;
            }
            window->lastUse = ++uses_;
            std::size_t from = static_cast<std::size_t>(position_ - window->start);
            std::size_t take = std::min(size - done, window->length - from);
            std::memcpy(out + done, window->bytes.data() + from, take);
            done += take;
            position_ += take;
        }
        return done;
    }

    bool Seek(std::uint64_t offset, int origin)
    {
        std::uint64_t base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                             : origin == ZLIB_FILEFUNC_SEEK_CUR ? position_
                                                                : size_;
        position_ = base + offset;
        return position_ <= size_;
    }

    std::uint64_t Tell() const { return position_; }
    bool Failed() const { return failed_; }

private:
    Window* WindowHolding(std::uint64_t at)
    {
        for (Window& window : windows_)
            if (window.Holds(at))
                return &window;
        return nullptr;
    }

    // Refills the window used least recently.
    Window* Fill(std::uint64_t at)
    {
        Window& window = windows_[0].lastUse <= windows_[1].lastUse ? windows_[0] : windows_[1];
        window.start = at;
        window.length = ReadAtRaw(at, window.bytes.data(), window.bytes.size());
        return window.length > 0 ? &window : nullptr;
    }

    // Reads past the windows, moving the position.
    std::size_t ReadAt(std::uint64_t at, char* out, std::size_t size)
    {
        std::size_t got = ReadAtRaw(at, out, size);
        position_ += got;
        return got;
    }

    std::size_t ReadAtRaw(std::uint64_t at, char* out, std::size_t size)
    {
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD got = 0;
        if (!ReadFile(file_.Get(), out, static_cast<DWORD>(size), &got, &where) && GetLastError() != ERROR_HANDLE_EOF)
            failed_ = true;
        return got;
    }

    UniqueFile file_;
    Window windows_[2];
    unsigned uses_ = 0;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    bool failed_ = false;
};

BufferedArchive* From(voidpf stream) { return static_cast<BufferedArchive*>(stream); }

voidpf ZCALLBACK OpenArchive(voidpf, const void* name, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto archive = std::make_unique<BufferedArchive>(CreateFileA(static_cast<const char*>(name), GENERIC_READ,
                                                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return archive->Open() ? archive.release() : nullptr;
}

uLong ZCALLBACK ReadArchive(voidpf, voidpf stream, void* out, uLong size)
{
    return static_cast<uLong>(From(stream)->Read(static_cast<char*>(out), size));
}

uLong ZCALLBACK WriteNothing(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellArchive(voidpf, voidpf stream) { return From(stream)->Tell(); }

long ZCALLBACK SeekArchive(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    return From(stream)->Seek(offset, origin) ? 0 : -1;
}

int ZCALLBACK CloseArchive(voidpf, voidpf stream)
{
    delete From(stream);
    return 0;
}

int ZCALLBACK ArchiveError(voidpf, voidpf stream) { return From(stream)->Failed() ? 1 : 0; }

}  // namespace

void FillBufferedReadFunctions(zlib_filefunc64_def* functions)
{
    functions->zopen64_file = OpenArchive;
    functions->zread_file = ReadArchive;
    functions->zwrite_file = WriteNothing;
    functions->ztell64_file = TellArchive;
    functions->zseek64_file = SeekArchive;
    functions->zclose_file = CloseArchive;
    functions->zerror_file = ArchiveError;
    functions->opaque = nullptr;
}
