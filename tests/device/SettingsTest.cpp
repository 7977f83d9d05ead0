#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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

TEST_F(SettingsTest, FirstRunHasDefaultsAndWritesAllFiveAtSave) {
    LoadSettings();
    EXPECT_EQ(FogEnable, 0);
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 7);
    EXPECT_EQ(BoardB, 7);
    EXPECT_EQ(ShowMoves, 0);
    EXPECT_FALSE(fs::exists(File()));
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadAll(File()), "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
                               "\"FogEnable\"=dword:00000000\n"
                               "\"BoardR\"=dword:00000000\n"
                               "\"BoardG\"=dword:00000007\n"
                               "\"BoardB\"=dword:00000007\n"
                               "\"ShowMoves\"=dword:00000000\n");
}

TEST_F(SettingsTest, SavedValuesComeBack) {
    LoadSettings();
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

TEST_F(SettingsTest, ColourStepsAreBroughtIntoRangeAndFogKeepsAnyValue) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"BoardR\"=dword:ffffffff\n"
              "\"BoardG\"=dword:0000270f\n"
              "\"BoardB\"=dword:7fffffff\n"
              "\"FogEnable\"=dword:00000005\n");
    LoadSettings();
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 10);
    EXPECT_EQ(BoardB, 10);
    EXPECT_EQ(FogEnable, 5);
    WriteFile("[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"BoardR\"=dword:80000000\n\"BoardG\"=dword:0000000b\n");
    LoadSettings();
    EXPECT_EQ(BoardR, 0);
    EXPECT_EQ(BoardG, 10);
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

TEST_F(SettingsTest, BinaryJunkFileKeepsDefaultsAndIsKeptAtSave) {
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
}

// What is not ours stays where it was: comments, other values, other keys; ours change in their
// own lines, and the file keeps the encoding and line ending it came in.
TEST_F(SettingsTest, SaveChangesOnlyOurLinesInTheFileAsItCame) {
    const std::string kept = "Windows Registry Editor Version 5.00\r\n\r\n; mine\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\r\n"
                             "\"Volume\"=dword:0000000a\r\n\"BoardR\"=dword:00000003\r\n";
    const std::string other = "\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"X\"=\"y\"\r\n";
    const std::string expected = "Windows Registry Editor Version 5.00\r\n\r\n; mine\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\r\n"
                                 "\"Volume\"=dword:0000000a\r\n\"BoardR\"=dword:00000009\r\n"
                                 "\"FogEnable\"=dword:00000000\r\n\"BoardG\"=dword:00000007\r\n"
                                 "\"BoardB\"=dword:00000007\r\n\"ShowMoves\"=dword:00000000\r\n" +
                                 other;
    // As the Windows registry editor exports: UTF-16, little-endian, with its mark.
    const auto utf16 = [](const std::string& text) {
        std::string out = "\xFF\xFE";
        for (const char c : text) {
            out += c;
            out += '\0';
        }
        return out;
    };
    WriteFile(utf16(kept + other));
    LoadSettings();
    EXPECT_EQ(BoardR, 3);
    BoardR = 9;
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadAll(File()), utf16(expected));
}

// A file that is there but cannot be read is never replaced by the first-run settings.
TEST_F(SettingsTest, AFileThatCannotBeReadIsLeftAlone) {
    const std::string stored = "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
                               "\"BoardR\"=dword:00000003\n";
    struct TRow {
        const char* Name;
        std::function<void()> Make;
    };
    const TRow rows[] = {
        {"no permission",
         [&] {
             WriteFile(stored);
             fs::permissions(File(), fs::perms::none);
         }},
        {"a directory", [&] { fs::create_directories(File() / "inside"); }},
        {"far too large", [&] { WriteFile(stored + std::string(2 << 20, ';')); }},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        if (std::string(row.Name) == "no permission" && ::geteuid() == 0) {
            continue; // root reads it anyway
        }
        ResetSettings();
        fs::remove_all(Dir);
        row.Make();
        const auto before = fs::status(File()).type();
        const uintmax_t size = fs::is_regular_file(File()) ? fs::file_size(File()) : 0;
        ::testing::internal::CaptureStderr();
        LoadSettings();
        EXPECT_EQ(BoardR, 0);
        BoardR = 5;
        EXPECT_FALSE(SaveSettings());
        EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(fs::status(File()).type(), before);
        if (before == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(File()), size);
        }
        fs::permissions(File(), fs::perms::owner_all, fs::perm_options::add);
    }
}

