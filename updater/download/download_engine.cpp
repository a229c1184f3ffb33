#include "updater/download/download_engine.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "updater/download/address.h"
#include "updater/download/clock.h"
#include "updater/download/http_request.h"
#include "updater/download/range_plan.h"
#include "updater/download/save_file.h"
#include "updater/download/speed_limit.h"

namespace {

constexpr int kProgressIntervalMs = 250;
constexpr int kTickMs = 50;
constexpr int kMaxOtherNames = 99;
constexpr int kHttpOk = 200;
constexpr int kHttpPartial = 206;
constexpr int kHttpFirstError = 400;
constexpr int kMessageKindError = 1;
constexpr int kMessageLevelError = 2;
// The first request asks for no more than this, since it goes out before the
// size is known. Closing a WinINet request makes Wine read the rest of its body
// (1 KB at a time, as fast as the server sends), so an open-ended first answer
// cut off at the end of the first range cost the whole rest of the file.
// No range is smaller, so the first answer never runs past the first range.
constexpr std::int64_t kFirstAnswerBytes = kMinRangeBytes;
// Reads grow up to this size while the server keeps up (see NextReadSize):
// with the task's 20 KB reads, the cost of each InternetReadFile under Wine
// capped a connection at about 200 MB/s on loopback; 256 KB reads reach 500.
constexpr int kMaxReadBytes = 256 * 1024;

std::atomic<int> nextTaskId{1};

struct Event {
    int code;
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::int64_t c = 0;
};

int Clamp(std::int64_t value)
{
    return static_cast<int>(std::min<std::int64_t>(value, INT32_MAX));
}

}  // namespace

// One connection's try at one range.
struct Attempt {
    int range = 0;
    HttpRequest request;
    std::thread thread;
    // Guarded by TaskRun::mutex_.
    std::uint64_t deadline = 0;
    bool finished = false;
    bool abandoned = false;  // given up by the task; its results no longer count
};

class TaskRun : public std::enable_shared_from_this<TaskRun> {
public:
    TaskRun(const TaskParam& param, int id) : param_(param), source_(&param), id_(id) {}

    int Id() const { return id_; }
    int RetryPause() const { return param_.retryPause; }
    void Run();
    TaskData Snapshot();
    std::int64_t TakeReceived() { return received_.exchange(0); }
    void RequestStop();
    // Waits until the task thread has finished, at most `ms`.
    bool WaitEnded(int ms);
    bool Complete();

private:
    bool Prepare();
    bool ChooseSavePath();
    void StartDueAttemptsLocked(std::uint64_t now);
    void ReapAttemptsLocked();
    void CancelOverdueLocked(std::uint64_t now);
    void QueueProgressLocked(std::uint64_t now);
    bool DoneLocked();
    void Finish();
    void DeliverAll();
    void Deliver(const Event& event);
    void Message(const std::string& text);

    void RunAttempt(const std::shared_ptr<Attempt>& attempt);
    bool FetchRange(Attempt& attempt);
    std::string NextRequestHeader(Attempt& attempt);
    bool AcceptAnswer(Attempt& attempt, std::int64_t& offset, std::int64_t& answerEnd);
    bool ReceiveBody(Attempt& attempt, std::int64_t& offset);
    bool KeepToSpeedLimit(Attempt& attempt, std::unique_lock<std::mutex>& lock, std::int64_t bytes);
    void QueueStartLocked();
    void QueueLocked(Event event);
    void WakeLocked();

    TaskParam param_;
    const TaskParam* source_;  // read again only inside the 存在同名文件 call
    const int id_;
    Address address_;
    InternetSession session_;
    std::atomic<std::int64_t> received_{0};

