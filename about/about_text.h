// The texts of the about box: the author's alias and contact number, with
// the countdown on the first line once it runs.
#pragma once

#include <string>

constexpr const char* kAboutTitle = "关于作者";

std::string AboutText();
std::string CountdownText(int secondsLeft);
