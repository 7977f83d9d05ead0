#include "platform/sdl/FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// Windows faces and the installed faces that stand in for them, most faithful first. Liberation
// shares the metrics of the Microsoft core fonts; IPA's faces are the usual free gothic twins.
struct TSubstitute {
    const char* Family;
    std::array<const char*, 4> Candidates;
};

constexpr TSubstitute kSubstitutes[] = {
    {"Times New Roman", {"Liberation Serif", "Tinos", "Times", "serif"}},
    {"Arial", {"Liberation Sans", "Arimo", "Helvetica", "sans-serif"}},
    {"Courier New", {"Liberation Mono", "Cousine", "Courier", "monospace"}},
    {"MS PGothic", {"IPAPGothic", "VL PGothic", "Noto Sans CJK JP", "sans-serif"}},
    {"MS Pゴシック", {"IPAPGothic", "VL PGothic", "Noto Sans CJK JP", "sans-serif"}},
    {"MS Gothic", {"IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP", "monospace"}},
    {"MS ゴシック", {"IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP", "monospace"}},
    {"MS PMincho", {"IPAPMincho", "Noto Serif CJK JP", "serif", nullptr}},
    {"MS P明朝", {"IPAPMincho", "Noto Serif CJK JP", "serif", nullptr}},
};

bool SameName(std::string_view a, const char* b) {
    return a.size() == std::strlen(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

// Family names that fontconfig maps to whatever it has; a face found through them is not one
// that was named.
bool IsGeneric(const char* family) {
    return SameName(family, "serif") || SameName(family, "sans-serif") ||
           SameName(family, "monospace");
}

// Whether the font is of one of the families asked for by name.
bool OfFamily(FcPattern* font, const std::vector<std::string>& families, std::string& family) {
    FcChar8* name = nullptr;
    for (int k = 0; FcPatternGetString(font, FC_FAMILY, k, &name) == FcResultMatch; ++k) {
        const char* text = reinterpret_cast<const char*>(name);
        if (k == 0) {
            family = text;
        }
        for (const std::string& wanted : families) {
            if (SameName(wanted, text)) {
                family = text;
                return true;
            }
        }
    }
    return false;
}

void AddFamily(FcPattern* pattern, const char* family) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
}

} // namespace

namespace {
// fontconfig's library state is process-wide; the last lookup to go gives it back.
int LiveLookups = 0;
} // namespace

TFontLookup::TFontLookup() : Config(FcInitLoadConfigAndFonts()) {
    if (Config != nullptr) {
        ++LiveLookups;
    }
}

TFontLookup::~TFontLookup() {
    if (Config != nullptr) {
        FcConfigDestroy(Config);
        if (--LiveLookups == 0) {
            FcFini();
        }
    }
}

TFontFile TFontLookup::Find(std::string_view family, std::string_view text) const {
    TFontFile found;
    if (Config == nullptr) {
        return found;
    }
    FcPattern* pattern = FcPatternCreate();
    const std::string requested(family);
    const std::string narrow = NarrowFamilyName(family);
    std::vector<std::string> named = {requested, narrow};
    for (const TSubstitute& s : kSubstitutes) {
        if (SameName(narrow, s.Family)) {
            for (const char* candidate : s.Candidates) {
                if (candidate != nullptr && !IsGeneric(candidate)) {
                    named.emplace_back(candidate);
                }
            }
        }
    }
    AddFamily(pattern, requested.c_str());
    if (narrow != requested) {
        AddFamily(pattern, narrow.c_str());
    }
    for (const TSubstitute& s : kSubstitutes) {
        if (SameName(narrow, s.Family)) {
            for (const char* candidate : s.Candidates) {
                if (candidate != nullptr) {
                    AddFamily(pattern, candidate);
                }
            }
        }
    }

    FcCharSet* wanted = FcCharSetCreate();
    for (size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        if (c > 0x20) {
            FcCharSetAddChar(wanted, c);
        }
    }
    if (FcCharSetCount(wanted) > 0) {
        FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    }
    FcConfigSubstitute(Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(Config, pattern, FcFalse, nullptr, &result);
    if (sorted != nullptr) {
        // The sort ranks coverage of the characters above the family; still check it, and keep
        // the best-ranked face when none covers everything.
        for (int k = 0; k < sorted->nfont; ++k) {
            FcPattern* font = sorted->fonts[k];
            FcChar8* file = nullptr;
            FcBool scalable = FcFalse;
            if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch ||
                FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) {
                continue;
            }
            FcCharSet* has = nullptr;
            const bool covers = FcPatternGetCharSet(font, FC_CHARSET, 0, &has) == FcResultMatch &&
                                FcCharSetIsSubset(wanted, has);
            if (found.Path.empty() || (covers && !found.CoversText)) {
                found.Path = reinterpret_cast<const char*>(file);
                found.Index = 0;
                FcPatternGetInteger(font, FC_INDEX, 0, &found.Index);
                found.CoversText = covers;
                found.Named = OfFamily(font, named, found.Family);
            }
            if (found.CoversText) {
                break;
            }
        }
        FcFontSetDestroy(sorted);
    }
    FcCharSetDestroy(wanted);
    FcPatternDestroy(pattern);
    return found;
}
