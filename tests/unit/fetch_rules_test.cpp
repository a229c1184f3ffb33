#include "update/fetch_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseReadChunkSizeTest, FollowsTheDeclaredLengthWithinBounds)
{
    const struct {
        const char* contentLength;
        std::size_t chunk;
    } cases[] = {
        {"", 10240},          // no header
        {"0", 10240},         {"-5", 10240},       {"abc", 10240},
        {"1", 2},             {"321", 322},        {" 321", 322},
        {"321 bytes", 322},   {"+321", 322},       {"102398", 102399},
        {"102399", 102400},   {"102400", 102400},  {"500000", 102400},
        {"99999999999999999999999999999", 102400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseReadChunkSize(c.contentLength), c.chunk) << '"' << c.contentLength << '"';
}

TEST(CutFragmentTest, KeepsThePathBeforeTheFirstHash)
{
    EXPECT_EQ(CutFragment("/Vantry.xml#part"), "/Vantry.xml");
    EXPECT_EQ(CutFragment("/Vantry.xml#a#b"), "/Vantry.xml");
    EXPECT_EQ(CutFragment("/Vantry.xml"), "/Vantry.xml");
    EXPECT_EQ(CutFragment("#"), "");
    EXPECT_EQ(CutFragment("/升级#x"), "/升级");
}

}  // namespace
