#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "policy/policy_registry.h"

namespace {

constexpr const char* kTestKey = "Software\\VantryTests";
const std::string kTestPath = std::string(kTestKey) + "\\Value";

void SetRaw(HKEY root, const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyA(root, key, &opened), ERROR_SUCCESS);
    RegSetValueExA(opened, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(opened);
}

DWORD ReadRawType(HKEY root, const char* key, const char* name, DWORD* number)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return REG_NONE;
    DWORD type = REG_NONE;
    DWORD size = sizeof *number;
    if (RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(number), &size) != ERROR_SUCCESS)
        type = REG_NONE;
    RegCloseKey(opened);
    return type;
}

class PolicyRegistryTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
};

TEST_F(PolicyRegistryTest, ReadsOnlyDwordValues)
{
    const DWORD three = 3;
    const DWORD four = 4;
    const DWORD zero = 0;
    const DWORD minusOne = 0xFFFFFFFF;
    const unsigned long long wide = 3;
    const struct {
        const char* what;
        DWORD type;
        const void* data;
        DWORD size;
        std::int32_t expected;
    } cases[] = {
        {"dword 3", REG_DWORD, &three, 4, 3},
        {"dword 4", REG_DWORD, &four, 4, 4},
        {"dword 0", REG_DWORD, &zero, 4, 0},
        {"dword ffffffff", REG_DWORD, &minusOne, 4, -1},
        {"string 3", REG_SZ, "3", 2, 0},
        {"binary", REG_BINARY, &three, 4, 0},
        {"qword", REG_QWORD, &wide, 8, 0},
        {"big-endian dword", REG_DWORD_BIG_ENDIAN, &three, 4, 0},
    };
    for (const auto& c : cases) {
        SetRaw(HKEY_CURRENT_USER, kTestKey, "Value", c.type, c.data, c.size);
        EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, kTestPath), c.expected) << c.what;
    }
}

TEST_F(PolicyRegistryTest, MissingKeyOrValueReadsZero)
{
    EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, kTestPath), 0);
    SetRaw(HKEY_CURRENT_USER, kTestKey, "Other", REG_SZ, "x", 2);
    EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, kTestPath), 0);
}

TEST_F(PolicyRegistryTest, WriteCreatesMissingKeysAndStoresADword)
{
    const std::string deep = std::string(kTestKey) + "\\Control\\StorageDevicePolicies\\WriteProtect";
    ASSERT_TRUE(WriteRegistryNumber(HKEY_CURRENT_USER, deep, 1));
    DWORD stored = 0;
    EXPECT_EQ(ReadRawType(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\Control\\StorageDevicePolicies").c_str(),
                          "WriteProtect", &stored),
              static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored, 1u);
    EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, deep), 1);
}

TEST_F(PolicyRegistryTest, WriteReplacesAValueOfAnotherType)
{
    SetRaw(HKEY_CURRENT_USER, kTestKey, "Value", REG_SZ, "3", 2);
    ASSERT_TRUE(WriteRegistryNumber(HKEY_CURRENT_USER, kTestPath, 4));
    EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, kTestPath), 4);
}

TEST_F(PolicyRegistryTest, SecondByteBackslashStaysInTheName)
{
    // "乗" is 81 5C: the key is "Software\VantryTests\乗key", the value "名".
    const std::string key = std::string(kTestKey) + "\\\x81\x5Ckey";
    const std::string path = key + "\\名";
    ASSERT_TRUE(WriteRegistryNumber(HKEY_CURRENT_USER, path, 7));
    DWORD stored = 0;
    EXPECT_EQ(ReadRawType(HKEY_CURRENT_USER, key.c_str(), "名", &stored), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored, 7u);
    EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, path), 7);

    // A value whose own name ends in such a character.
    const std::string trailing = std::string(kTestKey) + "\\v\x81\x5C";
    ASSERT_TRUE(WriteRegistryNumber(HKEY_CURRENT_USER, trailing, 9));
    EXPECT_EQ(ReadRawType(HKEY_CURRENT_USER, kTestKey, "v\x81\x5C", &stored), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored, 9u);
}

TEST_F(PolicyRegistryTest, PathWithoutBackslashNamesAValueOfTheRoot)
{
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kTestKey, &root), ERROR_SUCCESS);
    EXPECT_TRUE(WriteRegistryNumber(root, "TopValue", 5));
    EXPECT_EQ(ReadRegistryNumber(root, "TopValue"), 5);
    DWORD stored = 0;
    EXPECT_EQ(ReadRawType(HKEY_CURRENT_USER, kTestKey, "TopValue", &stored), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored, 5u);
    RegCloseKey(root);
}

TEST_F(PolicyRegistryTest, WriteUnderAMissingRootFails)
{
    EXPECT_FALSE(WriteRegistryNumber(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), "Key\\Value", 1));
}

}  // namespace