    std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by mutex_.
    bool woken_ = false;  // something for the task thread happened since it last looked
    std::int64_t total_ = -1;
    std::vector<ByteRange> ranges_;
    std::vector<std::shared_ptr<Attempt>> attempts_;
    std::vector<Event> events_;
    bool startQueued_ = false;
    bool stopRequested_ = false;
    bool failed_ = false;
    bool complete_ = false;
    bool ended_ = false;
    std::int64_t doneAtLastProgress_ = 0;
    std::uint64_t lastProgress_ = 0;
    std::uint64_t windDownAt_ = 0;  // when a stop or a failure began ending the connections
    std::uint64_t startedAt_ = 0;
    std::int64_t limitedBytes_ = 0;  // received by all connections, counted for the speed limit
};

void TaskRun::WakeLocked()
{
    woken_ = true;
    wake_.notify_all();
}

void TaskRun::QueueLocked(Event event)
{
    events_.push_back(event);
    WakeLocked();
}

void TaskRun::QueueStartLocked()
{
    if (startQueued_)
        return;
    startQueued_ = true;
    QueueLocked({传送常量::下载上传开始, total_});
}

void TaskRun::Deliver(const Event& event)
{
    if (param_.eventRoutine)
        param_.eventRoutine(event.code, Clamp(event.a), Clamp(event.b), Clamp(event.c), id_);
}

void TaskRun::DeliverAll()
{
    std::vector<Event> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(events_);
    }
    for (const Event& event : batch)
        Deliver(event);
}

void TaskRun::Message(const std::string& text)
{
    if (param_.messageRoutine)
        param_.messageRoutine(kMessageKindError, LocalTimeText().c_str(), text.c_str(), kMessageLevelError, id_);
}

bool TaskRun::ChooseSavePath()
{
    const std::string original = param_.savePath;
    for (int n = 1; FileExists(param_.savePath); ++n) {
        int answer = param_.eventRoutine
                         ? param_.eventRoutine(传送常量::存在同名文件, 0, 0, 0, id_)
                         : kChooseOtherName;
        if (answer == kSkipDownload || n > kMaxOtherNames)
            return false;
        param_.savePath = answer == kSavePathChanged ? source_->savePath : NumberedFileName(original, n);
    }
    return true;
}

bool TaskRun::Prepare()
{
    std::optional<Address> address = ParseAddress(param_.address);
    if (!address || address->scheme == Scheme::kFtp || !session_.IsOpen()) {
        Message("unsupported address: " + param_.address);
        return false;
    }
    address_ = *address;
    if (!ChooseSavePath() || !SaveFile::Create(param_.savePath)) {
        Message("cannot write " + param_.savePath);
        return false;
    }
    std::lock_guard lock(mutex_);
    ranges_ = {ByteRange{0, -1}};
    startedAt_ = MonotonicMs();
    return true;
}

void TaskRun::Run()
{
    if (Prepare()) {
        std::unique_lock lock(mutex_);
        for (;;) {
            std::uint64_t now = MonotonicMs();
            ReapAttemptsLocked();
            CancelOverdueLocked(now);
            if (!stopRequested_ && !failed_)
                StartDueAttemptsLocked(now);
            QueueProgressLocked(now);
            if (DoneLocked())
                break;
            lock.unlock();
            DeliverAll();
            lock.lock();
            // Woken at once by a finished connection, an event or a stop,
            // also while the events were being delivered.
            wake_.wait_for(lock, std::chrono::milliseconds(kTickMs), [&] { return std::exchange(woken_, false); });
        }
    }
    Finish();
}

void TaskRun::StartDueAttemptsLocked(std::uint64_t now)
{
    for (int i = 0; i < static_cast<int>(ranges_.size()); ++i) {
        ByteRange& range = ranges_[i];
        if (!DueForTry(range, now))
            continue;
        if (range.tries > 0)
            QueueLocked({传送常量::下载线程继续下载, i + 1, range.tries + 1});
        range.busy = true;
        auto attempt = std::make_shared<Attempt>();
        attempt->range = i;
        attempt->deadline = now + param_.connectTimeout + param_.sendTimeout + param_.receiveTimeout;
        attempt->thread = std::thread([self = shared_from_this(), attempt] { self->RunAttempt(attempt); });
        attempts_.push_back(attempt);
    }
}

