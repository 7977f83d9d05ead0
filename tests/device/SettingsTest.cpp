#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <tuple>
#include <unistd.h>

#include "device/Settings.h"
#include "platform/SettingsFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Dword(const char* name, int32_t value) {
    char line[64];
    std::snprintf(line, sizeof line, "\"%s\"=dword:%08x", name, static_cast<uint32_t>(value));
    return line;
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/octavane-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Dir = pattern;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        OldXdg = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
        ResetSettings();
    }
    void TearDown() override {
        if (OldXdg) {
            ::setenv("XDG_CONFIG_HOME", OldXdg->c_str(), 1);
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
    std::array<int32_t, 5> Values() const { return {FogEnable, BoardR, BoardG, BoardB, ShowMoves}; }
    fs::path Dir;
    std::optional<std::string> OldXdg;
};

TEST_F(SettingsTest, EveryValueSurvivesARoundTripAndTheFirstRunWritesAllFive) {
    LoadSettings();
    EXPECT_EQ(Values(), (std::array<int32_t, 5>{0, 0, 7, 7, 0}));
    EXPECT_FALSE(fs::exists(File()));
    for (const std::array<int32_t, 5> values :
         {std::array<int32_t, 5>{0, 0, 7, 7, 0}, {1, 10, 3, 0, 1}, {5, 2, 10, 9, 0}}) {
        SCOPED_TRACE(values[1]);
        FogEnable = values[0];
        BoardR = values[1];
        BoardG = values[2];
        BoardB = values[3];
        ShowMoves = values[4];
        ASSERT_TRUE(SaveSettings());
        const std::string text = ReadAll(File());
        for (const auto& [name, value] : {std::pair{"FogEnable", values[0]},
                                          {"BoardR", values[1]},
                                          {"BoardG", values[2]},
                                          {"BoardB", values[3]},
                                          {"ShowMoves", values[4]}}) {
            EXPECT_NE(text.find(Dword(name, value) + "\n"), std::string::npos) << text;
        }
        ResetSettings();
        LoadSettings();
        EXPECT_EQ(Values(), values);
    }
}

// What a file says, read: colour steps are brought into 0..10, fog keeps any value, a value
// missing or damaged keeps its default, and values of other keys are not ours.
TEST_F(SettingsTest, ValuesAreReadClampedAndDamageKeepsTheDefaults) {
    const std::pair<std::string, std::array<int32_t, 5>> rows[] = {
        {kKey + Dword("BoardR", -1) + "\n" + Dword("BoardG", 9999) + "\n" +
             Dword("BoardB", 0x7fffffff) + "\n" + Dword("FogEnable", 5) + "\n",
         {5, 0, 10, 10, 0}},
        {kKey + Dword("BoardR", INT32_MIN) + "\n" + Dword("BoardG", 11) + "\n" +
             Dword("BoardB", -7) + "\n",
         {0, 0, 10, 0, 0}},
        {"Windows Registry Editor Version 5.00\r\n\r\n" + kKey + Dword("BoardB", 2) + "\r\n",
         {0, 0, 7, 2, 0}},
        {kKey +
             "\"FogEnable\"=dword:0000001\xff\n\"BoardR\"=dword:000000001\n"
             "\"BoardG\"=hex:01,00,00,00\n" +
             Dword("BoardB", 3) + "\n\"BoardB\"=dword:\ngarbage\n\"BoardR=dword:00000004\n",
         {0, 0, 7, 3, 0}},
        {"[HKEY_CURRENT_USER\\Software\\Someone\\Else]\n" + Dword("BoardR", 9) + "\n" + kKey +
             Dword("BoardG", 1) + "\n" + Dword("ShowMoves", 1) + "\n",
         {0, 0, 1, 7, 1}},
    };
    for (const auto& [text, values] : rows) {
        SCOPED_TRACE(text);
        WriteFile(text);
        ResetSettings();
        LoadSettings();
        EXPECT_EQ(Values(), values);
    }
}

// What is not ours stays where it was, byte for byte: junk, comments, other values and keys,
// the encoding and the line ending the file came in; ours change in their own lines.
TEST_F(SettingsTest, SaveChangesOnlyOurLinesInTheFileAsItCame) {
    std::string junk(4096, '\0');
    for (size_t i = 0; i < junk.size(); ++i) {
        junk[i] = char(i * 131 + 7);
    }
    WriteFile(junk);
    LoadSettings();
    EXPECT_EQ(BoardG, 7);
    BoardR = 4;
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadAll(File()).substr(0, junk.size()), junk);
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(BoardR, 4);

    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n; mine\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\r\n"
                             "\"Volume\"=dword:0000000a\r\n";
    const std::string other = "\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"X\"=\"y\"\r\n";
    const auto utf16 = [](const std::string& text) { // as the Windows registry editor exports
        std::string out = "\xFF\xFE";
        for (const char c : text) {
            out += c;
            out += '\0';
        }
        return out;
    };
    WriteFile(utf16(head + Dword("BoardR", 3) + "\r\n" + other));
    LoadSettings();
    EXPECT_EQ(BoardR, 3);
    BoardR = 9;
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadAll(File()), utf16(head + Dword("BoardR", 9) + "\r\n" + Dword("FogEnable", 0) +
                                     "\r\n" + Dword("BoardG", 7) + "\r\n" + Dword("BoardB", 7) +
                                     "\r\n" + Dword("ShowMoves", 0) + "\r\n" + other));
}

