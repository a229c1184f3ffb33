#pragma once

// The program's own version: shown in the window and compared with the
// version that the update server announces.
constexpr double kProgramVersion = 3.2;
