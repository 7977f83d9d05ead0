#include <gtest/gtest.h>

#include "platform/SettingsFile.h"

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";

TEST(RegText, FormatThenParseGivesTheSameValues) {
    TRegValues values;
    values.Set("FogEnable", 1);
    values.Set("BoardR", 0xFFFFFFFFu);
    values.Set("BoardG", 0);
    const TRegValues back = ParseRegText(FormatRegText(kKey, values), kKey);
    ASSERT_EQ(back.Size(), 3u);
    EXPECT_EQ(*back.Find("FogEnable"), 1u);
    EXPECT_EQ(*back.Find("BoardR"), 0xFFFFFFFFu);
    EXPECT_EQ(*back.Find("BoardG"), 0u);
}

TEST(RegText, KeyAndNamesIgnoreCaseAndHexMayBeUpper) {
    const TRegValues values = ParseRegText("[hkey_current_user\\software\\bellwick\\octavane]\n"
                                           "\"boardr\"=DWORD:0000000A\n",
                                           kKey);
    ASSERT_NE(values.Find("BoardR"), nullptr);
    EXPECT_EQ(*values.Find("BoardR"), 10u);
}

TEST(RegText, ToleratesSpacesCommentsAndCarriageReturns) {
    const TRegValues values =
        ParseRegText("; written by hand\r\n"
                     "  [HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]  \r\n"
                     "\"BoardB\" = dword:00000004\r\n",
                     kKey);
    ASSERT_NE(values.Find("BoardB"), nullptr);
    EXPECT_EQ(*values.Find("BoardB"), 4u);
}

TEST(RegText, RejectsEveryMalformedLine) {
    const char* bad[] = {
        "\"A\"=dword:",    "\"A\"=dword:123456789", "\"A\"=dword:12g4", "\"A\"=dword:-1",
        "\"A\"=sz:\"x\"",  "\"A\"dword:1",          "A=dword:1",        "\"\"=dword:1",
        "\"A\\\"=dword:1", "\"A\"=dword:0x10",      "\"A\"=dword:1 2",  "[HKEY_CURRENT_USER",
    };
    for (const char* line : bad) {
        const std::string text = std::string("[") + kKey + "]\n" + line + "\n";
        EXPECT_EQ(ParseRegText(text, kKey).Size(), 0u) << line;
    }
}

TEST(RegText, LaterSectionEndsOurs) {
    const TRegValues values =
        ParseRegText(std::string("[") + kKey + "]\n\"A\"=dword:1\n[Other]\n\"B\"=dword:2\n", kKey);
    EXPECT_NE(values.Find("A"), nullptr);
    EXPECT_EQ(values.Find("B"), nullptr);
}

TEST(RegText, SetKeepsFirstOrderAndReplacesByName) {
    TRegValues values;
    values.Set("B", 1);
    values.Set("A", 2);
    values.Set("b", 3);
    ASSERT_EQ(values.Size(), 2u);
    EXPECT_EQ(values.begin()->Name, "B");
    EXPECT_EQ(values.begin()->Value, 3u);
}

TEST(RegFile, MissingFileReadsAsNothing) {
    TRegValues values;
    values.Set("Keep", 1);
    EXPECT_FALSE(ReadRegFile("/nonexistent/dir/settings.reg", kKey, values));
    EXPECT_EQ(values.Size(), 1u);
}

} // namespace