void TaskRun::ReapAttemptsLocked()
{
    std::erase_if(attempts_, [&](const std::shared_ptr<Attempt>& attempt) {
        if (!attempt->finished)
            return false;
        attempt->thread.join();
        return true;
    });
    for (ByteRange& range : ranges_)
        if (Exhausted(range))
            failed_ = true;
}

// Wine ignores the connect time-out and may not end a stalled read: the
// engine keeps the limits itself and gives up a connection that overruns them,
// or that has not ended within the retry pause of a stop. A call that even
// closing cannot end keeps its thread, whose results no longer count.
void TaskRun::CancelOverdueLocked(std::uint64_t now)
{
    bool windingDown = stopRequested_ || failed_;
    if (windingDown && windDownAt_ == 0)
        windDownAt_ = now;
    bool windDownOver = windingDown && now >= windDownAt_ + param_.retryPause;
    for (const std::shared_ptr<Attempt>& attempt : attempts_) {
        bool overdue = now >= attempt->deadline;
        if (attempt->abandoned || !(overdue || windingDown))
            continue;
        attempt->request.Cancel();
        if (!overdue && !windDownOver)
            continue;
        attempt->abandoned = true;
        ByteRange& range = ranges_[attempt->range];
        range.busy = false;
        if (windingDown)
            continue;
        RecordFailure(range, now, param_.retryPause);
        QueueLocked({传送常量::线程异常结束, attempt->range + 1, range.tries});
    }
}

void TaskRun::QueueProgressLocked(std::uint64_t now)
{
    if (now - lastProgress_ < kProgressIntervalMs)
        return;
    std::int64_t done = 0;
    for (const ByteRange& range : ranges_)
        done += range.done;
    if (done == doneAtLastProgress_)
        return;
    lastProgress_ = now;
    doneAtLastProgress_ = done;
    QueueLocked({传送常量::收到数据, done, total_});
}

bool TaskRun::DoneLocked()
{
    bool anyLive = false;
    for (const std::shared_ptr<Attempt>& attempt : attempts_)
        anyLive = anyLive || !attempt->abandoned;
    if (anyLive)
        return false;
    if (stopRequested_ || failed_)
        return true;
    for (const ByteRange& range : ranges_)
        if (!range.Complete())
            return false;
    return true;
}

void TaskRun::Finish()
{
    std::vector<std::shared_ptr<Attempt>> leftover;
    {
        std::lock_guard lock(mutex_);
        QueueStartLocked();
        std::int64_t done = 0;
        complete_ = !stopRequested_ && !failed_ && !ranges_.empty();
        for (const ByteRange& range : ranges_) {
            complete_ = complete_ && range.Complete();
            done += range.done;
        }
        QueueLocked({传送常量::下载上传结束, complete_ ? 1 : 0, done, total_});
        leftover.swap(attempts_);
    }
    for (const std::shared_ptr<Attempt>& attempt : leftover) {
        attempt->request.Cancel();
        attempt->thread.detach();  // stuck in a call that closing cannot end
    }
    DeliverAll();
    std::lock_guard lock(mutex_);
    ended_ = true;
    wake_.notify_all();
}

TaskData TaskRun::Snapshot()
{
    std::lock_guard lock(mutex_);
    if (ended_)
        return {};
    return EncodeTaskData(total_, ranges_);
}

void TaskRun::RequestStop()
{
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    for (const std::shared_ptr<Attempt>& attempt : attempts_)
        attempt->request.Cancel();
    WakeLocked();
}

bool TaskRun::WaitEnded(int ms)
{
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, std::chrono::milliseconds(std::max(ms, 0)), [&] { return ended_; });
}

bool TaskRun::Complete()
{
    std::lock_guard lock(mutex_);
    return complete_;
}

// ---- one connection ------------------------------------------------------------

