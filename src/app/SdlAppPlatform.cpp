#include "app/SdlAppPlatform.h"

#include <SDL.h>

#include "platform/sdl/InstallFolders.h"

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
    if (std::string installed = InstalledSoundFolder(); !installed.empty()) {
        folders.push_back(std::move(installed));
    }
    return folders;
}
