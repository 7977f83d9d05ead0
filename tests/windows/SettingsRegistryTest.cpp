#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "device/Settings.h"
#include "platform/SettingsStore.h"

// The Windows stores: the registry as the game's own, and the .reg file on Windows paths.
// They run in the private Wine prefix of `make test-windows`, under a key of their own.

namespace fs = std::filesystem;

namespace {

const std::wstring kGameSubkey = L"Software\\Bellwick\\Octavane";
const std::string kTestKey =
    "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane Tests \xC3\xA9t\xC3\xA9";
const std::wstring kTestSubkey = L"Software\\Bellwick\\Octavane Tests \u00e9t\u00e9";

void DeleteKey(const std::wstring& subkey) {
    RegDeleteTreeW(HKEY_CURRENT_USER, subkey.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, subkey.c_str());
}

void SetValue(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetDword(const std::wstring& subkey, const wchar_t* name, uint32_t value) {
    const DWORD data = value;
    SetValue(subkey, name, REG_DWORD, &data, sizeof data);
}

void SetString(const std::wstring& subkey, const wchar_t* name, const std::wstring& text) {
    SetValue(subkey, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

// The value's type and, for a dword, its number; type 0 when there is none.
std::pair<DWORD, uint32_t> Stored(const std::wstring& subkey, const wchar_t* name) {
    DWORD type = 0;
    BYTE data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                     data, &size) != ERROR_SUCCESS) {
        return {0, 0};
    }
    DWORD number = 0;
    std::memcpy(&number, data, sizeof number);
    return {type, type == REG_DWORD ? number : 0};
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteKey(kTestSubkey);
        DeleteKey(kGameSubkey);
        ResetSettings();
    }
    void TearDown() override {
        DeleteKey(kTestSubkey);
        DeleteKey(kGameSubkey);
        ResetSettings();
    }
    std::unique_ptr<TSettingsStore> Store = OpenPlatformSettingsStore();
};

// A key that is not there reads as Missing; what is written reads back, under a key whose name
// has non-ASCII letters; names compare without regard to case, as the registry's do.
TEST_F(RegistryTest, WhatIsWrittenReadsBack) {
    TRegValues values;
    std::string error;
    EXPECT_EQ(Store->Read(kTestKey, values, error), TRegRead::Missing);
    values.Set("BoardR", 3);
    values.Set("FogEnable", 0xffffffff);
    ASSERT_TRUE(Store->Write(kTestKey, values, error)) << error;
    TRegValues read;
    ASSERT_EQ(Store->Read(kTestKey, read, error), TRegRead::Read) << error;
    EXPECT_EQ(read.Size(), 2u);
    ASSERT_NE(read.Find("boardr"), nullptr);
    EXPECT_EQ(*read.Find("boardr"), 3u);
    EXPECT_EQ(*read.Find("FogEnable"), 0xffffffffu);
    EXPECT_EQ(Stored(kTestSubkey, L"BoardR"), std::make_pair(DWORD(REG_DWORD), 3u));
}

// Only REG_DWORD values are read: a string, a qword or four binary bytes of the same name are not
// settings. A write replaces only its own values; others under the key stay as they were.
TEST_F(RegistryTest, OnlyDwordsAreReadAndOthersAreLeftAlone) {
    const uint64_t qword = 5;
    const BYTE binary[4] = {6, 0, 0, 0};
    SetString(kTestSubkey, L"BoardR", L"4");
    SetValue(kTestSubkey, L"BoardG", REG_QWORD, &qword, sizeof qword);
    SetValue(kTestSubkey, L"BoardB", REG_BINARY, binary, sizeof binary);
    SetDword(kTestSubkey, L"ShowMoves", 1);
    SetString(kTestSubkey, L"Someone else's", L"kept");
    SetDword(kTestSubkey, L"Another", 42);
    TRegValues values;
    std::string error;
    ASSERT_EQ(Store->Read(kTestKey, values, error), TRegRead::Read);
    EXPECT_EQ(values.Find("BoardR"), nullptr);
    EXPECT_EQ(values.Find("BoardG"), nullptr);
    EXPECT_EQ(values.Find("BoardB"), nullptr);
    ASSERT_NE(values.Find("ShowMoves"), nullptr);

    TRegValues ours;
    ours.Set("ShowMoves", 0);
    ASSERT_TRUE(Store->Write(kTestKey, ours, error)) << error;
    EXPECT_EQ(Stored(kTestSubkey, L"ShowMoves"), std::make_pair(DWORD(REG_DWORD), 0u));
    EXPECT_EQ(Stored(kTestSubkey, L"Another"), std::make_pair(DWORD(REG_DWORD), 42u));
    EXPECT_EQ(Stored(kTestSubkey, L"Someone else's").first, DWORD(REG_SZ));
    EXPECT_EQ(Stored(kTestSubkey, L"BoardR").first, DWORD(REG_SZ));
}

// The game's own key, through the settings: colour steps clamped into 0..10 when read, a value
// of the wrong type or a missing one gives the default; the save writes all five as REG_DWORD
// and leaves every other value under the key alone.
TEST_F(RegistryTest, TheSettingsFollowTheirRulesInTheRegistry) {
    SetDword(kGameSubkey, L"BoardR", 99);
    SetDword(kGameSubkey, L"BoardG", 0xffffffff); // -1
    SetString(kGameSubkey, L"BoardB", L"3");
    SetDword(kGameSubkey, L"FogEnable", 5);
    SetDword(kGameSubkey, L"Volume", 77);
    LoadSettingsFrom(OpenPlatformSettingsStore());
    EXPECT_EQ((std::array{FogEnable, BoardR, BoardG, BoardB, ShowMoves}),
              (std::array<int32_t, 5>{5, 10, 0, 7, 0}));
    ShowMoves = 1;
    ASSERT_TRUE(SaveSettingsAtEnd());
    const std::pair<const wchar_t*, uint32_t> expected[] = {{L"FogEnable", 5}, {L"BoardR", 10},
                                                            {L"BoardG", 0},    {L"BoardB", 7},
                                                            {L"ShowMoves", 1}, {L"Volume", 77}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(Stored(kGameSubkey, name), std::make_pair(DWORD(REG_DWORD), value)) << name;
    }
}

// The game's store on Windows is the registry: LoadSettings reads the key, and no settings
// file appears anywhere.
TEST_F(RegistryTest, LoadSettingsReadsTheRegistry) {
    SetDword(kGameSubkey, L"BoardR", 4);
    SetDword(kGameSubkey, L"ShowMoves", 1);
    LoadSettings();
    EXPECT_EQ(BoardR, 4);
    EXPECT_EQ(ShowMoves, 1);
    EXPECT_EQ(OpenSettingsStore()->Where(), "the registry");
}

// The .reg file on Windows: a path with non-ASCII letters, an existing file replaced whole
// (rename() would refuse), a read-only file left as it is.
TEST(SettingsFileOnWindows, NonAsciiPathsReplaceAndReadOnly) {
    const fs::path folder = MakeTempFolder("octavane-file");
    ASSERT_FALSE(folder.empty());
    const fs::path dir = folder / L"J\u00fcrgen \u5c71\u7530";
    const std::u8string u8 = (dir / L"settings.reg").u8string();
    const std::string file(u8.begin(), u8.end());
    ResetSettings();
    LoadSettingsFrom(file);
    BoardR = 6;
    ASSERT_TRUE(SaveSettings());
    BoardR = 2;
    ASSERT_TRUE(SaveSettings()); // replaces the file just written
    ResetSettings();
    LoadSettingsFrom(file);
    EXPECT_EQ(BoardR, 2);
    fs::permissions(dir / L"settings.reg", fs::perms::owner_write, fs::perm_options::remove);
    BoardR = 9;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    ::testing::internal::GetCapturedStderr();
    ResetSettings();
    LoadSettingsFrom(file);
    EXPECT_EQ(BoardR, 2);
    fs::permissions(dir / L"settings.reg", fs::perms::owner_write, fs::perm_options::add);
    ResetSettings();
    fs::remove_all(folder);
}

} // namespace