// A file that is there but cannot be read is never replaced by the first-run settings, and a
// place where nothing can be written fails the save without losing the values.
TEST_F(SettingsTest, WhatCannotBeReadOrWrittenIsLeftAlone) {
    const std::string stored = kKey + Dword("BoardR", 3) + "\n";
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"no permission",
         [&] {
             WriteFile(stored);
             fs::permissions(File(), fs::perms::none);
         }},
        {"a directory", [&] { fs::create_directories(File() / "inside"); }},
        {"far too large", [&] { WriteFile(stored + std::string(2 << 20, ';')); }},
        {"config home is a file", [&] { ::setenv("XDG_CONFIG_HOME", (Dir / "f").c_str(), 1); }},
    };
    for (const auto& [name, make] : rows) {
        SCOPED_TRACE(name);
        if (std::string(name) == "no permission" && ::geteuid() == 0) {
            continue; // root reads it anyway
        }
        ResetSettings();
        fs::remove_all(Dir / "Bellwick");
        std::ofstream(Dir / "f") << "x";
        make();
        const auto before = fs::status(File()).type();
        const uintmax_t size = fs::is_regular_file(File()) ? fs::file_size(File()) : 0;
        ::testing::internal::CaptureStderr();
        LoadSettings();
        EXPECT_EQ(BoardR, 0);
        BoardR = 5;
        EXPECT_FALSE(SaveSettings());
        EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(BoardR, 5);
        EXPECT_EQ(fs::status(File()).type(), before);
        if (before == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(File()), size);
            fs::permissions(File(), fs::perms::owner_all, fs::perm_options::add);
        }
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    }
}

// A linked settings file is written through to its target, and the link stays a link.
TEST_F(SettingsTest, ALinkIsWrittenThroughToItsTarget) {
    const fs::path elsewhere = Dir / "dotfiles";
    const std::tuple<const char*, fs::path, fs::path> rows[] = {
        {"absolute", elsewhere / "a.reg", elsewhere / "a.reg"},
        {"relative", "../../dotfiles/b.reg", elsewhere / "b.reg"},
        {"to a link", "c-link.reg", elsewhere / "c.reg"},
        {"dangling", elsewhere / "new" / "d.reg", elsewhere / "new" / "d.reg"},
    };
    for (const auto& [name, linkTo, target] : rows) {
        SCOPED_TRACE(name);
        const bool dangling = std::string(name) == "dangling";
        ResetSettings();
        fs::remove_all(Dir / "Bellwick");
        fs::create_directories(File().parent_path());
        fs::create_directories(elsewhere);
        if (!dangling) {
            std::ofstream(target) << "; kept\n";
        }
        if (linkTo == "c-link.reg") {
            fs::create_symlink(target, File().parent_path() / "c-link.reg");
        }
        fs::create_symlink(linkTo, File());
        LoadSettings();
        BoardB = 1;
        ASSERT_TRUE(SaveSettings());
        EXPECT_TRUE(fs::is_symlink(File()));
        const std::string text = ReadAll(target);
        EXPECT_NE(text.find(Dword("BoardB", 1)), std::string::npos) << text;
        EXPECT_EQ(text.rfind("; kept\n", 0) == 0, !dangling);
    }
}

// Saving renames a complete new file over the old: a reader of the old one still reads all of
// it, and nothing else is left in the directory.
TEST_F(SettingsTest, SaveReplacesTheFileWhole) {
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    const std::string before = ReadAll(File());
    std::ifstream oldReader(File(), std::ios::binary);
    BoardR = 9;
    ASSERT_TRUE(SaveSettings());
    std::stringstream oldText;
    oldText << oldReader.rdbuf();
    EXPECT_EQ(oldText.str(), before);
    EXPECT_NE(ReadAll(File()), before);
    const auto entries = fs::directory_iterator(File().parent_path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

TEST_F(SettingsTest, PathFollowsXdgThenHome) {
    EXPECT_EQ(SettingsFilePath(), File().string());
    const char* home = std::getenv("HOME");
    ASSERT_TRUE(home && *home);
    for (const char* xdg : {"", "config", "./config", "~/.config"}) { // not absolute: ignored
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(SettingsFilePath(), std::string(home) + "/.config/Bellwick/Octavane/settings.reg")
            << xdg;
    }
}

// A process ended by exit() in the middle of the run (as Xlib ends it when the display goes)
// saves what was loaded, once: never before the settings were loaded, nor after the run's own
// last save.
TEST_F(SettingsTest, AnExitInTheMiddleOfTheRunSavesTheLoadedSettings) {
    const std::tuple<const char*, bool, bool, int> rows[] = {
        {"during the run", true, false, 6},
        {"after the last save", true, true, 0},
        {"before loading", false, false, -1},
    };
    for (const auto& [name, load, endFirst, expected] : rows) {
        SCOPED_TRACE(name);
        fs::remove_all(Dir / "Bellwick");
        EXPECT_EXIT(
            {
                if (load) {
                    LoadSettings();
                }
                SaveSettingsOnExit();
                if (endFirst) {
                    SaveSettingsAtEnd();
                }
                BoardR = 6;
                std::exit(1);
            },
            ::testing::ExitedWithCode(1), "");
        if (expected >= 0) {
            EXPECT_NE(ReadAll(File()).find(Dword("BoardR", expected)), std::string::npos);
        } else {
            EXPECT_FALSE(fs::exists(File()));
        }
    }
}

} // namespace
