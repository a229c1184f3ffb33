#include "shell/instance_guard.h"

#include "shell/app_shell.h"
#include "shell/gbk_text.h"
#include "shell/message_boxes.h"
#include "shell/win_handle.h"

namespace {

constexpr const char* kGuardTitle = "提示信息";

std::string BuildGuardName()
{
    return ReplaceGbkChar(RunDirectory() + "\\" + ExecutableName(), '\\', '/');
}

// Held until the process ends: the event exists exactly as long as an
// instance that created it runs.
UniqueHandle& GuardEvent()
{
    static UniqueHandle event;
    return event;
}

}  // namespace

void EnsureSingleInstance(std::string& name, int mode, const char* prompt, std::uint32_t flags)
{
    if (name.empty())
        name = BuildGuardName();

    const UniqueHandle other(OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    if (other) {
        if (mode == kGuardModePrompt)
            ShowMessageBox(prompt, flags, kGuardTitle);
        EndProgram(0);
    }
    GuardEvent().Reset(CreateEventA(nullptr, FALSE, FALSE, name.c_str()));
}
