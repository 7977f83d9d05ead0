// libFuzzer target: the settings file on arbitrary bytes. Accepted values come back unchanged
// through a write and a read; a document unchanged gives back its very bytes. Then as the
// program saves: a file neither empty nor a registry export is never changed, any other holds
// the values saved, and a second save changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

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

const std::string& FilePath() {
    static const std::string path = [] {
        std::string folder = "/tmp/octavane-fuzz-XXXXXX";
        Check(mkdtemp(folder.data()) != nullptr);
        return folder + "/settings.reg";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TRegValues values = ParseRegText(bytes, kKey);
    const TRegValues again = ParseRegText(FormatRegText(kKey, values), kKey);
    Check(again.Size() == values.Size());
    for (const auto& [name, value] : values) {
        Check(again.Find(name) && *again.Find(name) == value);
    }
    const TRegDocument document = TRegDocument::FromBytes(bytes);
    Check(document.ToBytes() == bytes);

    std::ofstream(FilePath(), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(size));
    ResetSettings();
    LoadSettingsFrom(FilePath());
    FogEnable = int32_t(size);
    ShowMoves = -4;
    const bool ours = document.IsEmpty() || document.IsExport();
    Check(SaveSettings() == ours);
    const std::string after = ReadAll(FilePath());
    const TRegValues saved = ParseRegText(after, kKey);
    Check(ours ? saved.Find("FogEnable") && *saved.Find("FogEnable") == size &&
                     saved.Find("ShowMoves") && *saved.Find("ShowMoves") == uint32_t(-4)
               : after == bytes);
    Check(!ours || (SaveSettings() && ReadAll(FilePath()) == after));
    return 0;
}
