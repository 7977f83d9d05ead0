#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>

#include "TestFiles.h"
#include "device/Settings.h"
#include "platform/SettingsStore.h"

// The Windows stores: the registry, under a key of the tests' own in the private Wine prefix of
// `make test-windows`, and the .reg file on Windows paths. The game's own key, read and written
// through the settings with their rules, is checked by the zip's whole-program test.

namespace fs = std::filesystem;

namespace {

const std::string kTestKey =
    "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane Tests \xC3\xA9t\xC3\xA9";
const std::wstring kTestSubkey = L"Software\\Bellwick\\Octavane Tests \u00e9t\u00e9";

void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kTestSubkey.c_str(), name, type, data, size),
              ERROR_SUCCESS);
}

// The value's type and, for a dword, its number; type 0 when there is none.
std::pair<DWORD, uint32_t> Stored(const wchar_t* name) {
    DWORD type = 0;
    BYTE data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, kTestSubkey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                     data, &size) != ERROR_SUCCESS) {
        return {0, 0};
    }
    DWORD number = 0;
    std::memcpy(&number, data, sizeof number);
    return {type, type == REG_DWORD ? number : 0};
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestSubkey.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kTestSubkey.c_str());
    }
};

// A key that is not there reads as Missing. Only REG_DWORD values are settings: a string, a qword
// or four binary bytes are not. A write, under a key whose name has non-ASCII letters, replaces
// only its own values. Names compare without regard to case, as the registry's do.
TEST_F(RegistryTest, OnlyDwordsAreReadAndAWriteLeavesTheOthersAlone) {
    const std::unique_ptr<TSettingsStore> store = OpenPlatformSettingsStore();
    TRegValues values;
    std::string error;
    EXPECT_EQ(store->Read(kTestKey, values, error), TRegRead::Missing);
    const uint64_t qword = 5;
    const BYTE binary[4] = {6, 0, 0, 0};
    const DWORD showMoves = 1;
    const DWORD another = 42;
    Put(L"BoardR", REG_SZ, L"4", sizeof L"4");
    Put(L"BoardG", REG_QWORD, &qword, sizeof qword);
    Put(L"BoardB", REG_BINARY, binary, sizeof binary);
    Put(L"ShowMoves", REG_DWORD, &showMoves, sizeof showMoves);
    Put(L"Another", REG_DWORD, &another, sizeof another);
    ASSERT_EQ(store->Read(kTestKey, values, error), TRegRead::Read);
    EXPECT_TRUE(!values.Find("BoardR") && !values.Find("BoardG") && !values.Find("BoardB"));
    ASSERT_NE(values.Find("ShowMoves"), nullptr);

    TRegValues ours;
    ours.Set("ShowMoves", 0);
    ours.Set("FogEnable", 0xffffffff);
    ASSERT_TRUE(store->Write(kTestKey, ours, error)) << error;
    EXPECT_EQ(Stored(L"ShowMoves"), std::make_pair(DWORD(REG_DWORD), 0u));
    EXPECT_EQ(Stored(L"FogEnable"), std::make_pair(DWORD(REG_DWORD), 0xffffffffu));
    EXPECT_EQ(Stored(L"Another"), std::make_pair(DWORD(REG_DWORD), 42u));
    EXPECT_EQ(Stored(L"BoardR").first, DWORD(REG_SZ));
    TRegValues read;
    ASSERT_EQ(store->Read(kTestKey, read, error), TRegRead::Read) << error;
    EXPECT_EQ(read.Size(), 3u);
    ASSERT_NE(read.Find("fogenable"), nullptr);
    EXPECT_EQ(*read.Find("fogenable"), 0xffffffffu);
}

// The .reg file on Windows: a path with non-ASCII letters, an existing file replaced whole
// (rename() would refuse), a read-only file left as it is.
TEST(SettingsFileOnWindows, NonAsciiPathsReplaceAndReadOnly) {
    const fs::path folder = MakeTempFolder("octavane-file");
    ASSERT_FALSE(folder.empty());
    const fs::path path = folder / L"J\u00fcrgen \u5c71\u7530" / L"settings.reg";
    const std::u8string u8 = path.u8string();
    const std::string file(u8.begin(), u8.end());
    const auto boardRAfterSaving = [&file](int32_t value, bool saved) {
        ResetSettings();
        LoadSettingsFrom(file);
        BoardR = value;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(SaveSettings(), saved) << value;
        ::testing::internal::GetCapturedStderr();
        ResetSettings();
        LoadSettingsFrom(file);
        return BoardR;
    };
    EXPECT_EQ(boardRAfterSaving(6, true), 6);
    EXPECT_EQ(boardRAfterSaving(2, true), 2); // replaces the file just written
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(boardRAfterSaving(9, false), 2);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    ResetSettings();
    fs::remove_all(folder);
}

} // namespace
