// Queues one keyboard message to a window of any process, as if a key had
// been typed there.
#pragma once

#include <windows.h>

enum KeyKind : int {
    kKeyCharacter = 1,
    kKeyDown = 2,
    kKeyDownOnly = 3,  // a key-down alone, like kKeyDown, with no key-up after it
    kKeyUp = 4,
};

// `key` becomes wParam and lParam is 0. With `system` the key-down and key-up
// messages are the system-key ones; a character is always WM_CHAR. Any other
// kind posts nothing.
void PostKey(HWND window, int key, int kind = kKeyCharacter, bool system = false);
