#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "device/Settings.h"
#include "platform/SettingsFile.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("octavane-settings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        HadXdg = old != nullptr;
        OldXdg = old ? old : "";
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
        ResetSettings();
    }
    void TearDown() override {
        if (HadXdg) {
            ::setenv("XDG_CONFIG_HOME", OldXdg.c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        fs::remove_all(Dir);
        ResetSettings();
    }
    fs::path File() const { return Dir / "Bellwick" / "Octavane" / "settings.reg"; }
    void WriteFile(const std::string& text) {
        fs::create_directories(File().parent_path());
        std::ofstream(File(), std::ios::binary) << text;
    }
    fs::path Dir;
    bool HadXdg = false;
    std::string OldXdg;
};

TEST_F(SettingsTest, FirstRunHasDefaultsAndWritesAllFourAtSave) {
    LoadSettings();
    EXPECT_EQ(FogEnable, 0);
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 7);
    EXPECT_EQ(BoardB, 7);
    EXPECT_FALSE(fs::exists(File()));
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadAll(File()), "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
                               "\"FogEnable\"=dword:00000000\n"
                               "\"BoardR\"=dword:00000000\n"
                               "\"BoardG\"=dword:00000007\n"
                               "\"BoardB\"=dword:00000007\n");
}

TEST_F(SettingsTest, SavedValuesComeBack) {
    FogEnable = 1;
    BoardR = 10;
    BoardG = 3;
    BoardB = 0;
    ASSERT_TRUE(SaveSettings());
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(FogEnable, 1);
    EXPECT_EQ(BoardR, 10);
    EXPECT_EQ(BoardG, 3);
    EXPECT_EQ(BoardB, 0);
}

TEST_F(SettingsTest, ValuesOutsideTheStepRangeAreKept) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"BoardR\"=dword:00000032\n"
              "\"BoardG\"=dword:ffffffff\n"
              "\"FogEnable\"=dword:00000005\n");
    LoadSettings();
    EXPECT_EQ(BoardR, 50);
    EXPECT_EQ(BoardG, -1);
    EXPECT_EQ(FogEnable, 5);
    EXPECT_EQ(BoardB, 7);
    ASSERT_TRUE(SaveSettings());
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(BoardR, 50);
    EXPECT_EQ(BoardG, -1);
}

TEST_F(SettingsTest, MissingValuesKeepTheirDefaults) {
    WriteFile("Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\r\n"
              "\"BoardB\"=dword:00000002\r\n");
    LoadSettings();
    EXPECT_EQ(FogEnable, 0);
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 7);
    EXPECT_EQ(BoardB, 2);
}

TEST_F(SettingsTest, DamagedLinesKeepTheDefaultsOfWhatTheyDamage) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"FogEnable\"=dword:0000001\xff\n" // not hex
              "\"BoardR\"=dword:000000001\n"      // nine digits
              "\"BoardG\"=hex:01,00,00,00\n"      // not a dword
              "\"BoardB\"=dword:00000003\n"
              "\"BoardB\"=dword:\n" // later, but broken: ignored
              "garbage\n"
              "\"BoardR=dword:00000004\n"); // unterminated name
    LoadSettings();
    EXPECT_EQ(FogEnable, 0);
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 7);
    EXPECT_EQ(BoardB, 3);
}

TEST_F(SettingsTest, ValuesOfOtherKeysAreNotOurs) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Someone\\Else]\n"
              "\"BoardR\"=dword:00000009\n"
              "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"BoardG\"=dword:00000001\n");
    LoadSettings();
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 1);
}

TEST_F(SettingsTest, BinaryJunkFileKeepsDefaultsAndIsReplacedAtSave) {
    std::string junk(4096, '\0');
    for (size_t i = 0; i < junk.size(); ++i) {
        junk[i] = char(i * 131 + 7);
    }
    WriteFile(junk);
    LoadSettings();
    EXPECT_EQ(BoardG, 7);
    BoardR = 4;
    ASSERT_TRUE(SaveSettings());
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(BoardR, 4);
}

TEST_F(SettingsTest, SaveKeepsOtherValuesOfTheKey) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"Volume\"=dword:0000000a\n");
    ASSERT_TRUE(SaveSettings());
    TRegValues values;
    ASSERT_TRUE(ReadRegFile(File().string(), kSettingsKey, values));
    ASSERT_NE(values.Find("Volume"), nullptr);
    EXPECT_EQ(*values.Find("Volume"), 10u);
    EXPECT_EQ(values.Size(), 5u);
}

// Saving replaces the file by renaming a complete new one over it: a reader that opened the
// old file still reads all of it, and nothing else is left in the directory.
TEST_F(SettingsTest, SaveReplacesTheFileWhole) {
    ASSERT_TRUE(SaveSettings());
    const std::string before = ReadAll(File());
    std::ifstream oldReader(File(), std::ios::binary);
    BoardR = 9;
    ASSERT_TRUE(SaveSettings());
    std::stringstream oldText;
    oldText << oldReader.rdbuf();
    EXPECT_EQ(oldText.str(), before);
    EXPECT_NE(ReadAll(File()), before);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(File().parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

TEST_F(SettingsTest, UnwritableLocationFailsWithAMessageAndLosesNothing) {
    // The configuration directory is a plain file: nothing can be created below it.
    std::ofstream(Dir.string() + "-blocker") << "x";
    ::setenv("XDG_CONFIG_HOME", (Dir.string() + "-blocker").c_str(), 1);
    BoardB = 2;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("settings not saved"), std::string::npos) << err;
    EXPECT_EQ(BoardB, 2);
    fs::remove(Dir.string() + "-blocker");
}

TEST_F(SettingsTest, PathFollowsXdgThenHome) {
    EXPECT_EQ(SettingsFilePath(), File().string());
    ::setenv("XDG_CONFIG_HOME", "", 1);
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(SettingsFilePath(),
                  std::string(home) + "/.config/Bellwick/Octavane/settings.reg");
    }
}

} // namespace
