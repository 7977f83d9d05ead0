#include "platform/recording/RecordingText.h"

int32_t TRecordingText::GetDC() {
    Log.push_back({textGetDC});
    return GetDCError;
}

int32_t TRecordingText::ReleaseDC() {
    Log.push_back({textReleaseDC});
    return 0;
}

HFONT TRecordingText::CreateFont(const char* face, int height) {
    const HFONT font = RefuseFonts ? 0 : NextFont++;
    if (font != 0) {
        ++Live;
    }
    Log.push_back({textCreateFont, font, face != nullptr ? face : "", height});
    return font;
}

void TRecordingText::DeleteFont(HFONT font) {
    if (font != 0) {
        --Live;
    }
    Log.push_back({textDeleteFont, font});
}

void TRecordingText::DrawText(HFONT font, const char* text, const RECT& rect, COLORREF color) {
    Log.push_back({textDrawText, font, text != nullptr ? text : "", 0, rect, color});
}

std::vector<TTextCall> TRecordingText::Draws() const {
    std::vector<TTextCall> draws;
    for (const TTextCall& call : Log) {
        if (call.Kind == textDrawText) {
            draws.push_back(call);
        }
    }
    return draws;
}
