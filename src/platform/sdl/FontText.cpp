#include "platform/sdl/FontText.h"

#include "platform/sdl/ShaperWarmUp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// A line that has not been drawn for this many other lines is the first to go.
constexpr size_t kMaxLines = 128;
constexpr size_t kMaxOpenFonts = 32;
constexpr size_t kMaxResolved = 256;
// Size at which a face's cell is measured before it is opened at the wanted cell height.
constexpr int kMeasurePoints = 100;

int32_t kNoBackBuffer = static_cast<int32_t>(0x887601C2u);

} // namespace

TGlText::TGlText(TGlScreen& screen) : Screen(screen) {
    TtfReady = TTF_Init() == 0;
    if (Program.Build()) {
        glGenVertexArrays(1, &VertexArray);
    }
}

TGlText::~TGlText() {
    for (TLine& line : Lines) {
        if (line.Texture != 0) {
            glDeleteTextures(1, &line.Texture);
        }
    }
    for (TOpenFont& open : Open) {
        TTF_CloseFont(open.Font);
    }
    if (VertexArray != 0) {
        glDeleteVertexArrays(1, &VertexArray);
    }
    if (TtfReady) {
        TTF_Quit();
    }
}

int32_t TGlText::GetDC() {
    if (!TtfReady || Program.Id() == 0 || VertexArray == 0) {
        return kNoBackBuffer;
    }
    InDC = true;
    BeginDrawing();
    return 0;
}

int32_t TGlText::ReleaseDC() {
    if (!InDC) {
        return kNoBackBuffer;
    }
    InDC = false;
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    Screen.RasterDirty = true;
    return 0;
}

void TGlText::BeginDrawing() {
    Screen.RasterDirty = true;
    glUseProgram(Program.Id());
    glBindVertexArray(VertexArray);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(Program.Sampler(), 0);
    glViewport(0, 0, Screen.DrawableWidth, Screen.DrawableHeight);
    glUniform2f(Program.WindowSize(), static_cast<float>(Screen.DrawableWidth),
                static_cast<float>(Screen.DrawableHeight));
}

HFONT TGlText::CreateFont(const char* face, int height) {
    if (!TtfReady || face == nullptr || height <= 0) {
        return 0;
    }
    size_t slot = 0;
    while (slot < Fonts.size() && Fonts[slot].Used) {
        ++slot;
    }
    if (slot == Fonts.size()) {
        Fonts.emplace_back();
    }
    TFontSlot& font = Fonts[slot];
    font.Face.assign(face);
    font.Height = height;
    font.Used = true;
    // A face that resolves to nothing at all cannot make a font.
    if (Resolve(font.Face, "").Path.empty()) {
        font.Used = false;
        return 0;
    }
    return static_cast<HFONT>(slot + 1);
}

void TGlText::DeleteFont(HFONT font) {
    if (font >= 1 && font <= Fonts.size()) {
        Fonts[font - 1].Used = false;
    }
}

const TFontFile& TGlText::Resolve(const std::string& face, const char* text) {
    for (const TResolved& r : Resolved) {
        if (r.Face == face && r.Text == text) {
            return r.File;
        }
    }
    if (Resolved.size() >= kMaxResolved) {
        Resolved.erase(Resolved.begin() + 1, Resolved.end());
    }
    Resolved.push_back({face, text, Lookup.Find(face, text)});
    Report(face, Resolved.back().File);
    return Resolved.back().File;
}

void TGlText::Report(const std::string& face, const TFontFile& file) {
    if (file.Path.empty()) {
        if (!ReportedNoFont) {
            std::fprintf(stderr, "Octavane: no usable font: fontconfig finds no scalable face; "
                                 "the game plays on without text\n");
            ReportedNoFont = true;
        }
        return;
    }
    if (file.Named ||
        std::find(ReportedFaces.begin(), ReportedFaces.end(), face) != ReportedFaces.end()) {
        return;
    }
    std::fprintf(stderr,
                 "Octavane: neither the face \"%s\" nor a stand-in for it is installed; "
                 "its text is drawn in %s (%s)\n",
                 face.c_str(), file.Family.c_str(), file.Path.c_str());
    ReportedFaces.push_back(face);
}

std::string TGlText::ResolvedPath(const char* face, const char* text) {
    return Resolve(face, text).Path;
}

