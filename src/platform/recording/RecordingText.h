#pragma once

#include "platform/Text.h"

#include <string>
#include <vector>

// A text device that draws nothing and logs every call with its arguments, for tests of the
// screens' text. GetDC can be made to fail, and CreateFont to find no font.

enum TTextCallKind : uint8_t {
    textGetDC,
    textReleaseDC,
    textCreateFont, // Text = face, Height, Font = the handle given
    textDeleteFont, // Font
    textDrawText,   // Font, Text, Rect, Color
};

struct TTextCall {
    TTextCallKind Kind;
    HFONT Font = 0;
    std::string Text{};
    int Height = 0;
    RECT Rect{};
    COLORREF Color = 0;
};

class TRecordingText final : public TTextDevice {
  public:
    int32_t GetDC() override;
    int32_t ReleaseDC() override;
    HFONT CreateFont(const char* face, int height) override;
    void DeleteFont(HFONT font) override;
    void DrawText(HFONT font, const char* text, const RECT& rect, COLORREF color) override;

    int32_t GetDCError = 0;   // non-zero: GetDC fails with it
    bool RefuseFonts = false; // CreateFont gives no font
    int LiveFonts() const { return Live; }

    const std::vector<TTextCall>& Calls() const { return Log; }
    // Only the DrawText calls, in order.
    std::vector<TTextCall> Draws() const;
    void ClearLog() { Log.clear(); }

  private:
    std::vector<TTextCall> Log;
    HFONT NextFont = 1;
    int Live = 0;
};
