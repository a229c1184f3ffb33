#include "about/about_text.h"

#include <gtest/gtest.h>

namespace {

// "：" is A3 BA in GBK.
constexpr const char* kContactLine = "\r\n\r\n QQ\xA3\xBA";

TEST(AboutTextTest, NamesTheAuthorAndContact)
{
    const std::string text = AboutText();
    EXPECT_EQ(text.rfind(std::string("Qelvano") + kContactLine, 0), 0u) << text;
    const std::string number = text.substr(std::string("Qelvano").size() + 9);
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << number;
}

TEST(AboutTextTest, CountdownStandsOnTheFirstLine)
{
    const std::string number = AboutText().substr(std::string("Qelvano").size() + 9);
    EXPECT_EQ(CountdownText(5), std::string("Qelvano   (5)") + kContactLine + number);
    EXPECT_EQ(CountdownText(0), std::string("Qelvano   (0)") + kContactLine + number);
    EXPECT_EQ(CountdownText(-3), std::string("Qelvano   (-3)") + kContactLine + number);
}

TEST(AboutTextTest, TitleIsGbk)
{
    EXPECT_STREQ(kAboutTitle, "\xB9\xD8\xD3\xDA\xD7\xF7\xD5\xDF");
}

}  // namespace
