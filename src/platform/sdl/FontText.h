#pragma once

#include "platform/Text.h"
#include "platform/sdl/FontLookup.h"
#include "platform/sdl/GlDevice.h"
#include "platform/sdl/GlShader.h"

#include "GlApi.h"
#include <SDL_ttf.h>

#include <string>
#include <vector>

// GDI-style text on the GL back buffer with SDL2_ttf. Fonts are sized by cell height (ascent
// plus descent) in logical pixels and rendered at the real pixel size of the letterboxed screen,
// so text is as sharp as the display allows and scales with the 3D.
//
// Caches, none of which changes what is drawn: resolved font files per face and text, opened
// TTF fonts per file and pixel height, and rendered lines as textures. A draw whose line is
// cached allocates nothing. A face that has to be replaced is said once on standard error;
// with no font at all that is said once too, and text is not drawn.
class TGlText final : public TTextDevice {
  public:
    explicit TGlText(TGlScreen& screen);
    ~TGlText() override;
    TGlText(const TGlText&) = delete;
    TGlText& operator=(const TGlText&) = delete;

    int32_t GetDC() override;
    int32_t ReleaseDC() override;
    HFONT CreateFont(const char* face, int height) override;
    void DeleteFont(HFONT font) override;
    void DrawText(HFONT font, const char* text, const RECT& rect, COLORREF color) override;

    // The file the face resolved to for this text (tests check the substitution).
    std::string ResolvedPath(const char* face, const char* text);

  private:
    struct TFontSlot {
        std::string Face;
        int Height = 0;
        bool Used = false;
    };
    struct TResolved {
        std::string Face;
        std::string Text; // empty: the face by name only
        TFontFile File;
    };
    struct TOpenFont {
        std::string Path;
        int Index = 0;
        int PixelHeight = 0;
        TTF_Font* Font = nullptr;
    };
    struct TLine {
        TTF_Font* Font = nullptr;
        std::string Text;
        GLuint Texture = 0;
        int Width = 0;
        int Height = 0;
        uint64_t LastUse = 0;
    };

    const TFontFile& Resolve(const std::string& face, const char* text);
    // Says once, on standard error, that a face had to be replaced, or that there is no font.
    void Report(const std::string& face, const TFontFile& file);
    TTF_Font* OpenFont(const TFontFile& file, int pixelHeight);
    const TLine* Line(TTF_Font* font, const char* text);
    void BeginDrawing();

    TGlScreen& Screen;
    TFontLookup Lookup;
    TGlTextProgram Program;
    GLuint VertexArray = 0;
    bool TtfReady = false;
    bool InDC = false;
    std::vector<TFontSlot> Fonts;
    std::vector<TResolved> Resolved;
    std::vector<TOpenFont> Open;
    std::vector<TLine> Lines;
    uint64_t UseCounter = 0;
    bool ReportedNoFont = false;
    bool ShaperWarm = false; // the first font opened readied the shaper
    std::vector<std::string> ReportedFaces;
    std::vector<std::string> Unusable; // font files that would not open
};
