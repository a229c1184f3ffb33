#include "shell/message_box_rules.h"

int ButtonIndexOf(int boxResult, std::uint32_t flags)
{
    if ((flags & kBoxButtonsMask) == kBoxOk)
        return kBoxIndexOk;
    constexpr int kFirstResult = 1;  // IDOK
    constexpr int kLastResult = 7;   // IDNO
    if (boxResult < kFirstResult || boxResult > kLastResult)
        return kBoxIndexOk;
    return boxResult - kFirstResult;
}

std::uint32_t WithTaskModal(std::uint32_t flags)
{
    return (flags & kBoxSystemModal) ? flags : flags | kBoxTaskModal;
}
