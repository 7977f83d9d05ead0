#include "platform/sdl/SdlSystem.h"

#include "platform/sdl/GlDevice.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/DriverChoice.h"
#include "platform/sdl/DisplayScaling.h"

namespace {

// Leaves out the video drivers that cannot work here (VideoDriverChoice), unless the user chose.
void ChooseVideoDrivers() {
    std::vector<std::string> drivers;
    drivers.reserve(static_cast<size_t>(std::max(SDL_GetNumVideoDrivers(), 0)));
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        drivers.emplace_back(SDL_GetVideoDriver(i));
    }
    const std::string choice =
        VideoDriverChoice(drivers, std::getenv("SDL_VIDEODRIVER"), std::getenv("WAYLAND_DISPLAY"),
                          std::getenv("XDG_RUNTIME_DIR"));
    if (!choice.empty()) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, choice.c_str());
    }
}

} // namespace

TSdlSystem::TSdlSystem() {
    ChooseVideoDrivers();
    PrepareDisplayScaling();
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

namespace {

// The windowed size on display `display`: kWindowedWidth x kWindowedHeight, or the largest 4:3
// size within the display's usable area where that is smaller.
void WindowedSize(int display, int& width, int& height) {
    width = kWindowedWidth;
    height = kWindowedHeight;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0 || usable.w <= 0 ||
        usable.h <= 0) {
        return;
    }
    if (width > usable.w || height > usable.h) {
        width = std::min(usable.w, usable.h * 4 / 3);
        height = width * 3 / 4;
    }
}

} // namespace

std::unique_ptr<TSdlWindow> TSdlWindow::Create(const char* title, bool windowed) {
    GlPrepareWindowAttributes();
    const Uint32 commonFlags = GlWindowFlags() | SDL_WINDOW_SHOWN;
    SDL_Window* window = nullptr;
    if (windowed) {
        int width = 0;
        int height = 0;
        WindowedSize(0, width, height);
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, commonFlags | SDL_WINDOW_RESIZABLE);
    } else {
        // Made at the display's own size, so that it covers the screen even where no window
        // manager honours the full-screen request (a bare X server).
        SDL_Rect display{SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480};
        SDL_GetDisplayBounds(0, &display);
        window = SDL_CreateWindow(title, display.x, display.y, display.w, display.h,
                                  commonFlags | SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    if (!window) {
        std::fprintf(stderr, "Octavane: cannot open the window: %s\n", SDL_GetError());
        return nullptr;
    }
    return std::unique_ptr<TSdlWindow>(new TSdlWindow(window));
}

void ToggleFullScreen(SDL_Window* window) {
    if (window == nullptr) {
        return;
    }
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowResizable(window, SDL_TRUE);
        int width = 0;
        int height = 0;
        WindowedSize(display, width, height);
        SDL_SetWindowSize(window, width, height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(display));
        return;
    }
    // Moved over the whole display first, as at the start, for a bare X server where no window
    // manager honours the full-screen request.
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(display, &bounds) == 0) {
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
        SDL_SetWindowSize(window, bounds.w, bounds.h);
    }
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        std::fprintf(stderr, "Octavane: the window cannot go full screen: %s\n", SDL_GetError());
    }
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
