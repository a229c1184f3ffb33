// Writes an extraction's directories and files, in order, on a thread of its
// own: under Wine creating a file is a round trip to the server and the
// kernel's own file creation, which then overlap with inflating the next
// entries.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "shell/win_handle.h"

// Creates `path` and its parents; whether it is a directory afterwards.
bool CreateDirectoryChain(const std::string& path);

class EntryWriter {
public:
    EntryWriter();
    ~EntryWriter();
    EntryWriter(const EntryWriter&) = delete;
    EntryWriter& operator=(const EntryWriter&) = delete;

    // Each queues one step and returns false once an earlier step has failed.
    bool MakeDirectory(const std::string& path);
    // Creates the file and its parents, replacing a read-only file there.
    bool BeginFile(const std::string& path);
    bool Append(std::vector<char> data);
    // Leaves the file with no attributes set and closes it.
    bool EndFile();
    // Waits until every queued step is done; whether all succeeded.
    bool Finish();

private:
    enum class Step { kDirectory, kBeginFile, kData, kEndFile };
    struct Job {
        Step step;
        std::string path;
        std::vector<char> data;
    };

    bool Queue(Job job);
    void Run();
    bool Do(const Job& job);
    bool OpenFile(const std::string& path);

    std::mutex mutex_;
    std::condition_variable changed_;
    // Guarded by mutex_.
    std::deque<Job> jobs_;
    std::size_t queuedBytes_ = 0;
    bool closing_ = false;
    bool failed_ = false;
    // Who waits: a notification is a server round trip under Wine, so it is
    // sent only to a side that waits.
    bool writerWaits_ = false;
    bool queueWaits_ = false;
    // The writing thread's own.
    std::unordered_set<std::string> made_;  // directories already created
    UniqueFile file_;
    std::thread thread_;
};
