#include "shell/exit_cleanup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string calls;

void First() { calls += "1"; }
void Second() { calls += "2"; }
void RegisterAgain() { RegisterExitCleanup(First); }

class ExitCleanupTest : public testing::Test {
protected:
    void SetUp() override
    {
        DropExitCleanup();
        calls.clear();
    }
};

TEST_F(ExitCleanupTest, RunsOnceInOrderOfRegistration)
{
    RegisterExitCleanup(Second);
    RegisterExitCleanup(First);
    RunExitCleanup();
    RunExitCleanup();
    EXPECT_EQ(calls, "21");
}

TEST_F(ExitCleanupTest, IgnoresARoutineRegisteredTwice)
{
    RegisterExitCleanup(First);
    RegisterExitCleanup(Second);
    RegisterExitCleanup(First);
    RunExitCleanup();
    EXPECT_EQ(calls, "12");
}

TEST_F(ExitCleanupTest, DroppedListRunsNothing)
{
    RegisterExitCleanup(First);
    DropExitCleanup();
    RunExitCleanup();
    EXPECT_EQ(calls, "");
}

TEST_F(ExitCleanupTest, ARoutineRegisteredWhileRunningWaitsForTheNextRun)
{
    RegisterExitCleanup(RegisterAgain);
    RunExitCleanup();
    EXPECT_EQ(calls, "");
    RunExitCleanup();
    EXPECT_EQ(calls, "1");
}

}  // namespace
