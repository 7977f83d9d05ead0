#include "platform/settings/SettingsFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";

// What it writes reads back, and what people write; a malformed line is passed over.
TEST(RegText, ReadsWhatItWritesAndWhatPeopleWrite) {
    TRegValues values;
    values.Set("FogEnable", 1);
    values.Set("BoardR", 0xFFFFFFFFu);
    values.Set("BoardG", 0xFEDCBA98u);
    values.Set("fogenable", 0xAF);
    EXPECT_EQ(values.begin()->Name, "FogEnable");
    const TRegValues back = ParseRegText(FormatRegText(kKey, values), kKey);
    ASSERT_EQ(back.Size(), 3u);
    for (const auto& [name, value] : values) {
        ASSERT_NE(back.Find(name), nullptr) << name;
        EXPECT_EQ(*back.Find(name), value) << name;
    }
    const TRegValues typed =
        ParseRegText("; written by hand\r\n"
                     "  [hkey_current_user\\software\\bellwick\\octavane]  \r\n"
                     "\"boardr\" = DWORD:0000000A\r\n"
                     "\"BoardB\"=dword:00000004\n"
                     "[Other]\n\"BoardG\"=dword:00000002\n",
                     kKey);
    ASSERT_EQ(typed.Size(), 2u);
    EXPECT_EQ(*typed.Find("BoardR"), 10u);
    EXPECT_EQ(*typed.Find("BoardB"), 4u);
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

std::string Utf16(std::string_view text, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : text) {
        out += little ? std::string{c, '\0'} : std::string{'\0', c};
    }
    return out;
}

// In each encoding, each of our names is set where it first stands and all else stays.
TEST(RegDocument, ReadsEachEncodingAndSetsEachNameOnceInItsPlace) {
    const std::string key = std::string("[") + kKey + "]\n";
    const std::string head = "Windows Registry Editor Version 5.00\n\n; my colours\n" + key;
    const std::string other = "[HKEY_CURRENT_USER\\Software\\Other]\n\"BoardB\"=dword:00000001\n";
    const std::string continued = "\"Long\"=hex:01,02,\\\n  \"FogEnable\"=dword:00000009\n";
    const std::string lf = head + "\"boardg\"=dword:-1\n\"BoardB\"=hex:01\n" + continued +
                           "\"FogEnable\"=hex:01,00,\\\n  00,00\n; mine\n"
                           "\"BoardG\"=dword:00000003\n\n" +
                           other + key + "\"BoardB\"=dword:00000002\n";
    const std::string lfAfter = head + "\"boardg\"=dword:00000007\n\"BoardB\"=dword:00000008\n" +
                                continued +
                                "\"FogEnable\"=dword:00000001\n; mine\n"
                                "\"BoardR\"=dword:0000000a\n\n" +
                                other + key;
    const auto crlf = [](const std::string& text) {
        return std::regex_replace(text, std::regex("\n"), "\r\n");
    };
    TRegValues values;
    values.Set("BoardR", 10);
    values.Set("BoardG", 7);
    values.Set("BoardB", 8);
    values.Set("FogEnable", 1);
    const std::string ours = "\"BoardR\"=dword:0000000a\n\"BoardG\"=dword:00000007\n"
                             "\"BoardB\"=dword:00000008\n\"FogEnable\"=dword:00000001\n";
    const struct {
        const char* Name;
        std::string Before, After;
        TRegEncoding Encoding;
        bool Damaged = true; // the file above
    } rows[] = {
        {"utf-8", lf, lfAfter, TRegEncoding::Utf8},
        {"utf-8 bom", "\xEF\xBB\xBF" + lf, "\xEF\xBB\xBF" + lfAfter, TRegEncoding::Utf8Bom},
        {"utf-16 le, crlf", Utf16(crlf(lf), true), Utf16(crlf(lfAfter), true),
         TRegEncoding::Utf16Le},
        {"utf-16 be", Utf16(lf, false), Utf16(lfAfter, false), TRegEncoding::Utf16Be},
        {"no section", ";", ";\n\n" + key + ours, TRegEncoding::Utf8, false},
        // Added before a value going on at the section's end, not into it.
        {"ends going on", "REGEDIT4\n" + key + "\"W\"=hex:01,\\\n  02,\\",
         "REGEDIT4\n" + key + ours + "\"W\"=hex:01,\\\n  02,\\", TRegEncoding::Utf8, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TRegDocument document = TRegDocument::FromBytes(row.Before);
        EXPECT_EQ(document.Encoding(), row.Encoding);
        EXPECT_EQ(document.IsExport(), row.Before != ";");
        EXPECT_FALSE(document.IsEmpty());
        EXPECT_EQ(document.ToBytes(), row.Before);
        const TRegValues read = document.Values(kKey);
        EXPECT_TRUE(!row.Damaged ||
                    (read.Size() == 2 && *read.Find("BoardG") == 3 && *read.Find("BoardB") == 2))
            << "the continued line is no value of its own";
        document.Set(kKey, values);
        EXPECT_EQ(document.ToBytes(), row.After);
        document.Set(kKey, values);
        EXPECT_EQ(document.ToBytes(), row.After) << "a second save changes nothing";
    }
    for (const std::string& text :
         {"; Windows Registry Editor Version 5.00\n" + key,
          "\nWindows Registry Editor Version 5.00\n" + key,
          "Windows Registry Editor Version 5.0\n" + key,
          Utf16("Windows Registry Editor Version 5.00\n", true).substr(2)}) {
        EXPECT_FALSE(TRegDocument::FromBytes(text).IsExport()) << text;
    }
    EXPECT_TRUE(TRegDocument::FromBytes("").IsEmpty() &&
                TRegDocument::FromBytes("\xFF\xFE").IsEmpty());
}

// A save replaces the file through its links, keeping its permissions; a loop is refused.
TEST(RegFile, ASaveReplacesTheTargetWholeAndKeepsTheLinks) {
    namespace fs = std::filesystem;
    const fs::path dir = MakeTempFolder("octavane-regfile");
    ASSERT_FALSE(dir.empty());
    std::string error;
    fs::create_directories(dir / "real");
    std::ofstream(dir / "real" / "settings.reg") << std::string(64, ';');
    fs::permissions(dir / "real" / "settings.reg", fs::perms(0600));
    fs::create_symlink("real/settings.reg", dir / "middle");
    fs::create_symlink(dir / "middle", dir / "settings.reg");
    ASSERT_TRUE(WriteRegFile((dir / "settings.reg").string(), "new", error)) << error;
    EXPECT_EQ(ReadFileBytes(dir / "real" / "settings.reg"), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "settings.reg") && fs::is_symlink(dir / "middle"));
    EXPECT_EQ(fs::status(dir / "real" / "settings.reg").permissions(), fs::perms(0600));

    ASSERT_TRUE(WriteRegFile((dir / "a" / "b" / "settings.reg").string(), "deep", error));
    EXPECT_EQ(ReadFileBytes(dir / "a" / "b" / "settings.reg"), "deep");

    fs::create_symlink(dir / "loop2", dir / "loop1");
    fs::create_symlink(dir / "loop1", dir / "loop2");
    EXPECT_FALSE(WriteRegFile((dir / "loop1").string(), "x", error));
    EXPECT_TRUE(fs::is_symlink(dir / "loop1") && fs::is_symlink(dir / "loop2"));

    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir), {}), 9)
        << "only the files, links and folders made here, no temporary file";
    fs::remove_all(dir);
}

} // namespace
