#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "TestFiles.h"
#include "platform/sdl/FontLookup.h"

namespace fs = std::filesystem;

namespace {

const char* kJapanese = "\xE3\x83\x91\xE3\x82\xB9\xE3\x81\xAF Enter \xE3\x82\xAD\xE3\x83\xBC";

// The fonts folder beside the test program, where the build copies the zip's two faces.
fs::path Beside() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return fs::path(exe).parent_path() / "fonts";
}

// %WINDIR%\Fonts first, then the fonts folder beside the program. Without the Windows faces (Wine
// has none), the faces beside the program stand in; text a face cannot show goes to one that can,
// which is then not the face named. With the Windows faces there (here the shipped faces under
// their file names), they come first: for the Japanese hint the first Japanese face Windows has.
TEST(FontLookupTest, TheWindowsFacesComeFirstAndTheShippedOnesStandIn) {
    const fs::path windows = MakeTempFolder("octavane-windir");
    ASSERT_TRUE(!windows.empty() && fs::create_directories(windows / "Fonts"));
    SetEnvironmentVariableW(L"WINDIR", windows.wstring().c_str()); // each test runs on its own
    const auto expect = [](const TFontFile& file, const fs::path& path, bool named) {
        EXPECT_TRUE(fs::equivalent(std::u8string(file.Path.begin(), file.Path.end()), path))
            << file.Path;
        EXPECT_TRUE(file.CoversText && file.Named == named) << file.Path;
    };
    const char* gothic = "\xEF\xBC\xAD\xEF\xBC\xB3 P\xE3\x82\xB4\xE3\x82\xB7\xE3\x83"
                         "\x83\xE3\x82\xAF"; // "ＭＳ Pゴシック"
    TFontLookup shipped;
    expect(shipped.Find("Times New Roman", "Octavane"), Beside() / "LiberationSerif-Regular.ttf",
           true);
    expect(shipped.Find("MS PGothic", kJapanese), Beside() / "ipagp.ttf", true);
    expect(shipped.Find("Times New Roman", kJapanese), Beside() / "ipagp.ttf", false);

    fs::copy_file(Beside() / "LiberationSerif-Regular.ttf", windows / "Fonts" / "times.ttf");
    fs::copy_file(Beside() / "ipagp.ttf", windows / "Fonts" / "meiryo.ttc");
    TFontLookup installed;
    const TFontFile serif = installed.Find("Times New Roman", "Octavane");
    expect(serif, windows / "Fonts" / "times.ttf", true);
    EXPECT_EQ(serif.Family, "Times New Roman");
    expect(installed.Find(gothic, kJapanese), windows / "Fonts" / "meiryo.ttc", true);
    fs::remove_all(windows);
}

} // namespace
