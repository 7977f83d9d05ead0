#include "platform/sdl/FontLookup.h"

// Windows has no fontconfig: the faces the game names are looked up by their known file names,
// first in the Windows fonts folder, then in the `fonts` folder shipped beside the program
// (Liberation Serif and IPA PGothic, free twins of Times New Roman and MS PGothic).

#include <SDL.h>
#include <SDL_ttf.h>
#include <windows.h>

#include <array>
#include <filesystem>
#include <vector>

#include "platform/win/WideText.h"

namespace {

struct TFace {
    const char* File;
    int Index; // inside a .ttc collection
    const char* Family;
};

// A family and the faces that show it, most faithful first: the Windows face itself, then the
// shipped twin. Several Japanese faces, since which of them a Windows installation has varies.
struct TFamily {
    const char* Name;
    std::array<TFace, 5> Faces;
};

constexpr TFace kLiberationSerif = {"LiberationSerif-Regular.ttf", 0, "Liberation Serif"};
constexpr TFace kIpaPGothic = {"ipagp.ttf", 0, "IPAPGothic"};
constexpr TFace kNone = {nullptr, 0, nullptr};

constexpr TFamily kFamilies[] = {
    {"Times New Roman",
     {{{"times.ttf", 0, "Times New Roman"}, kLiberationSerif, kNone, kNone, kNone}}},
    {"Arial", {{{"arial.ttf", 0, "Arial"}, kNone, kNone, kNone, kNone}}},
    {"Courier New", {{{"cour.ttf", 0, "Courier New"}, kNone, kNone, kNone, kNone}}},
    {"MS PGothic",
     {{{"msgothic.ttc", 1, "MS PGothic"},
       {"YuGothM.ttc", 0, "Yu Gothic"},
       {"meiryo.ttc", 0, "Meiryo"},
       kIpaPGothic,
       kNone}}},
    {"MS Gothic",
     {{{"msgothic.ttc", 0, "MS Gothic"},
       {"YuGothM.ttc", 0, "Yu Gothic"},
       {"meiryo.ttc", 0, "Meiryo"},
       kIpaPGothic,
       kNone}}},
};
constexpr const char* kJapaneseAliases[][2] = {
    {"MS Pゴシック", "MS PGothic"},
    {"MS ゴシック", "MS Gothic"},
};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(WideFromUtf8(a).c_str(), -1, WideFromUtf8(b).c_str(), -1, TRUE) ==
               CSTR_EQUAL;
}

// The folders to look in, the first choice first.
std::vector<std::filesystem::path> FontFolders() {
    std::vector<std::filesystem::path> folders;
    wchar_t windows[MAX_PATH];
    if (const DWORD n = GetEnvironmentVariableW(L"WINDIR", windows, MAX_PATH);
        n > 0 && n < MAX_PATH) {
        folders.push_back(std::filesystem::path(windows) / L"Fonts");
    } else {
        wchar_t buffer[MAX_PATH];
        const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            folders.push_back(std::filesystem::path(buffer) / L"Fonts");
        }
    }
    if (char* base = SDL_GetBasePath()) {
        folders.push_back(std::filesystem::path(WideFromUtf8(base)) / L"fonts");
        SDL_free(base);
    }
    return folders;
}

// Whether the face has a glyph for every character of the text beyond the space.
bool Covers(const std::string& path, int index, std::string_view text) {
    if (text.empty()) {
        return true;
    }
    const bool started = TTF_WasInit() == 0 && TTF_Init() == 0;
    TTF_Font* font = TTF_OpenFontIndex(path.c_str(), 12, index);
    bool covers = font != nullptr;
    for (size_t i = 0; covers && i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        covers = c <= 0x20 || TTF_GlyphIsProvided32(font, c) != 0;
    }
    if (font) {
        TTF_CloseFont(font);
    }
    if (started) {
        TTF_Quit();
    }
    return covers;
}

} // namespace

TFontLookup::TFontLookup() = default;
TFontLookup::~TFontLookup() = default;

TFontFile TFontLookup::Find(std::string_view family, std::string_view text) const {
    std::string narrow = NarrowFamilyName(family);
    for (const auto& [alias, name] : kJapaneseAliases) {
        if (narrow == alias) {
            narrow = name;
        }
    }
    // The named family's faces first, then every other face this lookup knows, as a last resort
    // for text the named ones cannot show.
    std::vector<std::pair<TFace, bool>> faces;
    for (const TFamily& f : kFamilies) {
        if (SameName(narrow, f.Name)) {
            for (const TFace& face : f.Faces) {
                if (face.File) {
                    faces.emplace_back(face, true);
                }
            }
        }
    }
    for (const TFamily& f : kFamilies) {
        for (const TFace& face : f.Faces) {
            if (face.File) {
                faces.emplace_back(face, false);
            }
        }
    }
    TFontFile found;
    for (const auto& [face, named] : faces) {
        for (const std::filesystem::path& folder : FontFolders()) {
            const std::filesystem::path file = folder / WideFromUtf8(face.File);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(file, ec)) {
                continue;
            }
            const std::string path = Utf8FromWide(file.wstring());
            const bool covers = Covers(path, face.Index, text);
            if (found.Path.empty() || (covers && !found.CoversText)) {
                found = {path, face.Index, covers, named, face.Family};
            }
            if (found.CoversText) {
                return found;
            }
        }
    }
    return found;
}
