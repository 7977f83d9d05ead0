// libFuzzer target: the settings file on arbitrary bytes. Whatever it accepts must come back
// unchanged after being written out and read again; a document read and written without
// changes gives back the very bytes it was read from. And as the program saves: the bytes are
// the settings file, the settings are loaded from it, changed and saved; a file that is neither
// empty nor a registry export is never changed, any other holds the values saved, and a second
// save changes nothing.

#include <cstddef>
#include <cstdint>
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

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string ReadAll(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
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

void CheckTheSave(std::string_view bytes, const TRegDocument& document) {
    const std::string& path = FilePath();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
    ResetSettings();
    LoadSettingsFrom(path);
    const char* names[] = {"FogEnable", "BoardR", "BoardG", "BoardB", "ShowMoves"};
    int32_t* settings[] = {&FogEnable, &BoardR, &BoardG, &BoardB, &ShowMoves};
    const int32_t saved[] = {int32_t(bytes.size()), 1, 2, 3, -4};
    for (int i = 0; i < 5; ++i) {
        *settings[i] = saved[i];
    }
    const bool ours = document.IsEmpty() || document.IsExport();
    Check(SaveSettings() == ours);
    const std::string after = ReadAll(path);
    if (!ours) {
        Check(after == bytes);
        return;
    }
    const TRegValues values = ParseRegText(after, kKey);
    for (int i = 0; i < 5; ++i) {
        const uint32_t* back = values.Find(names[i]);
        Check(back && *back == uint32_t(saved[i]));
    }
    Check(SaveSettings() && ReadAll(path) == after);
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
    const TRegDocument document = TRegDocument::FromBytes(bytes);
    Check(document.ToBytes() == bytes);
    CheckTheSave(bytes, document);
    return 0;
}
