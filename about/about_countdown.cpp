#include "about/about_countdown.h"

#include "about/about_box.h"
#include "about/about_text.h"
#include "about/key_poster.h"
#include "shell/message_box_rules.h"
#include "shell/message_boxes.h"

namespace {

constexpr int kTickMs = 1000;

// Ticks left before the box is closed; survives from one box to the next.
int Countdown = 0;

}  // namespace

void StartCountdownAt(int value)
{
    Countdown = value;
}

void ShowAbout(MainWindow& window)
{
    window.SetAboutTimerPeriod(kTickMs);
    ShowMessageBox(AboutText(), kBoxOk, kAboutTitle);
}

void AboutTick(MainWindow& window)
{
    HWND box = FindBoxByTitle(kAboutTitle);
    if (!box) {
        window.SetAboutTimerPeriod(0);
        return;
    }
    --Countdown;
    SetBoxText(box, CountdownText(Countdown));
    if (Countdown != 0)
        return;
    // Queued: the box closes when its loop takes the key, after this tick.
    PostKey(box, VK_RETURN, kKeyDownOnly);
    window.SetAboutTimerPeriod(0);
    Countdown = kCountdownStart;
}
