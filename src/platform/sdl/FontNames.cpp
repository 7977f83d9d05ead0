#include "platform/sdl/FontLookup.h"

char32_t NextCodePoint(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        code = (code << 6) | (byte(i++) & 0x3F);
    }
    return code;
}

std::string NarrowFamilyName(std::string_view family) {
    std::string narrow;
    for (size_t i = 0; i < family.size();) {
        const size_t start = i;
        const char32_t c = NextCodePoint(family, i);
        if (c >= 0xFF01 && c <= 0xFF5E) {
            narrow += static_cast<char>(c - 0xFF01 + 0x21);
        } else if (c == 0x3000) {
            narrow += ' ';
        } else {
            narrow.append(family.substr(start, i - start));
        }
    }
    return narrow;
}
