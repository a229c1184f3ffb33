#include <gtest/gtest.h>

#include "tests/e2e/vantry_fixture.h"

namespace {

constexpr const char* kAboutTitle = "关于作者";
constexpr const char* kAlias = "Qelvano";
constexpr int kBoxTextId = 0xFFFF;

struct SeenText {
    std::string firstLine;
    unsigned long long at;  // ms after the box opened
};

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find("\r\n"));
}

// Follows the box's text until it closes (or `limit` passes); pumps this
// thread's messages meanwhile, for windows of the test's own.
std::vector<SeenText> FollowBox(HWND box, unsigned long long limit = 9000)
{
    std::vector<SeenText> seen;
    const unsigned long long start = GetTickCount64();
    while (IsWindow(box) && ElapsedSince(start) < limit) {
        const std::string line = FirstLine(WindowText(GetDlgItem(box, kBoxTextId)));
        if (!line.empty() && (seen.empty() || seen.back().firstLine != line))
            seen.push_back({line, ElapsedSince(start)});
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    seen.push_back({"closed", ElapsedSince(start)});
    return seen;
}

std::string CountLine(int count)
{
    return std::string(kAlias) + "   (" + std::to_string(count) + ")";
}

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(run_.Start(), nullptr); }

    HWND OpenAbout()
    {
        EXPECT_TRUE(run_.ChooseAbout());
        HWND box = WaitForTopWindow(run_.Program().Id(), kAboutTitle);
        EXPECT_NE(box, nullptr);
        return box;
    }

    // The box counted `from` down a second apart and closed a second after
    // (1): the tick that writes (0) posts Enter, which the box takes at once,
    // so (0) is rarely on screen long enough to be seen.
    static void ExpectCountdown(std::vector<SeenText> seen, int from)
    {
        const std::string described = Describe(seen);
        if (seen.size() >= 2 && seen[seen.size() - 2].firstLine == CountLine(0))
            seen.erase(seen.end() - 2);
        ASSERT_EQ(seen.size(), static_cast<std::size_t>(from + 2)) << described;
        EXPECT_EQ(seen[0].firstLine, kAlias) << described;
        for (int i = 1; i <= from; ++i)
            EXPECT_EQ(seen[i].firstLine, CountLine(from + 1 - i)) << described;
        EXPECT_EQ(seen.back().firstLine, "closed");
        for (std::size_t i = 2; i < seen.size(); ++i) {
            const unsigned long long gap = seen[i].at - seen[i - 1].at;
            EXPECT_GT(gap, 700u) << described;
            EXPECT_LT(gap, 1500u) << described;
        }
    }

    static std::string Describe(const std::vector<SeenText>& seen)
    {
        std::string out;
        for (const SeenText& s : seen)
            out += std::to_string(s.at) + " ms: " + s.firstLine + "\n";
        return out;
    }

    VantryRun run_{"about box"};
};

TEST_F(AboutBoxTest, CountsDownOnceASecondAndClosesItself)
{
    HWND box = OpenAbout();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ClassOf(box), "#32770");
    const std::string text = WindowText(GetDlgItem(box, kBoxTextId));
    EXPECT_EQ(text.rfind(std::string(kAlias) + "\r\n\r\n QQ：", 0), 0u) << text;
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    EXPECT_FALSE(IsWindowEnabled(run_.Window()));  // task-modal

    const std::vector<SeenText> seen = FollowBox(box);
    ExpectCountdown(seen, 5);
    EXPECT_GT(seen.back().at, 5000u);
    EXPECT_LT(seen.back().at, 7500u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(run_.Window()) != FALSE; }));
    EXPECT_TRUE(run_.Program().Running());
}

TEST_F(AboutBoxTest, TimerStopsWhenTheCountdownHasEnded)
{
    ExpectCountdown(FollowBox(OpenAbout()), 5);

    // A window of the same title made now is left alone: no tick looks for it.
    HWND decoy = CreateTestWindow(kAboutTitle);
    HWND decoyText = CreateWindowExA(0, "STATIC", "decoy", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, decoy,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kBoxTextId)), nullptr, nullptr);
    const unsigned long long start = GetTickCount64();
    bool keyArrived = false;
    while (ElapsedSince(start) < 2500) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            keyArrived = keyArrived || (msg.hwnd == decoy && msg.message == WM_KEYDOWN);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
    EXPECT_EQ(WindowText(decoyText), "decoy");
    EXPECT_FALSE(keyArrived);
    DestroyWindow(decoy);
}

TEST_F(AboutBoxTest, ABoxClosedEarlyLeavesTheCountForTheNext)
{
    HWND box = OpenAbout();
    ASSERT_TRUE(WaitUntil([&] { return FirstLine(WindowText(GetDlgItem(box, kBoxTextId))) == CountLine(3); },
                          Milliseconds(5000)));
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    Sleep(1500);  // the next tick finds no box and stops the timer

    std::vector<SeenText> seen = FollowBox(OpenAbout());
    ExpectCountdown(seen, 2);
    EXPECT_GT(seen.back().at, 2000u);
    EXPECT_LT(seen.back().at, 4000u);

    ExpectCountdown(FollowBox(OpenAbout()), 5);
}

TEST_F(AboutBoxTest, AnyWindowWithTheTitleIsTreatedAsTheBox)
{
    HWND box = OpenAbout();
    ASSERT_TRUE(WaitUntil([&] { return FirstLine(WindowText(GetDlgItem(box, kBoxTextId))) == CountLine(5); },
                          Milliseconds(3000)));
    HWND decoy = CreateTestWindow(kAboutTitle);
    HWND decoyText = CreateWindowExA(0, "STATIC", "decoy", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, decoy,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kBoxTextId)), nullptr, nullptr);
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);

    // The countdown goes on in the decoy, and at zero Enter is posted to it.
    const unsigned long long start = GetTickCount64();
    bool enterArrived = false;
    while (!enterArrived && ElapsedSince(start) < 7000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            enterArrived = enterArrived || (msg.hwnd == decoy && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
    EXPECT_TRUE(enterArrived);
    EXPECT_EQ(FirstLine(WindowText(decoyText)), CountLine(0));
    DestroyWindow(decoy);
}

}  // namespace
