// Numbers as the programs show them: doubles as "%.13g", integers as "%d".
#pragma once

#include <string>

std::string FormatDouble(double value);
std::string FormatInteger(int value);
