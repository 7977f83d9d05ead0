#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "TestFiles.h"
#include "platform/sdl/FontLookup.h"

// The font lookup on Windows: %WINDIR%\Fonts first, then the fonts folder beside the program,
// where the build copies the zip's two faces; a stand-in WINDIR holds copies of them under the
// Windows faces' file names.

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

// Without the Windows faces (Wine has none), the faces beside the program stand in; text a face
// cannot show goes to one that can, which is then not the face named. With the Windows faces
// there, they come first: Times New Roman, and for the Japanese hint the first Japanese face
// Windows has.
TEST_F(FontLookupTest, TheWindowsFacesComeFirstAndTheShippedOnesStandIn) {
    const auto expect = [](const TFontFile& file, const fs::path& path, bool named) {
        EXPECT_TRUE(fs::equivalent(FileOf(file), path)) << file.Path;
        EXPECT_TRUE(file.CoversText && file.Named == named) << file.Path;
    };
    const char* gothic = "\xEF\xBC\xAD\xEF\xBC\xB3 P\xE3\x82\xB4\xE3\x82\xB7\xE3\x83"
                         "\x83\xE3\x82\xAF"; // "ＭＳ Pゴシック"
    TFontLookup shipped;
    expect(shipped.Find("Times New Roman", "Octavane"), Beside() / "LiberationSerif-Regular.ttf",
           true);
    expect(shipped.Find("MS PGothic", kJapanese), Beside() / "ipagp.ttf", true);
    expect(shipped.Find("Times New Roman", kJapanese), Beside() / "ipagp.ttf", false);

    Install("LiberationSerif-Regular.ttf", "times.ttf");
    Install("ipagp.ttf", "meiryo.ttc");
    TFontLookup windows;
    const TFontFile serif = windows.Find("Times New Roman", "Octavane");
    expect(serif, Windows / "Fonts" / "times.ttf", true);
    EXPECT_EQ(serif.Family, "Times New Roman");
    expect(windows.Find(gothic, kJapanese), Windows / "Fonts" / "meiryo.ttc", true);
}

} // namespace
