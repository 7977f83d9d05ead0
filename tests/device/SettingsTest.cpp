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
#include <strings.h>

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

// The speed is the sixth value of the key, written after the five before it; a file of an older
// version, without it, plays at Normal and gains it at the next save.
TEST_F(SettingsTest, TheSpeedIsTheSixthValueAndAnOlderFileReadsNormal) {
    Load(kHeader + kKey + Dword("FogEnable", 1) + Dword("BoardR", 2) + Dword("BoardG", 3) +
         Dword("BoardB", 4) + Dword("ShowMoves", 1));
    EXPECT_EQ(AnimationSpeed, speedNormal);
    AnimationSpeed = speedFast;
    ASSERT_TRUE(SaveSettings());
    std::ifstream in(File);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find(Dword("ShowMoves", 1) + Dword("AnimationSpeed", 1)), std::string::npos)
        << text;
    Reload();
    EXPECT_EQ(AnimationSpeed, speedFast);
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

// How many lines of the file name `name` (in any case) as a value.
int LinesOf(const std::string& text, const std::string& name) {
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        count += strncasecmp(line.c_str(), ("\"" + name + "\"=").c_str(), name.size() + 3) == 0;
    }
    return count;
}

// Values of ours that cannot be read keep their defaults, and a save writes each of them once,
// in the place of the damaged line, not beside it.
TEST_F(SettingsTest, ADamagedValueIsReplacedNotRepeated) {
    Load(kHeader + kKey + "\"BoardG\"=dword:-1\n\"BoardB\"=hex:01\n" + Dword("ShowMoves", 1) +
         Dword("boardg", 2));
    EXPECT_TRUE(BoardG == 2 && BoardB == 7 && ShowMoves == 1);
    BoardG = 4;
    BoardB = 3;
    ASSERT_TRUE(SaveSettings());
    const std::string saved = ReadAll(File);
    for (const char* name : {"FogEnable", "BoardR", "BoardG", "BoardB", "ShowMoves"}) {
        EXPECT_EQ(LinesOf(saved, name), 1) << name << " in\n" << saved;
    }
    EXPECT_EQ(saved.find(Dword("BoardG", 4) + Dword("BoardB", 3)), kHeader.size() + kKey.size())
        << saved;
    Reload();
    EXPECT_TRUE(BoardG == 4 && BoardB == 3 && ShowMoves == 1);
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
