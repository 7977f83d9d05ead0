#include "platform/sdl/FontLookup.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <strings.h>

// The browser has no installed fonts to look through: the page's data file carries the faces
// the screens name, and this table says which Windows families each stands in for.

namespace {

struct TPackedFace {
    const char* Path;
    const char* Family;
    std::array<const char*, 3> StandsFor;
};

constexpr TPackedFace kPackedFaces[] = {
    {"/fonts/LiberationSerif-Regular.ttf",
     "Liberation Serif",
     {"Times New Roman", "Times", "serif"}},
    {"/fonts/ipagp.ttf", "IPAPGothic", {"MS PGothic", "MS Pゴシック", "sans-serif"}},
};

bool SameName(std::string_view a, const char* b) {
    return b != nullptr && a.size() == std::char_traits<char>::length(b) &&
           strncasecmp(a.data(), b, a.size()) == 0;
}

bool IsNamed(const TPackedFace& face, std::string_view requested, std::string_view narrow) {
    if (SameName(requested, face.Family) || SameName(narrow, face.Family)) {
        return true;
    }
    for (const char* name : face.StandsFor) {
        if (SameName(requested, name) || SameName(narrow, name)) {
            return true;
        }
    }
    return false;
}

// Whether the face at `path` exists and has a glyph for every character of `text` above the
// space; false for a file that is missing or not a font.
bool Covers(FT_Library library, const char* path, std::string_view text, bool& exists) {
    FT_Face face = nullptr;
    exists = FT_New_Face(library, path, 0, &face) == 0;
    if (!exists) {
        return false;
    }
    bool all = true;
    for (size_t i = 0; i < text.size() && all;) {
        const char32_t c = NextCodePoint(text, i);
        all = c <= 0x20 || FT_Get_Char_Index(face, c) != 0;
    }
    FT_Done_Face(face);
    return all;
}

} // namespace

TFontLookup::TFontLookup() = default;

TFontLookup::~TFontLookup() = default;

TFontFile TFontLookup::Find(std::string_view family, std::string_view text) const {
    TFontFile found;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return found;
    }
    const std::string narrow = NarrowFamilyName(family);
    // Two rounds: the faces named (or standing in for the name) first, then any other.
    for (const bool namedRound : {true, false}) {
        for (const TPackedFace& face : kPackedFaces) {
            if (IsNamed(face, family, narrow) != namedRound) {
                continue;
            }
            bool exists = false;
            const bool covers = Covers(library, face.Path, text, exists);
            if (exists && (found.Path.empty() || (covers && !found.CoversText))) {
                found.Path = face.Path;
                found.Index = 0;
                found.CoversText = covers;
                found.Named = namedRound;
                found.Family = face.Family;
            }
            if (found.CoversText) {
                FT_Done_FreeType(library);
                return found;
            }
        }
    }
    FT_Done_FreeType(library);
    return found;
}
