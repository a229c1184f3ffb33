// What Vantry.exe carries besides its code: icon, manifest, version.
#include <gtest/gtest.h>

#include "tests/support/win_driver.h"

namespace {

class ResourcesTest : public testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string Resource(LPCSTR name, LPCSTR type) const
    {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found)
            return {};
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    std::string path_ = BinDirectory() + "\\Vantry.exe";
    HMODULE module_ = nullptr;
};

TEST_F(ResourcesTest, CarriesTheDefaultIcon)
{
    EXPECT_FALSE(Resource("DEFAULT_ICON", RT_GROUP_ICON).empty());
    HICON icon = static_cast<HICON>(LoadImageA(module_, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST_F(ResourcesTest, ManifestAsksForCommonControlsSixAndNoElevation)
{
    const std::string manifest = Resource(MAKEINTRESOURCEA(1), RT_MANIFEST);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
}

TEST_F(ResourcesTest, VersionIsThreePointTwo)
{
    DWORD ignored = 0;
    std::string info(GetFileVersionInfoSizeA(path_.c_str(), &ignored), '\0');
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 3));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 3));

    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\080403a8\\FileVersion",
                               reinterpret_cast<void**>(&text), &size));
    EXPECT_STREQ(text, "3.2");
}

}  // namespace
