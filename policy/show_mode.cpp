#include "policy/show_mode.h"

#include <algorithm>

ShowMode ShowModeFromNumber(int number)
{
    return static_cast<ShowMode>(std::clamp(number, static_cast<int>(ShowMode::Hidden),
                                            static_cast<int>(ShowMode::MinimizedNoActivate)));
}
