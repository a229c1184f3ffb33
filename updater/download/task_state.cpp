#include "updater/download/task_state.h"

#include <cstring>

namespace {

constexpr int kHeadItems = 3;
constexpr int kItemsPerRange = 3;

void Append(TaskData& data, std::int64_t value)
{
    std::uint8_t bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    data.insert(data.end(), bytes, bytes + sizeof value);
}

std::int64_t ValueAt(const TaskData& data, std::size_t index)
{
    std::int64_t value;
    std::memcpy(&value, data.data() + index * sizeof value, sizeof value);
    return value;
}

}  // namespace

TaskData EncodeTaskData(std::int64_t total, const std::vector<ByteRange>& ranges)
{
    std::int64_t done = 0;
    for (const ByteRange& range : ranges)
        done += range.done;
    TaskData data;
    Append(data, total);
    Append(data, done);
    Append(data, static_cast<std::int64_t>(ranges.size()));
    for (const ByteRange& range : ranges) {
        Append(data, range.begin);
        Append(data, range.end);
        Append(data, range.done);
    }
    return data;
}

std::int64_t ReadTaskItem(const TaskData& data, int item, int range)
{
    if (data.size() < kHeadItems * sizeof(std::int64_t))
        return -1;
    if (item >= kTotalSize && item <= kRangeCount)
        return ValueAt(data, item - 1);
    if (item < kRangeBegin || item > kRangeDone || range < 1 || range > ValueAt(data, kRangeCount - 1))
        return -1;
    return ValueAt(data, kHeadItems + (range - 1) * kItemsPerRange + (item - kRangeBegin));
}
