#include "app/SdlAppPlatform.h"

#include <SDL.h>

#include <filesystem>

TWindow* TSdlAppPlatform::CreateMainWindow() {
    MainWindow = TSdlWindow::Create("Octavane", Windowed);
    return MainWindow.get();
}

TPresenter* TSdlAppPlatform::Presenter() {
    if (!Screen && MainWindow) {
        TGlPresenterOptions options;
        options.FullScreen = !Windowed;
        Screen = std::make_unique<TGlPresenter>(MainWindow->Handle(), options);
    }
    return Screen.get();
}

void TSdlAppPlatform::Sleep(uint32_t ms) {
    SDL_Delay(ms);
}

std::vector<std::string> TSdlAppPlatform::SoundFolders() const {
    std::vector<std::string> folders{"Sound"};
    if (char* base = SDL_GetBasePath()) {
        const std::filesystem::path installed =
            std::filesystem::path(base) / ".." / "share" / "octavane" / "Sound";
        folders.push_back(installed.lexically_normal().string());
        SDL_free(base);
    }
    return folders;
}
