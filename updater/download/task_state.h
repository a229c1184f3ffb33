// The task state block: a snapshot of one task as a byte array. No system calls.
#pragma once

#include <cstdint>
#include <vector>

#include "updater/download/range_plan.h"

using TaskData = std::vector<std::uint8_t>;

// Item numbers of the block.
enum TaskItem : int {
    kTotalSize = 1,   // -1 while unknown
    kBytesDone = 2,
    kRangeCount = 3,
    kRangeBegin = 4,  // items 4 to 6 need a range number, counted from 1
    kRangeEnd = 5,
    kRangeDone = 6,
};

TaskData EncodeTaskData(std::int64_t total, const std::vector<ByteRange>& ranges);

// The item's value; -1 when the block is empty or the item or range number is
// out of bounds.
std::int64_t ReadTaskItem(const TaskData& data, int item, int range);
