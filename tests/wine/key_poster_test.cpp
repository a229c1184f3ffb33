#include <gtest/gtest.h>

#include "about/key_poster.h"
#include "tests/support/win_driver.h"

namespace {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Posted> TakeQueue(HWND window)
{
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        posted.push_back({msg.message, msg.wParam, msg.lParam});
    return posted;
}

TEST(PostKeyTest, QueuesTheMessageOfEachKind)
{
    HWND window = CreateTestWindow("key target");
    ASSERT_NE(window, nullptr);
    TakeQueue(window);

    const struct {
        int key;
        int kind;
        bool system;
        UINT message;  // 0: nothing is posted
    } cases[] = {
        {13, kKeyDownOnly, false, WM_KEYDOWN}, {65, kKeyCharacter, false, WM_CHAR},
        {65, kKeyCharacter, true, WM_CHAR},    {65, kKeyDown, false, WM_KEYDOWN},
        {65, kKeyDown, true, WM_SYSKEYDOWN},   {13, kKeyDownOnly, true, WM_SYSKEYDOWN},
        {65, kKeyUp, false, WM_KEYUP},         {18, kKeyUp, true, WM_SYSKEYUP},
        {65, 0, false, 0},                     {65, 5, true, 0},
    };
    for (const auto& c : cases) {
        PostKey(window, c.key, c.kind, c.system);
        const std::vector<Posted> posted = TakeQueue(window);
        if (c.message == 0) {
            EXPECT_TRUE(posted.empty()) << "kind " << c.kind;
            continue;
        }
        ASSERT_EQ(posted.size(), 1u) << "kind " << c.kind;
        EXPECT_EQ(posted[0].message, c.message) << "kind " << c.kind;
        EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(c.key)) << "kind " << c.kind;
        EXPECT_EQ(posted[0].lParam, 0) << "kind " << c.kind;
    }
    DestroyWindow(window);
}

TEST(PostKeyTest, KindLeftOutPostsACharacter)
{
    HWND window = CreateTestWindow("key target");
    TakeQueue(window);
    PostKey(window, 65);
    const std::vector<Posted> posted = TakeQueue(window);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_CHAR));
    DestroyWindow(window);
}

}  // namespace