void TaskRun::RunAttempt(const std::shared_ptr<Attempt>& attempt)
{
    bool ok = FetchRange(*attempt);

    std::lock_guard lock(mutex_);
    attempt->finished = true;
    WakeLocked();
    if (attempt->abandoned)
        return;
    ByteRange& range = ranges_[attempt->range];
    range.busy = false;
    if (ok && range.end < 0) {  // no length given: the end of the body is the end
        range.end = range.done;
        total_ = range.done;
    }
    if (ok && range.Complete()) {
        QueueLocked({传送常量::线程正常结束, attempt->range + 1});
        return;
    }
    QueueStartLocked();
    int status = attempt->request.Status();
    RecordFailure(range, MonotonicMs(), param_.retryPause);
    if (status >= kHttpFirstError)
        failed_ = true;  // the server has refused: another try changes nothing
    QueueLocked({传送常量::线程异常结束, attempt->range + 1, range.tries, status});
}

// Requests the rest of the attempt's range until it is complete; an answer
// that ends where it was asked to end is followed by a request for the rest.
bool TaskRun::FetchRange(Attempt& attempt)
{
    TimeLimits limits{param_.connectTimeout, param_.sendTimeout, param_.receiveTimeout};
    for (;;) {
        std::string header = NextRequestHeader(attempt);
        std::int64_t offset = 0, answerEnd = -1;
        if (!attempt.request.Send(session_, address_, header, limits) || !AcceptAnswer(attempt, offset, answerEnd) ||
            !ReceiveBody(attempt, offset))
            return false;
        std::lock_guard lock(mutex_);
        const ByteRange& range = ranges_[attempt.range];
        if (range.Complete() || range.end < 0)
            return true;
        if (offset != answerEnd || attempt.abandoned)
            return false;  // cut short
    }
}

std::string TaskRun::NextRequestHeader(Attempt& attempt)
{
    std::lock_guard lock(mutex_);
    attempt.deadline = MonotonicMs() + param_.connectTimeout + param_.sendTimeout + param_.receiveTimeout;
    ByteRange asked = ranges_[attempt.range];
    if (asked.end < 0)
        asked.end = kFirstAnswerBytes;
    return RangeHeader(asked);
}

// Checks the answer's status and range against what was asked, and learns the
// size from the first answer. `offset` receives where the body belongs,
// `answerEnd` where it ends (-1 when unknown).
bool TaskRun::AcceptAnswer(Attempt& attempt, std::int64_t& offset, std::int64_t& answerEnd)
{
    int status = attempt.request.Status();
    std::optional<ContentRange> contentRange = ParseContentRange(attempt.request.ContentRange());
    std::int64_t length = attempt.request.ContentLength();

    std::lock_guard lock(mutex_);
    if (attempt.abandoned)
        return false;
    attempt.deadline = MonotonicMs() + param_.receiveTimeout;
    ByteRange& range = ranges_[attempt.range];
    if (status == kHttpPartial && contentRange && contentRange->first == range.NextByte()) {
        if (range.end < 0) {  // the first answer: now the file can be split
            total_ = contentRange->total;
            ranges_ = SplitIntoRanges(total_, param_.connections);
            ranges_[0].busy = true;
            QueueStartLocked();
            QueueLocked({传送常量::下载数据范围, static_cast<std::int64_t>(ranges_.size()), total_});
        }
        offset = ranges_[attempt.range].NextByte();
        answerEnd = contentRange->last + 1;
        return true;
    }
    if (status == kHttpOk && ranges_.size() == 1) {
        // No range support: the whole file again, from its first byte.
        total_ = length;
        range = ByteRange{0, length, 0, range.tries, true, range.retryAt};
        QueueStartLocked();
        offset = 0;
        answerEnd = length;
        return true;
    }
    return false;
}

