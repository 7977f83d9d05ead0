// libFuzzer target: the settings file on arbitrary bytes. Whatever it accepts must come back
// unchanged after being written out and read again; a document read and written without
// changes gives back the very bytes it was read from. And as the program saves: the bytes are
// the settings file, the settings are loaded from it, changed and saved; a file that does not
// open as a registry export is never changed, and any other is left holding each of the
// game's names at most once in the game's key, with the values saved.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "device/Settings.h"
#include "platform/settings/SettingsFile.h"

namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";
constexpr const char* kNames[] = {"FogEnable", "BoardR", "BoardG", "BoardB", "ShowMoves"};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The file's text as ASCII, one character per code unit (anything else as '?').
std::string AsAscii(std::string_view bytes) {
    const bool le = bytes.substr(0, 2) == "\xFF\xFE";
    const bool be = bytes.substr(0, 2) == "\xFE\xFF";
    if (!le && !be) {
        return std::string(bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0));
    }
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned unit = le ? uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8
                                 : uint8_t(bytes[i]) << 8 | uint8_t(bytes[i + 1]);
        text += unit < 0x80 ? char(unit) : '?';
    }
    return text;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i]))) {
            return false;
        }
    }
    return true;
}

bool OpensAsExport(std::string_view bytes) {
    const std::string text = AsAscii(bytes);
    const std::string_view first = Trim(std::string_view(text).substr(0, text.find('\n')));
    return first == "Windows Registry Editor Version 5.00" || first == "REGEDIT4";
}

// How many value lines of the game's key name `name`; the lines a value ending in a backslash
// goes on in are part of it.
int LinesOf(std::string_view bytes, std::string_view name) {
    std::istringstream lines(AsAscii(bytes));
    bool inKey = false;
    bool goesOn = false;
    int count = 0;
    for (std::string raw; std::getline(lines, raw);) {
        const std::string_view line = Trim(raw);
        const bool continued = goesOn;
        goesOn = !line.empty() && line.back() == '\\';
        if (continued) {
            continue;
        }
        if (!line.empty() && line.front() == '[') {
            inKey = line.back() == ']' && SameNoCase(line.substr(1, line.size() - 2), kKey);
            goesOn = false;
            continue;
        }
        const size_t close = line.size() > 1 && line[0] == '"' ? line.find('"', 1) : 0;
        const bool value = close > 1 && close != std::string_view::npos &&
                           Trim(line.substr(close + 1)).substr(0, 1) == "=" &&
                           line.substr(1, close - 1).find('\\') == std::string_view::npos;
        goesOn = goesOn && value;
        count += inKey && value && SameNoCase(line.substr(1, close - 1), name);
    }
    return count;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The text after the byte order mark, if there is one.
std::string_view AfterBom(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return bytes.substr(3);
    }
    const bool utf16 = bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
    return bytes.substr(utf16 ? 2 : 0);
}

// A file of our own in memory where there is a /dev/shm, so that the saves stay quick.
const std::string& FilePath() {
    static const std::string path = [] {
        std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        folder += "/octavane-fuzz-XXXXXX";
        Check(mkdtemp(folder.data()) != nullptr);
        return folder + "/settings.reg";
    }();
    return path;
}

void CheckTheSave(std::string_view bytes) {
    const std::string& path = FilePath();
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), std::streamsize(bytes.size()));
    }
    ResetSettings();
    LoadSettingsFrom(path);
    const int32_t saved[] = {int32_t(bytes.size()), 1, 2, 3, -4};
    int32_t* settings[] = {&FogEnable, &BoardR, &BoardG, &BoardB, &ShowMoves};
    for (int i = 0; i < 5; ++i) {
        *settings[i] = saved[i];
    }
    // An empty file is taken as a new one.
    const bool ours = AfterBom(bytes).empty() || OpensAsExport(bytes);
    Check(SaveSettings() == ours);
    const std::string after = ReadAll(path);
    if (!ours) {
        Check(after == bytes);
        return;
    }
    const TRegValues values = ParseRegText(after, kKey);
    for (int i = 0; i < 5; ++i) {
        Check(LinesOf(after, kNames[i]) <= 1);
        const uint32_t* back = values.Find(kNames[i]);
        Check(back && *back == uint32_t(saved[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TRegValues values = ParseRegText(bytes, kKey);
    const TRegValues again = ParseRegText(FormatRegText(kKey, values), kKey);
    Check(again.Size() == values.Size());
    for (const auto& [name, value] : values) {
        const uint32_t* back = again.Find(name);
        Check(back && *back == value);
    }

    TRegDocument document = TRegDocument::FromBytes(bytes);
    Check(document.ToBytes() == bytes);

    CheckTheSave(bytes);
    return 0;
}
