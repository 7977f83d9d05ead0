#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "device/Settings.h"

namespace fs = std::filesystem;

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n";

std::string Dword(const char* name, int32_t value, const char* end = "\n") {
    char line[64];
    std::snprintf(line, sizeof line, "\"%s\"=dword:%08x%s", name, uint32_t(value), end);
    return line;
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path folder = MakeTempFolder("octavane-settings");
        ASSERT_FALSE(folder.empty());
        File = folder / "settings.reg";
    }
    void TearDown() override { fs::remove_all(File.parent_path()); }
    // `text` as the settings file ("": none), read as the program starts.
    void Load(const std::string& text) {
        fs::remove_all(File);
        if (!text.empty()) {
            std::ofstream(File, std::ios::binary) << text;
        }
        Reload();
    }
    void Reload() {
        ResetSettings();
        LoadSettingsFrom(File.string());
    }
    fs::path File;
};

// Steps clamped to 0..10, an unknown speed Normal, a missing value its default; saves read back.
TEST_F(SettingsTest, ValuesAreReadClampedAndComeBackFromASaveUnlessUnreadable) {
    const std::pair<std::string, std::array<int32_t, 6>> rows[] = {
        {"", {0, 0, 7, 7, 0, speedNormal}},
        {"Windows Registry Editor Version 5.00\r\n\r\n" + kKey + Dword("FogEnable", 1, "\r\n") +
             Dword("BoardR", 10, "\r\n") + Dword("BoardG", 3) + Dword("ShowMoves", 1) +
             Dword("AnimationSpeed", 1),
         {1, 10, 3, 7, 1, speedFast}},
        {kHeader + kKey + Dword("BoardR", INT32_MIN) + Dword("BoardG", 9999) +
             Dword("BoardB", 0x7fffffff) + Dword("FogEnable", 5) + Dword("AnimationSpeed", 2),
         {5, 0, 10, 10, 0, speedNormal}},
    };
    const auto stored = [] {
        return std::array{FogEnable, BoardR, BoardG, BoardB, ShowMoves, AnimationSpeed};
    };
    for (const auto& [text, values] : rows) {
        SCOPED_TRACE(text);
        Load(text);
        EXPECT_EQ(stored(), values);
        EXPECT_EQ(fs::exists(File), !text.empty()) << "loading writes nothing";
        fs::remove(File);
        ASSERT_TRUE(SaveSettings());
        Reload();
        EXPECT_EQ(stored(), values);
    }

    // A settings file that cannot be read keeps the first-run values and is never replaced.
    const std::string tooLarge = kHeader + kKey + Dword("BoardR", 3) + std::string(2 << 20, ';');
    for (const bool directory : {true, false}) {
        Load(directory ? "" : tooLarge);
        if (directory) {
            fs::create_directories(File / "inside");
        }
        Reload();
        EXPECT_EQ(BoardR, 0);
        BoardR = 5;
        EXPECT_FALSE(SaveSettingsAtEnd());
        EXPECT_EQ(BoardR, 5);
        EXPECT_TRUE(directory ? fs::is_directory(File) : fs::file_size(File) == tooLarge.size());
    }
}

// A file that is not a registry export is said in one line and never written; an empty one is new.
TEST_F(SettingsTest, AFileThatIsNotARegistryExportIsLeftAlone) {
    const std::string text = kKey + Dword("BoardR", 3);
    testing::internal::CaptureStderr();
    Load(text);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("not a registry export"), std::string::npos) << said;
    EXPECT_NE(said.find(File.string()), std::string::npos) << said;
    EXPECT_EQ(BoardR, 0);
    BoardR = 5;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    EXPECT_FALSE(SaveSettingsAtEnd());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadFileBytes(File), text);
    Load(kHeader + kKey);
    std::ofstream(File, std::ios::binary | std::ios::trunc) << text;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not saved"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(File), text);
    Load("");
    std::ofstream(File, std::ios::binary).flush();
    Reload();
    BoardR = 6;
    ASSERT_TRUE(SaveSettings());
    Reload();
    EXPECT_EQ(BoardR, 6);
}

} // namespace
