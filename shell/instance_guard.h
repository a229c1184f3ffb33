// Keeps a second copy of a program from running: the first instance holds a
// named event for its whole life, and a later start that finds it ends.
#pragma once

#include <cstdint>
#include <string>

#include "shell/message_box_rules.h"

constexpr const char* kDefaultGuardPrompt = "程序已运行！";
constexpr int kGuardModePrompt = 1;  // tell the user before ending

// `name` names the event; an empty one is replaced by the executable's
// path with slashes for backslashes. Does not return when another instance
// holds the event.
void EnsureSingleInstance(std::string& name, int mode = 0, const char* prompt = kDefaultGuardPrompt,
                          std::uint32_t flags = kBoxIconInformation);
