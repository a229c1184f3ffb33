#include "about/about_box.h"

namespace {

constexpr int kBoxTextItem = 0xFFFF;  // the message text of a system message box

}  // namespace

HWND FindBoxByTitle(const char* title)
{
    return FindWindowA(nullptr, title);
}

void SetBoxText(HWND box, const std::string& text)
{
    SetDlgItemTextA(box, kBoxTextItem, text.c_str());
}
