#include "updater/install_paths.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kUpdaterDirectory = "C:\\程序 目录\\升级文件";

TEST(InstallPathsTest, FormedFromTheUpdaterDirectoryUnresolved)
{
    EXPECT_EQ(PackagePath(kUpdaterDirectory, 1), "C:\\程序 目录\\升级文件\\升级文件\\temp1.zip");
    EXPECT_EQ(UnpackDirectory(kUpdaterDirectory), "C:\\程序 目录\\升级文件\\e_update");
    EXPECT_EQ(ProgramDirectory(kUpdaterDirectory), "C:\\程序 目录\\升级文件\\..\\");
}

TEST(InstallPathsTest, TheRestartedProgramIsQuoted)
{
    EXPECT_EQ(RestartCommandLine(kUpdaterDirectory, "Vantry.exe"), "\"C:\\程序 目录\\升级文件\\..\\Vantry.exe\"");
}

}  // namespace
