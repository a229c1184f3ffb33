#include "updater/download/save_file.h"

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SaveFile::Create(const std::string& path)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool SaveFile::Open(const std::string& path, std::int64_t offset)
{
    file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER position;
    position.QuadPart = offset;
    return file_ && SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN);
}

bool SaveFile::Write(const char* data, unsigned long size)
{
    DWORD written = 0;
    return WriteFile(file_.Get(), data, size, &written, nullptr) && written == size;
}
