#include "platform/sdl/SdlClipboard.h"

#include <emscripten.h>

#include "platform/PageControls.h"

// The browser's clipboard is reached only by promises, and only around a player's gesture; the
// game's copy and paste run inside a frame. So the page keeps the text: a copy is stored here and
// handed to navigator.clipboard (quietly kept here alone where the browser refuses), and a paste
// is started by the page, which reads the clipboard first and hands the text in with the press.

namespace {

std::string g_pageClipboard;

} // namespace

EM_JS(void, WriteBrowserClipboard, (const char* text), {
    if (typeof navigator != 'undefined' && navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(UTF8ToString(text)).catch(function(){});
    }
});

bool TSdlClipboard::SetText(const std::string& text) {
    g_pageClipboard = text;
    WriteBrowserClipboard(text.c_str());
    return true;
}

bool TSdlClipboard::GetText(std::string& text) {
    if (g_pageClipboard.empty()) {
        return false;
    }
    text = g_pageClipboard;
    return true;
}

// The page's paste (its Paste control, or Control+V): `text` is what the browser's clipboard
// holds, or null where it could not be read (the game's own last copy is pasted then).
extern "C" EMSCRIPTEN_KEEPALIVE void OctavanePasteText(const char* text, int touched) {
    if (text != nullptr) {
        g_pageClipboard = text;
    }
    NoteInputKind(touched != 0 ? inputTouch : inputKeys);
    PageControls().Press(pagePaste);
}
