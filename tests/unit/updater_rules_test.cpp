// The download engine's planning and the package operations' path rules.
#include <gtest/gtest.h>

#include <numeric>

#include "updater/download/address.h"
#include "updater/download/range_plan.h"
#include "updater/download/speed_limit.h"
#include "updater/download/task_state.h"
#include "updater/package/entry_path.h"

namespace {

struct Split {
    std::int64_t size;
    int connections;
    std::size_t ranges;
};

class SplitIntoRangesTest : public testing::TestWithParam<Split> {};

TEST_P(SplitIntoRangesTest, CoversTheFileWithAdjacentRanges)
{
    std::vector<ByteRange> ranges = SplitIntoRanges(GetParam().size, GetParam().connections);
    ASSERT_EQ(ranges.size(), GetParam().ranges);
    std::int64_t next = 0;
    for (const ByteRange& range : ranges) {
        EXPECT_EQ(range.begin, next);
        EXPECT_LE(range.end - range.begin - (ranges.front().end - ranges.front().begin), 0);
        next = range.end;
    }
    EXPECT_EQ(next, std::max<std::int64_t>(GetParam().size, 0) + (GetParam().size < 0 ? -1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Sizes, SplitIntoRangesTest,
                         testing::Values(Split{5'000'017, 5, 5}, Split{200'000'000, 5, 5}, Split{1000, 5, 1},
                                         Split{3 * kMinRangeBytes, 5, 3}, Split{0, 5, 1}, Split{-1, 5, 1},
                                         Split{5'000'017, 1, 1}));

TEST(RetryBookkeeping, TriesUntilExhausted)
{
    ByteRange range{0, 100};
    EXPECT_TRUE(DueForTry(range, 0));
    for (int i = 0; i < kMaxTries; ++i) {
        EXPECT_FALSE(Exhausted(range));
        RecordFailure(range, 1000, 500);
        EXPECT_FALSE(DueForTry(range, 1499));
    }
    EXPECT_FALSE(DueForTry(range, 10'000));
    EXPECT_TRUE(Exhausted(range));
    range.done = 100;
    EXPECT_FALSE(Exhausted(range));
}

TEST(RetryBookkeeping, BusyOrCompleteRangesAreNotDue)
{
    ByteRange busy{0, 100};
    busy.busy = true;
    ByteRange complete{0, 100, 100};
    EXPECT_FALSE(DueForTry(busy, 0));
    EXPECT_FALSE(DueForTry(complete, 0));
}

TEST(ContentRangeTest, Parses)
{
    std::optional<ContentRange> range = ParseContentRange("bytes 100-199/1000");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 100);
    EXPECT_EQ(range->last, 199);
    EXPECT_EQ(range->total, 1000);
    EXPECT_EQ(ParseContentRange("bytes 0-9/*")->total, -1);
    for (const char* bad : {"", "bytes 5-4/10", "bytes 0-10/10", "items 0-1/2", "bytes 0-1/2x", "bytes -1-2/3"})
        EXPECT_FALSE(ParseContentRange(bad)) << bad;
}

TEST(RangeHeaderTest, AsksForTheRest)
{
    ByteRange range{100, 200, 30};
    EXPECT_EQ(RangeHeader(range), "Range: bytes=130-199");
    EXPECT_EQ(RangeHeader(ByteRange{0, -1}), "Range: bytes=0-");
}

TEST(NextReadSizeTest, GrowsWhenQuickAndShrinksWhenSlowWithinBounds)
{
    constexpr int kSmallest = 20480;
    constexpr int kLargest = 262144;
    EXPECT_EQ(NextReadSize(kSmallest, 0, kSmallest, kLargest), 2 * kSmallest);
    EXPECT_EQ(NextReadSize(200000, 1, kSmallest, kLargest), kLargest);
    EXPECT_EQ(NextReadSize(kLargest, 50, kSmallest, kLargest), kLargest);
    EXPECT_EQ(NextReadSize(kLargest, 150, kSmallest, kLargest), kLargest / 2);
    EXPECT_EQ(NextReadSize(30000, 400, kSmallest, kLargest), kSmallest);
    // The task's read block may exceed the usual largest size: it is then the only size.
    EXPECT_EQ(NextReadSize(kLargest * 2, 0, kLargest * 2, kLargest * 2), kLargest * 2);
    EXPECT_EQ(NextReadSize(kLargest * 2, 500, kLargest * 2, kLargest * 2), kLargest * 2);
}

TEST(SpeedLimitTest, PausesOnlyWhenAheadOfTheLimit)
{
    const struct {
        std::int64_t bytes;
        std::uint64_t elapsedMs;
        int limit;
        std::uint64_t pause;
    } rows[] = {
        {100000, 0, 0, 0},           // no limit
        {100000, 0, -5, 0},          // no limit either
        {0, 0, 1000, 0},             // nothing yet
        {100000, 0, 100000, 1000},   // a second's worth at once
        {100000, 400, 100000, 600},  // partly earned
        {100000, 1000, 100000, 0},   // just in time
        {100000, 5000, 100000, 0},   // behind
        {1, 0, 3, 333},              // rounding down
        {1'000'000'000'000, 0, 1, 1'000'000'000'000'000},   // 1 TB at 1 byte a second
        {2'500'000, 0, 1'000'000, 2'500},                  // whole seconds and the rest
    };
    for (const auto& row : rows)
        EXPECT_EQ(PauseForSpeedLimit(row.bytes, row.elapsedMs, row.limit), row.pause)
            << row.bytes << " bytes in " << row.elapsedMs << " ms at " << row.limit;
}

TEST(SpeedLimitTest, ReadsShrinkToAQuarterSecondsShare)
{
    EXPECT_EQ(ReadSizeUnderLimit(20480, 0, 5), 20480);
    EXPECT_EQ(ReadSizeUnderLimit(20480, 200000, 5), 10000);
    EXPECT_EQ(ReadSizeUnderLimit(20480, 200000, 1), 20480);
    EXPECT_EQ(ReadSizeUnderLimit(20480, 10, 5), 1);
    EXPECT_EQ(ReadSizeUnderLimit(20480, 200000, 0), 20480);
}

TEST(TaskStateTest, ItemsAndBounds)
{
    std::vector<ByteRange> ranges = {ByteRange{0, 50, 20}, ByteRange{50, 100, 5}};
    TaskData data = EncodeTaskData(100, ranges);
    EXPECT_EQ(ReadTaskItem(data, kTotalSize, 0), 100);
    EXPECT_EQ(ReadTaskItem(data, kBytesDone, 0), 25);
    EXPECT_EQ(ReadTaskItem(data, kRangeCount, 0), 2);
    EXPECT_EQ(ReadTaskItem(data, kRangeBegin, 2), 50);
    EXPECT_EQ(ReadTaskItem(data, kRangeEnd, 2), 100);
    EXPECT_EQ(ReadTaskItem(data, kRangeDone, 1), 20);
    EXPECT_EQ(ReadTaskItem(data, kRangeDone, 3), -1);
    EXPECT_EQ(ReadTaskItem(data, kRangeBegin, 0), -1);
    EXPECT_EQ(ReadTaskItem(data, 7, 1), -1);
    EXPECT_EQ(ReadTaskItem({}, kTotalSize, 0), -1);
}

TEST(AddressTest, TakesAddressesApart)
{
    std::optional<Address> a = ParseAddress("http://user:pw@example.org:8080/a/b.zip?x=1#frag");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->scheme, Scheme::kHttp);
    EXPECT_EQ(a->host, "example.org");
    EXPECT_EQ(a->port, 8080);
    EXPECT_EQ(a->path, "/a/b.zip?x=1");
    std::optional<Address> b = ParseAddress("HTTPS://host");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->port, 443);
    EXPECT_EQ(b->path, "/");
    EXPECT_EQ(ParseAddress("ftp://host/f")->scheme, Scheme::kFtp);
    for (const char* bad : {"", "host/f", "http://", "http://host:0/", "http://host:99999/", "gopher://h/"})
        EXPECT_FALSE(ParseAddress(bad)) << bad;
}

TEST(NumberedFileNameTest, PutsTheNumberBeforeTheExtension)
{
    EXPECT_EQ(NumberedFileName("d\\temp1.zip", 2), "d\\temp1 (2).zip");
    EXPECT_EQ(NumberedFileName("d.x\\temp", 1), "d.x\\temp (1)");
}

struct EntryCase {
    const char* name;
    const char* path;  // null: refused
};

class SafeEntryPathTest : public testing::TestWithParam<EntryCase> {};

TEST_P(SafeEntryPathTest, KeepsEntriesInsideTheTarget)
{
    std::optional<std::string> path = SafeEntryPath(GetParam().name);
    if (GetParam().path) {
        ASSERT_TRUE(path) << GetParam().name;
        EXPECT_EQ(*path, GetParam().path);
    } else {
        EXPECT_FALSE(path) << GetParam().name;
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SafeEntryPathTest,
                         testing::Values(EntryCase{"Vantry.exe", "Vantry.exe"}, EntryCase{"data/a.txt", "data\\a.txt"},
                                         EntryCase{"data/", "data\\"}, EntryCase{"a..b/c", "a..b\\c"},
                                         // "\xD5\x5C": a GBK character whose second byte is a backslash
                                         EntryCase{"\xD5\x5C/x", "\xD5\x5C\\x"}, EntryCase{"../x", nullptr},
                                         EntryCase{"a/../../x", nullptr}, EntryCase{"a\\..\\x", nullptr},
                                         EntryCase{"/x", nullptr}, EntryCase{"\\x", nullptr},
                                         EntryCase{"C:/x", nullptr}, EntryCase{"C:x", nullptr},
                                         EntryCase{"", nullptr}));

TEST(ParentDirectoriesTest, OutermostFirst)
{
    EXPECT_EQ(ParentDirectories("a\\b\\c"), (std::vector<std::string>{"a", "a\\b"}));
    EXPECT_EQ(ParentDirectories("\xD5\x5C\\c"), (std::vector<std::string>{"\xD5\x5C"}));
    EXPECT_TRUE(ParentDirectories("c").empty());
}

TEST(DeletionRefusalTest, DriveRootsAndEmptyPaths)
{
    for (const char* refused : {"", "   ", "C:", "C:\\", "  D:\\"})
        EXPECT_TRUE(IsRefusedForDeletion(refused)) << '"' << refused << '"';
    for (const char* allowed : {"C:\\x", "C:\\\\", "e_update", "C:x"})
        EXPECT_FALSE(IsRefusedForDeletion(allowed)) << '"' << allowed << '"';
}

}  // namespace
