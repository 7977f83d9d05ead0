// libFuzzer target: the settings file on arbitrary bytes. Accepted values come back unchanged
// through a write and a read; a document read and left unchanged gives back its very bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/settings/SettingsFile.h"

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TRegValues values = ParseRegText(bytes, kKey);
    const TRegValues again = ParseRegText(FormatRegText(kKey, values), kKey);
    bool kept = again.Size() == values.Size() && TRegDocument::FromBytes(bytes).ToBytes() == bytes;
    for (const auto& [name, value] : values) {
        kept = kept && again.Find(name) && *again.Find(name) == value;
    }
    if (!kept) {
        std::abort();
    }
    return 0;
}
