// libFuzzer target: the settings file parser on arbitrary text. Whatever it accepts must come
// back unchanged after being written out and read again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TRegValues values = ParseRegText(text, kKey);
    const TRegValues again = ParseRegText(FormatRegText(kKey, values), kKey);
    if (again.Size() != values.Size()) {
        std::abort();
    }
    for (const auto& [name, value] : values) {
        const uint32_t* back = again.Find(name);
        if (!back || *back != value) {
            std::abort();
        }
    }
    return 0;
}
