#include "platform/sdl/InstallFolders.h"

#include <SDL.h>

#include <filesystem>

#include "platform/win/WideText.h"

std::string InstalledSoundFolder() {
    std::string folder;
    if (char* base = SDL_GetBasePath()) {
        // Through UTF-16: a narrow std::filesystem path would be read in the ANSI code page.
        const std::filesystem::path sounds = std::filesystem::path(WideFromUtf8(base)) / L"Sound";
        folder = Utf8FromWide(sounds.lexically_normal().wstring());
        SDL_free(base);
    }
    return folder;
}