// A linked settings file is written through to its target, and the link stays a link.
TEST_F(SettingsTest, ALinkIsWrittenThroughToItsTarget) {
    const fs::path elsewhere = Dir / "dotfiles";
    struct TRow {
        const char* Name;
        fs::path LinkTo; // relative to the link's directory when relative
        fs::path Target;
    };
    const TRow rows[] = {
        {"absolute", elsewhere / "a.reg", elsewhere / "a.reg"},
        {"relative", "../../dotfiles/b.reg", elsewhere / "b.reg"},
        {"to a link", "c-link.reg", elsewhere / "c.reg"},
        {"dangling", elsewhere / "new" / "d.reg", elsewhere / "new" / "d.reg"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        ResetSettings();
        fs::remove_all(Dir);
        fs::create_directories(File().parent_path());
        fs::create_directories(elsewhere);
        if (row.Name != std::string("dangling")) {
            std::ofstream(row.Target) << "; kept\n";
        }
        if (row.LinkTo == "c-link.reg") {
            fs::create_symlink(row.Target, File().parent_path() / "c-link.reg");
        }
        fs::create_symlink(row.LinkTo, File());
        LoadSettings();
        BoardB = 1;
        ASSERT_TRUE(SaveSettings());
        EXPECT_TRUE(fs::is_symlink(File()));
        const std::string text = ReadAll(row.Target);
        EXPECT_NE(text.find("\"BoardB\"=dword:00000001"), std::string::npos) << text;
        if (row.Name != std::string("dangling")) {
            EXPECT_EQ(text.substr(0, 7), "; kept\n");
        }
    }
}

// Saving replaces the file by renaming a complete new one over it: a reader that opened the
// old file still reads all of it, and nothing else is left in the directory.
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
    LoadSettings();
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
    const char* home = std::getenv("HOME");
    ASSERT_TRUE(home && *home);
    // Empty or relative: ignored, as the XDG base directory rules say.
    for (const char* xdg : {"", "config", "./config", "~/.config"}) {
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(SettingsFilePath(), std::string(home) + "/.config/Bellwick/Octavane/settings.reg")
            << xdg;
    }
}

} // namespace

namespace {

// A process ended by exit() in the middle of the run (as Xlib ends it when the display goes)
// saves what was loaded, once: never before the settings were loaded, nor after the run's own
// last save.
TEST_F(SettingsTest, AnExitInTheMiddleOfTheRunSavesTheLoadedSettings) {
    struct TRow {
        const char* Name;
        bool Load;
        bool EndFirst;
        const char* Expected; // in the file afterwards; null: no file
    };
    const TRow rows[] = {
        {"during the run", true, false, "\"BoardR\"=dword:00000006"},
        {"after the last save", true, true, "\"BoardR\"=dword:00000000"},
        {"before loading", false, false, nullptr},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        fs::remove_all(Dir);
        EXPECT_EXIT(
            {
                if (row.Load) {
                    LoadSettings();
                }
                SaveSettingsOnExit();
                if (row.EndFirst) {
                    SaveSettingsAtEnd();
                }
                BoardR = 6;
                std::exit(1);
            },
            ::testing::ExitedWithCode(1), "");
        if (row.Expected) {
            EXPECT_NE(ReadAll(File()).find(row.Expected), std::string::npos) << ReadAll(File());
        } else {
            EXPECT_FALSE(fs::exists(File()));
        }
    }
}

} // namespace

namespace {

// The legal-move marks: a file from before them reads as off, and the choice comes back.
TEST_F(SettingsTest, ShowMovesReadsOffWhereMissingAndSurvivesARoundTrip) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
              "\"FogEnable\"=dword:00000001\n");
    LoadSettings();
    EXPECT_EQ(ShowMoves, 0);
    for (int32_t value : {1, 0}) {
        SCOPED_TRACE(value);
        ShowMoves = value;
        ASSERT_TRUE(SaveSettings());
        ShowMoves = 1 - value;
        LoadSettings();
        EXPECT_EQ(ShowMoves, value);
        EXPECT_EQ(FogEnable, 1);
    }
}

} // namespace
