#include "platform/sdl/SdlClipboard.h"

#include <SDL.h>

bool TSdlClipboard::SetText(const std::string& text) {
    return SDL_SetClipboardText(text.c_str()) == 0;
}

bool TSdlClipboard::GetText(std::string& text) {
    if (!SDL_HasClipboardText()) {
        return false;
    }
    // SDL gives an empty string (still to be freed) when it cannot read the clipboard.
    char* held = SDL_GetClipboardText();
    if (held == nullptr) {
        return false;
    }
    text = held;
    SDL_free(held);
    return !text.empty();
}
