#include "about/key_poster.h"

void PostKey(HWND window, int key, int kind, bool system)
{
    const UINT keyDown = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT keyUp = system ? WM_SYSKEYUP : WM_KEYUP;
    UINT message = 0;
    switch (kind) {
    case kKeyCharacter: message = WM_CHAR; break;
    case kKeyDown:
    case kKeyDownOnly: message = keyDown; break;
    case kKeyUp: message = keyUp; break;
    default: return;
    }
    PostMessageA(window, message, static_cast<WPARAM>(key), 0);
}
