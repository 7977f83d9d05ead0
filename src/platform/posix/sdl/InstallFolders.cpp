#include "platform/sdl/InstallFolders.h"

#include <SDL.h>

#include <filesystem>

std::string InstalledSoundFolder() {
    std::string folder;
    if (char* base = SDL_GetBasePath()) {
        const std::filesystem::path installed =
            std::filesystem::path(base) / ".." / "share" / "octavane" / "Sound";
        folder = installed.lexically_normal().string();
        SDL_free(base);
    }
    return folder;
}
