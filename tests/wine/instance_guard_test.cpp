#include <gtest/gtest.h>

#include "shell/app_shell.h"
#include "shell/instance_guard.h"
#include "shell/win_handle.h"

namespace {

TEST(EnsureSingleInstanceTest, FirstInstanceCreatesTheNamedEvent)
{
    std::string name = "VantryGuardTest.exe";
    EnsureSingleInstance(name, kGuardModePrompt, "unused");
    const UniqueHandle event(OpenEventA(EVENT_ALL_ACCESS, FALSE, "VantryGuardTest.exe"));
    EXPECT_TRUE(event);
    EXPECT_EQ(name, "VantryGuardTest.exe");
}

TEST(EnsureSingleInstanceTest, EmptyNameBecomesTheExecutablePathWithSlashes)
{
    PrepareProcess();
    std::string name;
    EnsureSingleInstance(name);
    const std::string expected = RunDirectory() + "/" + ExecutableName();
    std::string withSlashes = expected;
    for (char& c : withSlashes)
        if (c == '\\')
            c = '/';
    EXPECT_EQ(name, withSlashes);
    const UniqueHandle event(OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    EXPECT_TRUE(event);
}

}  // namespace
