// The download engine: one task at a time per Download object, run on
// threads of its own, reporting through the task's event routine.
#pragma once

#include <cstdint>
#include <memory>
#include <thread>

#include "updater/download/task_param.h"
#include "updater/download/task_state.h"

class TaskRun;

class Download {
public:
    Download() = default;
    ~Download();
    Download(const Download&) = delete;
    Download& operator=(const Download&) = delete;

private:
    friend bool StartTask(Download&, const TaskParam&);
    friend int GetTaskId(const Download&);
    friend TaskData GetTaskData(const Download&);
    friend std::int64_t TakeReceivedBytes(Download&);
    friend bool StopTask(Download&, int, TaskData*);
    friend void ReleaseDownload(Download&);
    friend bool IsTaskComplete(const Download&);

    std::shared_ptr<TaskRun> run_;
    std::thread thread_;
};

// Starts the transfer in the background; false when the object already runs
// a task. `param` is copied, except that an answer 2 to 存在同名文件 makes the
// engine read its save path again, during that call.
bool StartTask(Download& download, const TaskParam& param);
// The current task's identifier, as passed with its events; -1 for none.
int GetTaskId(const Download& download);
// The running task's state block; empty when there is none.
TaskData GetTaskData(const Download& download);
std::int64_t ReadTaskData(const Download& download, const TaskData& data, int item, int range);
// Bytes received since the previous call.
std::int64_t TakeReceivedBytes(Download& download);
// Stops the running task and returns within its retry pause, even when the
// task's thread is busy in the event routine. `state` receives the state block.
bool StopTask(Download& download, int mode, TaskData* state);
// Stops any running task and lets go of it.
void ReleaseDownload(Download& download);
// Whether the last task's file arrived whole.
bool IsTaskComplete(const Download& download);
