#include "updater/package/entry_writer.h"

#include "updater/package/entry_path.h"

namespace {

// Inflating waits while this much is queued: the bound on the memory held.
constexpr std::size_t kMaxQueuedBytes = 16 * 1024 * 1024;

HANDLE CreateEntryFile(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Creating the file set "archive". Through the handle: by path, Wine opens and
// closes the file again.
bool ClearAttributes(HANDLE file)
{
    FILE_BASIC_INFO info{};
    info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

bool WriteAll(HANDLE file, const std::vector<char>& data)
{
    DWORD written = 0;
    return WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
           written == data.size();
}

}  // namespace

bool CreateDirectoryChain(const std::string& path)
{
    for (const std::string& parent : ParentDirectories(path))
        CreateDirectoryA(parent.c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

EntryWriter::EntryWriter() : thread_([this] { Run(); }) {}

EntryWriter::~EntryWriter() { Finish(); }

bool EntryWriter::MakeDirectory(const std::string& path) { return Queue({Step::kDirectory, path, {}}); }

bool EntryWriter::BeginFile(const std::string& path) { return Queue({Step::kBeginFile, path, {}}); }

bool EntryWriter::Append(std::vector<char> data) { return Queue({Step::kData, {}, std::move(data)}); }

bool EntryWriter::EndFile() { return Queue({Step::kEndFile, {}, {}}); }

bool EntryWriter::Finish()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    file_.Reset();
    std::lock_guard lock(mutex_);
    return !failed_;
}

bool EntryWriter::Queue(Job job)
{
    std::unique_lock lock(mutex_);
    queueWaits_ = true;
    changed_.wait(lock, [&] { return failed_ || queuedBytes_ < kMaxQueuedBytes; });
    queueWaits_ = false;
    if (failed_)
        return false;
    queuedBytes_ += job.data.size();
    jobs_.push_back(std::move(job));
    if (writerWaits_)
        changed_.notify_all();
    return true;
}

void EntryWriter::Run()
{
    for (;;) {
        Job job;
        bool skip;
        {
            std::unique_lock lock(mutex_);
            writerWaits_ = true;
            changed_.wait(lock, [&] { return !jobs_.empty() || closing_; });
            writerWaits_ = false;
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            queuedBytes_ -= job.data.size();
            skip = failed_;
            if (queueWaits_ && queuedBytes_ < kMaxQueuedBytes)
                changed_.notify_all();
        }
        if (skip || Do(job))
            continue;
        std::lock_guard lock(mutex_);
        failed_ = true;
        changed_.notify_all();
    }
}

bool EntryWriter::Do(const Job& job)
{
    switch (job.step) {
    case Step::kDirectory:
        return CreateDirectoryChain(job.path);
    case Step::kBeginFile:
        return OpenFile(job.path);
    case Step::kData:
        return WriteAll(file_.Get(), job.data);
    case Step::kEndFile: {
        bool cleared = ClearAttributes(file_.Get());
        file_.Reset();
        return cleared;
    }
    }
    return false;
}

bool EntryWriter::OpenFile(const std::string& path)
{
    // Each parent once: under Wine every CreateDirectoryA costs a server call
    // and a walk of the path.
    for (const std::string& parent : ParentDirectories(path))
        if (made_.insert(parent).second)
            CreateDirectoryA(parent.c_str(), nullptr);
    file_.Reset(CreateEntryFile(path));
    if (!file_ && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        file_.Reset(CreateEntryFile(path));
    return static_cast<bool>(file_);
}
