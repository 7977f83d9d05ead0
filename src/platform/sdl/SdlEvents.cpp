#include <SDL.h>

#include "platform/KeyState.h"
#include "platform/PageControls.h"
#include "platform/sdl/SdlMouse.h"
#include "platform/sdl/SdlSystem.h"

int VirtualKeyFromSdl(int32_t sdlKey) {
    switch (sdlKey) {
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_LCTRL:
        return VK_LCONTROL;
    case SDLK_RCTRL:
        return VK_RCONTROL;
    case SDLK_LSHIFT:
        return VK_LSHIFT;
    case SDLK_RSHIFT:
        return VK_RSHIFT;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_h:
        return VK_H;
    case SDLK_l:
        return VK_L;
    case SDLK_a:
        return VK_A;
    case SDLK_c:
        return VK_C;
    case SDLK_v:
        return VK_V;
    case SDLK_y:
        return VK_Y;
    case SDLK_z:
        return VK_Z;
    default:
        return 0;
    }
}

namespace {

// F11, or Enter (either) with an Alt key held.
bool IsFullScreenToggle(const SDL_KeyboardEvent& key) {
    const SDL_Keycode sym = key.keysym.sym;
    return sym == SDLK_F11 ||
           ((sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT) != 0);
}

// The shortcuts' modifiers as the event reports them, held when the key went down.
uint8_t ModifiersOf(const SDL_Keysym& key) {
    return static_cast<uint8_t>(((key.mod & KMOD_SHIFT) != 0 ? kModShift : 0) |
                                ((key.mod & KMOD_CTRL) != 0 ? kModControl : 0));
}

} // namespace

bool TSdlEventSource::Next(TMessage& message) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            message = TMessage{nullptr, WM_CLOSE, 0, 0};
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (IsFullScreenToggle(event.key)) {
                if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
                    SDL_Window* window = SDL_GetWindowFromID(event.key.windowID);
                    ToggleFullScreen(window ? window : SDL_GetKeyboardFocus());
                }
                break;
            }
            const int key = VirtualKeyFromSdl(event.key.keysym.sym);
            const bool down = event.type == SDL_KEYDOWN;
            Keyboard().SetDown(key, down, ModifiersOf(event.key.keysym));
            if (down && key != 0) {
                NoteInputKind(inputKeys);
            }
            if (down && key == VK_ESCAPE) {
                message = TMessage{nullptr, WM_KEYDOWN, VK_ESCAPE, 0};
                return true;
            }
            break;
        }
        case SDL_WINDOWEVENT:
            // Keys let go of while another window had the focus must not stay down.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                Keyboard().ReleaseAll();
            }
            RecordMouseEvent(event);
            break;
        default:
            RecordMouseEvent(event);
            break;
        }
    }
    return false;
}
