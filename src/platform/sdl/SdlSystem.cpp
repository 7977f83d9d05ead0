#include "platform/sdl/SdlSystem.h"

#include <SDL.h>
#include <cstdio>

TSdlSystem::TSdlSystem() {
    Ready = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) == 0;
}

TSdlSystem::~TSdlSystem() {
    if (Ready) {
        SDL_Quit();
    }
}

const char* TSdlSystem::Error() const {
    return SDL_GetError();
}

uint32_t TSdlClock::Now() const {
    return static_cast<uint32_t>(SDL_GetTicks64());
}

std::unique_ptr<TSdlWindow> TSdlWindow::Create(const char* title) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    const Uint32 flags = SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_OPENGL |
                         SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_SHOWN;
    // Made at the display's own size, so that it covers the screen even where no window manager
    // honours the full-screen request (a bare X server).
    SDL_Rect display{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480};
    SDL_GetDisplayBounds(0, &display);
    SDL_Window* window = SDL_CreateWindow(title, display.x, display.y, display.w, display.h, flags);
    if (!window) {
        std::fprintf(stderr, "Octavane: cannot open the window: %s\n", SDL_GetError());
        return nullptr;
    }
    return std::unique_ptr<TSdlWindow>(new TSdlWindow(window));
}

TSdlWindow::~TSdlWindow() {
    Destroy();
}

void TSdlWindow::ShowCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void TSdlWindow::Destroy() {
    if (Window) {
        SDL_DestroyWindow(Window);
        Window = nullptr;
    }
}
