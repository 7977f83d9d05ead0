#include "game/ScreenText.h"

#include "device/Setdx.h"

namespace {

constexpr COLORREF kOutlineColor = 0x000000;
constexpr int32_t kNoBackBuffer = static_cast<int32_t>(0x887601C2u);

struct TOffset {
    int32_t Dx, Dy;
};
// Up, left, down, right: the order the outline is laid down in.
constexpr TOffset kOutline[] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};

RECT Moved(const RECT& r, const TOffset& d) {
    return {r.left + d.Dx, r.top + d.Dy, r.right + d.Dx, r.bottom + d.Dy};
}

} // namespace

int32_t DrawScreenText(const RECT& rect, const char* text, COLORREF color, const char* face,
                       int height) {
    TTextDevice* dc = g_presenter != nullptr ? g_presenter->GetTextDevice() : nullptr;
    if (dc == nullptr) {
        return kNoBackBuffer;
    }
    if (const int32_t error = dc->GetDC(); error != 0) {
        return error;
    }
    if (const HFONT font = dc->CreateFont(face, height); font != 0) {
        for (const TOffset& offset : kOutline) {
            dc->DrawText(font, text, Moved(rect, offset), kOutlineColor);
        }
        dc->DrawText(font, text, rect, color);
        dc->DeleteFont(font);
    }
    return dc->ReleaseDC();
}
