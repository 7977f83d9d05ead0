#pragma once

#include <string>
#include <string_view>

// Finds installed font files with fontconfig, the way a desktop substitutes faces: by family
// name first (with the usual metric twins and CJK equivalents of Windows faces), and by the
// characters that have to be shown, so that a line of Japanese text never resolves to a face
// without kana. Only scalable faces are taken: text is drawn at any height. When neither the
// face nor a stand-in is installed, any scalable face will do.
//
// Each lookup reads the fontconfig configuration when it is made (FONTCONFIG_FILE and the
// rest, as fontconfig reads them).

struct TFontFile {
    std::string Path;
    int Index = 0; // face index inside a collection file
    bool CoversText = false;
    // The face asked for or one of its usual stand-ins; false when fontconfig could offer only
    // some other face.
    bool Named = false;
    std::string Family; // of the face found
};

class TFontLookup {
  public:
    TFontLookup();
    ~TFontLookup();
    TFontLookup(const TFontLookup&) = delete;
    TFontLookup& operator=(const TFontLookup&) = delete;

    // The best installed face for the UTF-8 family name that has every character of the UTF-8
    // text (an empty text asks only for the family). Path is empty when no scalable face is
    // installed at all.
    TFontFile Find(std::string_view family, std::string_view text) const;

  private:
    // fontconfig's own tag for FcConfig, declared here so that its header stays out of ours.
    struct _FcConfig* Config = nullptr; // NOLINT(bugprone-reserved-identifier)
};

// Decodes one UTF-8 sequence at `text[i]`, advancing i; malformed bytes give U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& i);

// The family name with full-width Latin letters, digits and spaces made plain ("ＭＳ" -> "MS").
std::string NarrowFamilyName(std::string_view family);
