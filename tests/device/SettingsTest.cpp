#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "device/Settings.h"

namespace fs = std::filesystem;

namespace {

const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n";

std::string Dword(const char* name, int32_t value, const char* end = "\n") {
    char line[64];
    std::snprintf(line, sizeof line, "\"%s\"=dword:%08x%s", name, uint32_t(value), end);
    return line;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::array<int32_t, 5> Values() {
    return {FogEnable, BoardR, BoardG, BoardB, ShowMoves};
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/octavane-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Dir = pattern;
        ::setenv("XDG_CONFIG_HOME", pattern, 1);
    }
    void TearDown() override { fs::remove_all(Dir); }
    // Leaves `text` as the only settings file ("": none), then loads as the program starts.
    void Load(const std::string& text) {
        fs::remove_all(Dir / "Bellwick");
        fs::create_directories(File().parent_path());
        if (!text.empty()) {
            std::ofstream(File(), std::ios::binary) << text;
        }
        ResetSettings();
        LoadSettings();
    }
    fs::path File() const { return Dir / "Bellwick" / "Octavane" / "settings.reg"; }
    fs::path Dir;
};

// What a file says, read: colour steps brought into 0..10, fog and marks as stored, a value
// missing or damaged keeps its default, other keys' values are not ours; what was read is
// written whole to a new file and read back the same.
TEST_F(SettingsTest, ValuesAreReadClampedAndComeBackFromASave) {
    const std::pair<std::string, std::array<int32_t, 5>> rows[] = {
        {"", {0, 0, 7, 7, 0}},
        {kKey + Dword("FogEnable", 1) + Dword("BoardR", 10) + Dword("BoardG", 3) +
             Dword("BoardB", 0) + Dword("ShowMoves", 1),
         {1, 10, 3, 0, 1}},
        {kKey + Dword("BoardR", -1) + Dword("BoardG", 9999) + Dword("BoardB", 0x7fffffff) +
             Dword("FogEnable", 5),
         {5, 0, 10, 10, 0}},
        {kKey + Dword("BoardR", INT32_MIN) + Dword("BoardG", 11) + Dword("BoardB", -7),
         {0, 0, 10, 0, 0}},
        {"Windows Registry Editor Version 5.00\r\n\r\n" + kKey + Dword("BoardB", 2, "\r\n"),
         {0, 0, 7, 2, 0}},
        {kKey + "\"FogEnable\"=dword:0000001\xff\n\"BoardR\"=dword:000000001\n" +
             "\"BoardG\"=hex:01,00,00,00\n" + Dword("BoardB", 3) +
             "\"BoardB\"=dword:\ngarbage\n\"BoardR=dword:00000004\n",
         {0, 0, 7, 3, 0}},
        {"[HKEY_CURRENT_USER\\Software\\Someone\\Else]\n" + Dword("BoardR", 9) + kKey +
             Dword("BoardG", 1) + Dword("ShowMoves", 1),
         {0, 0, 1, 7, 1}},
    };
    for (const auto& [text, values] : rows) {
        SCOPED_TRACE(text);
        Load(text);
        EXPECT_EQ(Values(), values);
        EXPECT_EQ(fs::exists(File()), !text.empty()) << "loading writes nothing";
        fs::remove(File());
        ASSERT_TRUE(SaveSettings());
        ResetSettings();
        LoadSettings();
        EXPECT_EQ(Values(), values);
    }
}

// A settings file that is there but cannot be read is never replaced by the first-run values,
// and a place where nothing can be written fails the save: the values stay as they are.
TEST_F(SettingsTest, WhatCannotBeReadOrWrittenIsLeftAlone) {
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"a directory", [&] { fs::create_directories(File() / "inside"); }},
        {"far too large",
         [&] { std::ofstream(File()) << kKey + Dword("BoardR", 3) + std::string(2 << 20, ';'); }},
        {"config home is a file",
         [&] {
             ::setenv("XDG_CONFIG_HOME", (std::ofstream(Dir / "f") << "x", Dir / "f").c_str(), 1);
         }},
    };
    for (const auto& [name, spoil] : rows) {
        SCOPED_TRACE(name);
        Load("");
        spoil();
        const auto type = fs::status(File()).type();
        const std::string before = type == fs::file_type::regular ? ReadAll(File()) : "";
        ResetSettings();
        LoadSettings();
        EXPECT_EQ(BoardR, 0);
        BoardR = 5;
        EXPECT_FALSE(SaveSettings());
        EXPECT_EQ(BoardR, 5);
        EXPECT_EQ(fs::status(File()).type(), type);
        EXPECT_EQ(type == fs::file_type::regular ? ReadAll(File()) : "", before);
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    }
}

} // namespace
