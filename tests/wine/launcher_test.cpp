#include <gtest/gtest.h>


#include "policy/program_launcher.h"
#include "tests/support/win_driver.h"

namespace {


constexpr const char* kProbe = "probe.exe";

class RunProgramTest : public testing::Test {
protected:
    RunProgramTest() : run_("launcher") { run_.Install("recorder.exe", kProbe); }

    std::string Probe(const std::string& arguments) const { return "\"" + run_.File(kProbe) + "\" " + arguments; }

    std::vector<std::string> OnlyLaunch() const
    {
        std::vector<std::vector<std::string>> launches;
        WaitUntil([&] { return !(launches = ReadLaunches(run_.Path())).empty(); });
        EXPECT_EQ(launches.size(), 1u);
        return launches.empty() ? std::vector<std::string>(4) : launches.front();
    }

    RunDirectory run_;
};

TEST_F(RunProgramTest, ShowModeReachesTheChild)
{
    const struct {
        int number;
        WORD showValue;
    } cases[] = {{0, SW_HIDE}, {1, SW_HIDE}, {2, SW_SHOWNORMAL}, {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED},
                 {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE}, {9, SW_MINIMIZE}};
    for (const auto& c : cases) {
        DeleteFileA(run_.File("launches.log").c_str());
        ASSERT_TRUE(RunProgram(Probe("mode"), true, static_cast<ShowMode>(c.number))) << c.number;
        const std::vector<std::string> launch = OnlyLaunch();
        EXPECT_EQ(launch[1], std::to_string(STARTF_USESHOWWINDOW)) << c.number;
        EXPECT_EQ(launch[2], std::to_string(c.showValue)) << c.number;
    }
}

TEST_F(RunProgramTest, DefaultModeIsNormal)
{
    ASSERT_TRUE(RunProgram(Probe("default"), true));
    EXPECT_EQ(OnlyLaunch()[2], std::to_string(SW_SHOWNORMAL));
}

TEST_F(RunProgramTest, ChildGetsTheCommandLineAndCurrentDirectory)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(run_.Path().c_str()));
    const bool started = RunProgram(Probe("a  b \"c d\""), true);
    SetCurrentDirectoryA(previous);

    ASSERT_TRUE(started);
    const std::vector<std::string> launch = OnlyLaunch();
    EXPECT_EQ(launch[0], Probe("a  b \"c d\""));
    EXPECT_EQ(launch[3], run_.Path());
}

TEST_F(RunProgramTest, MissingProgramGivesFalseAtOnce)
{
    const unsigned long long start = GetTickCount64();
    EXPECT_FALSE(RunProgram(run_.File("missing.exe"), false));
    EXPECT_FALSE(RunProgram("", false));
    EXPECT_LT(ElapsedSince(start), 1000u);
}

TEST_F(RunProgramTest, WaitsAboutOneSecondForAChildThatNeverGetsIdle)
{
    const unsigned long long start = GetTickCount64();
    ASSERT_TRUE(RunProgram(Probe("--stay-busy"), false));
    const unsigned long long waited = ElapsedSince(start);
    EXPECT_GE(waited, 900u);
    EXPECT_LT(waited, 2000u);
}

TEST_F(RunProgramTest, WaitingLastsUntilTheChildEnds)
{
    const unsigned long long start = GetTickCount64();
    ASSERT_TRUE(RunProgram(Probe("--stay-busy"), true));
    EXPECT_GE(ElapsedSince(start), 2900u);
}

}  // namespace
