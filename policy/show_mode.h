// How a started program's first window is shown.
#pragma once

enum class ShowMode {
    Hidden = 1,
    Normal = 2,
    Minimized = 3,
    Maximized = 4,
    NormalNoActivate = 5,
    MinimizedNoActivate = 6,
};

// Numbers below 1 count as Hidden, above 6 as MinimizedNoActivate.
ShowMode ShowModeFromNumber(int number);
