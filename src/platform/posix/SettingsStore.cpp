#include "platform/SettingsStore.h"

// Without Windows' registry the settings live in the .reg file under the XDG config folder.
std::unique_ptr<TSettingsStore> OpenPlatformSettingsStore() {
    const std::string path = SettingsFilePath();
    if (path.empty()) {
        return nullptr;
    }
    return OpenSettingsFile(path);
}
