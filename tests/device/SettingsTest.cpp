#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

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
    // Leaves `text` as the settings file ("": none) and reads it as the program starts.
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

// What a file says, read: colour steps brought into 0..10, fog and marks as stored, a speed other
// than Fast read as Normal, a value missing or damaged keeps its default, other keys' values are
// not ours; what was read is written whole to a new file and read back the same.
TEST_F(SettingsTest, ValuesAreReadClampedAndComeBackFromASave) {
    const std::pair<std::string, std::array<int32_t, 6>> rows[] = {
        {"", {0, 0, 7, 7, 0, speedNormal}},
        {"Windows Registry Editor Version 5.00\r\n\r\n" + kKey + Dword("FogEnable", 1, "\r\n") +
             Dword("BoardR", 10, "\r\n") + Dword("BoardG", 3) + Dword("ShowMoves", 1) +
             Dword("AnimationSpeed", 1),
         {1, 10, 3, 7, 1, speedFast}},
        {kHeader + kKey + Dword("BoardR", -1) + Dword("BoardG", 9999) +
             Dword("BoardB", 0x7fffffff) + Dword("FogEnable", 5) + Dword("AnimationSpeed", 2),
         {5, 0, 10, 10, 0, speedNormal}},
        {kHeader + kKey + Dword("BoardR", INT32_MIN) + Dword("BoardG", 11) + Dword("BoardB", -7) +
             Dword("AnimationSpeed", -1),
         {0, 0, 10, 0, 0, speedNormal}},
        {kHeader + kKey + "\"FogEnable\"=dword:0000001\xff\n\"BoardR\"=dword:000000001\n" +
             "\"BoardG\"=hex:01,00,00,00\n" + Dword("BoardB", 3) +
             "\"BoardB\"=dword:\ngarbage\n\"BoardR=dword:00000004\n\"AnimationSpeed\"=dword:"
             "0000000g\n",
         {0, 0, 7, 3, 0, speedNormal}},
        {kHeader + "[HKEY_CURRENT_USER\\Software\\Someone\\Else]\n" + Dword("BoardR", 9) +
             Dword("AnimationSpeed", 1) + kKey + Dword("BoardG", 1) + Dword("ShowMoves", 1),
         {0, 0, 1, 7, 1, speedNormal}},
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
}

// A settings file that is there but cannot be read keeps the first-run values and is never
// replaced, by a save or at the end of the run.
TEST_F(SettingsTest, AFileThatCannotBeReadIsLeftAlone) {
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

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A file that does not open as a registry export is someone else's: the run says so in one line,
// plays with the first-run values and never writes to it, however much of ours it holds.
TEST_F(SettingsTest, AFileThatIsNotARegistryExportIsLeftAlone) {
    std::string noise(3000, '\0');
    std::mt19937 random(24);
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    const std::string headerLate = "\n" + kHeader; // a header not on the first line
    for (const std::string& text : {noise, kKey + Dword("BoardR", 3), headerLate + kKey}) {
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
        EXPECT_EQ(ReadAll(File), text);
    }
    // Turned into one since the start: the save still reads it first, and leaves it.
    Load(kHeader + kKey);
    std::ofstream(File, std::ios::binary | std::ios::trunc) << noise;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not saved"), std::string::npos);
    EXPECT_EQ(ReadAll(File), noise);
    // An empty file is a new one.
    Load("");
    std::ofstream(File, std::ios::binary).flush();
    Reload();
    BoardR = 6;
    ASSERT_TRUE(SaveSettings());
    Reload();
    EXPECT_EQ(BoardR, 6);
}

} // namespace
