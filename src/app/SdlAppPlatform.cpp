#include "app/SdlAppPlatform.h"

#include <SDL.h>

TWindow* TSdlAppPlatform::CreateMainWindow() {
    MainWindow = TSdlWindow::Create("Octavane");
    return MainWindow.get();
}

TPresenter* TSdlAppPlatform::Presenter() {
    if (!Screen && MainWindow) {
        Screen = std::make_unique<TGlPresenter>(MainWindow->Handle(), TGlPresenterOptions{});
    }
    return Screen.get();
}

void TSdlAppPlatform::Sleep(uint32_t ms) {
    SDL_Delay(ms);
}
