// The rules of the programs' message boxes that need no window.
#pragma once

#include <cstdint>

constexpr std::uint32_t kBoxOk = 0x0;
constexpr std::uint32_t kBoxOkCancel = 0x1;
constexpr std::uint32_t kBoxButtonsMask = 0xF;
constexpr std::uint32_t kBoxIconError = 0x10;
constexpr std::uint32_t kBoxIconInformation = 0x40;
constexpr std::uint32_t kBoxSystemModal = 0x1000;
constexpr std::uint32_t kBoxTaskModal = 0x2000;

constexpr int kBoxIndexOk = 0;
constexpr int kBoxIndexCancel = 1;

// The pressed button as an index: IDOK 0, IDCANCEL 1, ... IDNO 6;
// anything else, a failed box included, counts as OK. A box whose only
// button is OK always gives 0: Windows reports Esc and the close button
// there as IDOK, but some systems (Wine) report IDCANCEL.
int ButtonIndexOf(int boxResult, std::uint32_t flags);

// Task-modal unless the caller asked for a system-modal box.
std::uint32_t WithTaskModal(std::uint32_t flags);
