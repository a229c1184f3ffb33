#include "shell/number_text.h"

#include <cstdio>

std::string FormatDouble(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.13g", value);
    return text;
}

std::string FormatInteger(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}
