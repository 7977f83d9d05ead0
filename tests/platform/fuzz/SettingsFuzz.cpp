// libFuzzer target: the settings file on arbitrary bytes. Whatever it accepts must come back
// unchanged after being written out and read again; a document read and written without
// changes gives back the very bytes it was read from.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/SettingsFile.h"

namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";

void Check(bool condition) {
    if (!condition) {
        std::abort();
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
    return 0;
}