// Writes the body from `offset` on, which is left where the writing ended.
bool TaskRun::ReceiveBody(Attempt& attempt, std::int64_t& offset)
{
    SaveFile file;
    if (!file.Open(param_.savePath, offset))
        return false;
    const int smallest = std::max(param_.readBlock, 1);
    const int largest = std::max(smallest, kMaxReadBytes);
    std::vector<char> buffer(largest);
    int size = ReadSizeUnderLimit(smallest, param_.speedLimit, param_.connections);
    for (;;) {
        std::uint64_t started = MonotonicMs();
        long got = attempt.request.Read(buffer.data(), static_cast<unsigned long>(size));
        if (got <= 0)
            return got == 0;  // a dropped connection also ends with 0: the caller compares sizes
        size = ReadSizeUnderLimit(NextReadSize(size, MonotonicMs() - started, smallest, largest), param_.speedLimit,
                                  param_.connections);
        std::int64_t take = got;
        {
            std::lock_guard lock(mutex_);
            if (attempt.abandoned || stopRequested_)
                return false;
            const ByteRange& range = ranges_[attempt.range];
            if (range.end >= 0)
                take = std::min<std::int64_t>(take, range.end - range.NextByte());
        }
        if (!file.Write(buffer.data(), static_cast<unsigned long>(take)))
            return false;
        received_ += take;
        offset += take;
        std::unique_lock lock(mutex_);
        if (attempt.abandoned)
            return false;
        ByteRange& range = ranges_[attempt.range];
        range.done += take;
        attempt.deadline = MonotonicMs() + param_.receiveTimeout;
        if (range.Complete())
            return true;
        if (!KeepToSpeedLimit(attempt, lock, take))
            return false;
    }
}

// Pauses the connection while the task is ahead of its speed limit; false
// when a stop or the task's giving up the connection ended the pause.
bool TaskRun::KeepToSpeedLimit(Attempt& attempt, std::unique_lock<std::mutex>& lock, std::int64_t bytes)
{
    limitedBytes_ += bytes;
    const std::uint64_t now = MonotonicMs();
    const std::uint64_t pause = PauseForSpeedLimit(limitedBytes_, now - startedAt_, param_.speedLimit);
    if (pause == 0)
        return true;
    // The pause is the engine's own, not the server's delay.
    attempt.deadline = now + pause + param_.receiveTimeout;
    wake_.wait_for(lock, std::chrono::milliseconds(pause), [&] { return stopRequested_ || attempt.abandoned; });
    return !stopRequested_ && !attempt.abandoned;
}

// ---- the operations --------------------------------------------------------------

Download::~Download() { ReleaseDownload(*this); }

bool StartTask(Download& download, const TaskParam& param)
{
    if (download.thread_.joinable())
        return false;
    download.run_ = std::make_shared<TaskRun>(param, nextTaskId++);
    download.thread_ = std::thread([run = download.run_] { run->Run(); });
    return true;
}

int GetTaskId(const Download& download) { return download.run_ ? download.run_->Id() : -1; }

TaskData GetTaskData(const Download& download) { return download.run_ ? download.run_->Snapshot() : TaskData{}; }

std::int64_t ReadTaskData(const Download&, const TaskData& data, int item, int range)
{
    return ReadTaskItem(data, item, range);
}

std::int64_t TakeReceivedBytes(Download& download) { return download.run_ ? download.run_->TakeReceived() : 0; }

bool StopTask(Download& download, int /*mode: every mode stops the same way*/, TaskData* state)
{
    if (!download.thread_.joinable())
        return false;
    if (state)
        *state = download.run_->Snapshot();
    download.run_->RequestStop();
    if (download.run_->WaitEnded(download.run_->RetryPause()))
        download.thread_.join();
    else
        download.thread_.detach();  // busy in the event routine; it ends on its own
    return true;
}

void ReleaseDownload(Download& download)
{
    StopTask(download, 2, nullptr);
    download.run_.reset();
}

bool IsTaskComplete(const Download& download) { return download.run_ && download.run_->Complete(); }
