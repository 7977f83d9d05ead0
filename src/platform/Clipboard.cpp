#include "platform/Clipboard.h"

namespace {

TClipboard* g_clipboard = nullptr;

} // namespace

void SetClipboard(TClipboard* clipboard) {
    g_clipboard = clipboard;
}

TClipboard* Clipboard() {
    return g_clipboard;
}

bool TRecordingClipboard::SetText(const std::string& text) {
    if (!Works) {
        return false;
    }
    Text = text;
    HasText = true;
    ++Sets;
    return true;
}

bool TRecordingClipboard::GetText(std::string& text) {
    if (!Works || !HasText) {
        return false;
    }
    text = Text;
    return true;
}
