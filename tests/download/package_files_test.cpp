// ExtractZip, CopyDirectory and DeleteDirectory on the archives that
// run_download_tests.py makes.
#include <gtest/gtest.h>

#include <sstream>

#include "shell/win_handle.h"
#include "tests/download/test_environment.h"
#include "updater/package/package_files.h"

namespace {

class PackageFiles : public testing::Test {
protected:
    void SetUp() override
    {
        root = TestDirectory() + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : root)
            if (c == '/')
                c = '_';
        unpack = root + "\\e_update";
        program = root + "\\program";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(program.c_str(), nullptr);
    }

    std::string root, unpack, program;
};

TEST_F(PackageFiles, PackageLandsInTheProgramDirectoryAndTheCopyIsRemoved)
{
    ASSERT_EQ(ExtractZip(DataPath("edge.zip"), unpack), kExtractDone);
    std::string source = unpack, target = program + "\\";
    EXPECT_TRUE(CopyDirectory(source, target));
    EXPECT_EQ(source, unpack + "\\");
    EXPECT_EQ(ReadWholeFile(program + "\\Vantry.exe"), "new program");
    EXPECT_EQ(ReadWholeFile(program + "\\data\\a.txt"), "a text");
    EXPECT_TRUE(DeleteDirectory(unpack));
    EXPECT_FALSE(PathExists(unpack));
}

// Entries from a few bytes to several read windows long, stored and
// deflated, across an archive much larger than what the reader holds.
TEST_F(PackageFiles, EveryEntryArrivesByteForByte)
{
    ASSERT_EQ(ExtractZip(DataPath("mixed.zip"), unpack), kExtractDone);
    std::istringstream names(ReadWholeFile(DataPath("mixed.list")));
    int compared = 0;
    for (std::string name; std::getline(names, name); ++compared) {
        ASSERT_TRUE(PathExists(unpack + "\\" + name)) << name;
        ASSERT_EQ(ReadWholeFile(unpack + "\\" + name), ReadWholeFile(DataPath("mixed\\" + name))) << name;
    }
    EXPECT_EQ(compared, 300);
}

TEST_F(PackageFiles, DirectoryWithDotNameArrivesEmpty)
{
    ASSERT_EQ(ExtractZip(DataPath("dotdir.zip"), unpack), kExtractDone);
    EXPECT_EQ(ReadWholeFile(unpack + "\\.hidden\\x.txt"), "hidden");
    std::string source = unpack, target = program;
    CopyDirectory(source, target);
    EXPECT_EQ(ReadWholeFile(program + "\\keep.txt"), "keep");
    EXPECT_TRUE(PathExists(program + "\\.hidden"));
    EXPECT_FALSE(PathExists(program + "\\.hidden\\x.txt"));
}

struct BadPackage {
    const char* archive;
    int result;
};

class RefusedPackage : public PackageFiles, public testing::WithParamInterface<BadPackage> {};

// Nothing of a refused archive may reach the disk beside its target either.
TEST_P(RefusedPackage, FailsAndWritesNothingOutside)
{
    EXPECT_EQ(ExtractZip(DataPath(GetParam().archive), unpack), GetParam().result);
    EXPECT_FALSE(PathExists(root + "\\evil.txt"));
    EXPECT_FALSE(PathExists("C:\\evil.txt"));
}

INSTANTIATE_TEST_SUITE_P(Archives, RefusedPackage,
                         testing::Values(BadPackage{"missing.zip", kExtractBadArguments},
                                         BadPackage{"truncated.zip", kExtractFailed},
                                         BadPackage{"crc.zip", kExtractFailed},
                                         BadPackage{"slip.zip", kExtractFailed},
                                         BadPackage{"absolute.zip", kExtractFailed},
                                         BadPackage{"drive.zip", kExtractFailed}));

TEST_F(PackageFiles, ZipSlipIsRefusedBeforeAnyEntryIsWritten)
{
    EXPECT_EQ(ExtractZip(DataPath("slip.zip"), unpack), kExtractFailed);
    EXPECT_FALSE(PathExists(unpack + "\\ok.txt"));
}

TEST_F(PackageFiles, AnEntryThatCannotBeWrittenFailsTheExtraction)
{
    // A directory stands where the program file must go.
    CreateDirectoryA(unpack.c_str(), nullptr);
    CreateDirectoryA((unpack + "\\Vantry.exe").c_str(), nullptr);
    EXPECT_EQ(ExtractZip(DataPath("edge.zip"), unpack), kExtractFailed);
}

TEST_F(PackageFiles, EmptyPathsAreBadArguments)
{
    EXPECT_EQ(ExtractZip("", unpack), kExtractBadArguments);
    EXPECT_EQ(ExtractZip(DataPath("edge.zip"), ""), kExtractBadArguments);
}

TEST_F(PackageFiles, NamesBecomeGbk)
{
    ASSERT_EQ(ExtractZip(DataPath("utf8.zip"), unpack), kExtractDone);
    EXPECT_EQ(ReadWholeFile(unpack + "\\升级\\说明.txt"), "notes");
    ASSERT_EQ(ExtractZip(DataPath("gbk.zip"), unpack), kExtractDone);
    EXPECT_EQ(ReadWholeFile(unpack + "\\升级.txt"), "gbk");
}

// Whether writing to a read-only file fails here: Wine run by root maps the
// attribute to Unix permissions, which root may ignore.
bool ReadOnlyIsHonoured(const std::string& path)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return !file;
}

TEST_F(PackageFiles, ReadOnlyFiles)
{
    // In the program directory: not replaced, and the copy goes on.
    WriteWholeFile(program + "\\Vantry.exe", "old program");
    SetFileAttributesA((program + "\\Vantry.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(ExtractZip(DataPath("edge.zip"), unpack), kExtractDone);
    std::string source = unpack, target = program;
    CopyDirectory(source, target);
    if (ReadOnlyIsHonoured(program + "\\Vantry.exe")) {
        EXPECT_EQ(ReadWholeFile(program + "\\Vantry.exe"), "old program");
    }
    EXPECT_EQ(ReadWholeFile(program + "\\data\\a.txt"), "a text");
    SetFileAttributesA((program + "\\Vantry.exe").c_str(), FILE_ATTRIBUTE_NORMAL);

    // In an earlier unpack directory: replaced.
    SetFileAttributesA((unpack + "\\Vantry.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(ExtractZip(DataPath("edge.zip"), unpack), kExtractDone);
    EXPECT_EQ(GetFileAttributesA((unpack + "\\Vantry.exe").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(PackageFiles, DeleteDirectoryRefusesDriveRoots)
{
    const std::string marker = "C:\\vantry-root-marker.txt";
    WriteWholeFile(marker, "stay");
    for (const char* root : {"C:", "C:\\", "  C:\\", ""})
        EXPECT_FALSE(DeleteDirectory(root)) << '"' << root << '"';
    EXPECT_EQ(ReadWholeFile(marker), "stay");
    DeleteFileA(marker.c_str());
}

TEST_F(PackageFiles, DeleteDirectoryLeavesDotNames)
{
    ASSERT_EQ(ExtractZip(DataPath("dotdir.zip"), unpack), kExtractDone);
    EXPECT_FALSE(DeleteDirectory(unpack));
    EXPECT_FALSE(PathExists(unpack + "\\keep.txt"));
    EXPECT_TRUE(PathExists(unpack + "\\.hidden\\x.txt"));
}

}  // namespace