TTF_Font* TGlText::OpenFont(const TFontFile& file, int pixelHeight) {
    for (const TOpenFont& open : Open) {
        if (open.PixelHeight == pixelHeight && open.Index == file.Index && open.Path == file.Path) {
            return open.Font;
        }
    }
    if (file.Path.empty() ||
        std::find(Unusable.begin(), Unusable.end(), file.Path) != Unusable.end()) {
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFontIndexDPI(file.Path.c_str(), kMeasurePoints, file.Index, 72, 72);
    if (font == nullptr) {
        // Said once and not tried again: the file will not get better while the game runs.
        std::fprintf(stderr,
                     "Octavane: the font file %s cannot be used (%s); its text is not "
                     "drawn\n",
                     file.Path.c_str(), TTF_GetError());
        Unusable.push_back(file.Path);
        return nullptr;
    }
    // A positive GDI height is the cell: ascent plus descent. Measure the face's cell at a known
    // size, then open it at the em size that gives the wanted cell; a 1-point size at a chosen
    // resolution sets the em in steps of 1/72 pixel.
    const int cell = TTF_FontAscent(font) - TTF_FontDescent(font);
    if (cell > 0) {
        const double em = static_cast<double>(pixelHeight) * kMeasurePoints / cell;
        const auto dpi = static_cast<unsigned>(std::max(1L, std::lround(em * 72.0)));
        TTF_SetFontSizeDPI(font, 1, dpi, dpi);
    }
    if (Open.size() >= kMaxOpenFonts) {
        for (TLine& line : Lines) {
            if (line.Texture != 0) {
                glDeleteTextures(1, &line.Texture);
            }
            line = TLine{};
        }
        for (TOpenFont& open : Open) {
            TTF_CloseFont(open.Font);
        }
        Open.clear();
    }
    if (!ShaperWarm) {
        WarmUpShaper(font);
        ShaperWarm = true;
    }
    Open.push_back({file.Path, file.Index, pixelHeight, font});
    return font;
}

const TGlText::TLine* TGlText::Line(TTF_Font* font, const char* text) {
    ++UseCounter;
    for (TLine& line : Lines) {
        if (line.Font == font && line.Texture != 0 && line.Text == text) {
            line.LastUse = UseCounter;
            return &line;
        }
    }
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text, SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr) {
        return nullptr;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr) {
        return nullptr;
    }
    std::vector<uint8_t> coverage(static_cast<size_t>(argb->w) * argb->h);
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            coverage[static_cast<size_t>(y) * argb->w + x] = static_cast<uint8_t>(row[x] >> 24);
        }
    }
    SDL_UnlockSurface(argb);

    TLine* slot = nullptr;
    if (Lines.size() < kMaxLines) {
        slot = &Lines.emplace_back();
    } else {
        slot = &*std::min_element(Lines.begin(), Lines.end(), [](const TLine& a, const TLine& b) {
            return a.LastUse < b.LastUse;
        });
        if (slot->Texture != 0) {
            glDeleteTextures(1, &slot->Texture);
        }
    }
    slot->Font = font;
    slot->Text = text;
    slot->Width = argb->w;
    slot->Height = argb->h;
    slot->LastUse = UseCounter;
    glGenTextures(1, &slot->Texture);
    glBindTexture(GL_TEXTURE_2D, slot->Texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, argb->w, argb->h, 0, GL_RED, GL_UNSIGNED_BYTE,
                 coverage.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    SDL_FreeSurface(argb);
    return slot;
}

void TGlText::DrawText(HFONT handle, const char* text, const RECT& rect, COLORREF color) {
    if (!InDC || text == nullptr || text[0] == '\0' || handle < 1 || handle > Fonts.size() ||
        !Fonts[handle - 1].Used) {
        return;
    }
    const TFontSlot& slot = Fonts[handle - 1];
    const TScreenArea& area = Screen.Area;
    const int pixelHeight = std::max(1, static_cast<int>(std::lround(slot.Height * area.Scale)));

    // The face by its name when it has every character of the line, otherwise one that has.
    TTF_Font* font = OpenFont(Resolve(slot.Face, ""), pixelHeight);
    if (font == nullptr) {
        return;
    }
    const std::string_view view(text);
    for (size_t i = 0; i < view.size();) {
        const char32_t c = NextCodePoint(view, i);
        if (c > 0x20 && !TTF_GlyphIsProvided32(font, c)) {
            TTF_Font* other = OpenFont(Resolve(slot.Face, text), pixelHeight);
            if (other != nullptr) {
                font = other;
            }
            break;
        }
    }
    const TLine* line = Line(font, text);
    if (line == nullptr) {
        return;
    }

    const TGlRect clip = LogicalToWindow(Screen, rect.left, rect.top, rect.right, rect.bottom);
    if (clip.Width <= 0 || clip.Height <= 0) {
        return;
    }
    // Centred as GDI centres: (rectangle width - text width) / 2 from the left, from the top.
    const double left = area.X + rect.left * area.Scale;
    const double right = area.X + rect.right * area.Scale;
    const double x = std::floor(left + (right - left - line->Width) / 2.0);
    const double y = std::round(area.Y + rect.top * area.Scale);

    glScissor(clip.X, clip.Y, clip.Width, clip.Height);
    glBindTexture(GL_TEXTURE_2D, line->Texture);
    glUniform4f(Program.Rect(), static_cast<float>(x), static_cast<float>(y),
                static_cast<float>(x + line->Width), static_cast<float>(y + line->Height));
    glUniform3f(Program.Color(), static_cast<float>(color & 0xFF) / 255.0f,
                static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                static_cast<float>((color >> 16) & 0xFF) / 255.0f);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}
