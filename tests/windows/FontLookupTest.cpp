#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "TestFiles.h"
#include "platform/sdl/FontLookup.h"

// The font lookup on Windows: the Windows fonts folder (%WINDIR%\Fonts) first, then the fonts
// folder beside the program, where the build copies the two faces the zip ships. A stand-in
// Windows folder holds copies of those faces under the Windows faces' file names.

namespace fs = std::filesystem;

namespace {

const char* kJapanese = "\xE3\x83\x91\xE3\x82\xB9\xE3\x81\xAF Enter \xE3\x82\xAD\xE3\x83\xBC";

class FontLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Windows = MakeTempFolder("octavane-windir");
        ASSERT_FALSE(Windows.empty());
        fs::create_directories(Windows / "Fonts");
        wchar_t old[MAX_PATH];
        if (GetEnvironmentVariableW(L"WINDIR", old, MAX_PATH) > 0) {
            OldWindows = old;
        }
        SetEnvironmentVariableW(L"WINDIR", Windows.wstring().c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"WINDIR", OldWindows.empty() ? nullptr : OldWindows.c_str());
        fs::remove_all(Windows);
    }
    // Puts a shipped face into the stand-in Windows fonts folder under `name`.
    void Install(const char* shipped, const char* name) {
        fs::copy_file(Beside() / shipped, Windows / "Fonts" / name);
    }
    static fs::path Beside() {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        return fs::path(exe).parent_path() / "fonts";
    }
    static fs::path FileOf(const TFontFile& file) {
        return fs::path(std::u8string(file.Path.begin(), file.Path.end()));
    }
    fs::path Windows;
    std::wstring OldWindows;
};

// With the Windows faces there, they are taken: Times New Roman, and for the Japanese hint the
// first Japanese face Windows has.
TEST_F(FontLookupTest, TheWindowsFacesComeFirst) {
    Install("LiberationSerif-Regular.ttf", "times.ttf");
    Install("ipagp.ttf", "meiryo.ttc");
    TFontLookup lookup;
    const TFontFile serif = lookup.Find("Times New Roman", "Octavane");
    EXPECT_TRUE(fs::equivalent(FileOf(serif), Windows / "Fonts" / "times.ttf")) << serif.Path;
    EXPECT_TRUE(serif.Named && serif.CoversText);
    EXPECT_EQ(serif.Family, "Times New Roman");
    const TFontFile gothic =
        lookup.Find("\xEF\xBC\xAD\xEF\xBC\xB3 P\xE3\x82\xB4\xE3\x82\xB7\xE3\x83"
                    "\x83\xE3\x82\xAF",
                    kJapanese); // "ＭＳ Pゴシック"
    EXPECT_TRUE(fs::equivalent(FileOf(gothic), Windows / "Fonts" / "meiryo.ttc")) << gothic.Path;
    EXPECT_TRUE(gothic.Named && gothic.CoversText);
}

// Without them (Wine has none), the faces beside the program stand in; text a face cannot show
// goes to one that can, which is then not the face named.
TEST_F(FontLookupTest, TheShippedFacesStandIn) {
    TFontLookup lookup;
    const TFontFile serif = lookup.Find("Times New Roman", "");
    EXPECT_TRUE(fs::equivalent(FileOf(serif), Beside() / "LiberationSerif-Regular.ttf"))
        << serif.Path;
    EXPECT_TRUE(serif.Named);
    const TFontFile gothic = lookup.Find("MS PGothic", kJapanese);
    EXPECT_TRUE(fs::equivalent(FileOf(gothic), Beside() / "ipagp.ttf")) << gothic.Path;
    EXPECT_TRUE(gothic.Named && gothic.CoversText);
    const TFontFile mixed = lookup.Find("Times New Roman", kJapanese);
    EXPECT_TRUE(fs::equivalent(FileOf(mixed), Beside() / "ipagp.ttf")) << mixed.Path;
    EXPECT_TRUE(mixed.CoversText);
    EXPECT_FALSE(mixed.Named);
}

} // namespace
