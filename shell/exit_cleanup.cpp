#include "shell/exit_cleanup.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<CleanupRoutine>& CleanupList()
{
    static std::vector<CleanupRoutine> list;
    return list;
}

}  // namespace

void RegisterExitCleanup(CleanupRoutine routine)
{
    auto& list = CleanupList();
    if (std::find(list.begin(), list.end(), routine) == list.end())
        list.push_back(routine);
}

void RunExitCleanup()
{
    // Taken out first, so a routine that ends the program cannot run the list twice.
    std::vector<CleanupRoutine> routines;
    routines.swap(CleanupList());
    for (CleanupRoutine routine : routines)
        routine();
}

void DropExitCleanup()
{
    CleanupList().clear();
}
