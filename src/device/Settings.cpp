#include "device/Settings.h"

#include <cstdio>

#include "platform/SettingsFile.h"

int32_t FogEnable = 0;
int32_t BoardR = 0;
int32_t BoardG = 7;
int32_t BoardB = 7;

namespace {

struct TSettingSlot {
    const char* Name;
    int32_t* Value;
};

// In the order they are read and written.
const TSettingSlot kSlots[] = {
    {"FogEnable", &FogEnable},
    {"BoardR", &BoardR},
    {"BoardG", &BoardG},
    {"BoardB", &BoardB},
};

} // namespace

void ResetSettings() {
    FogEnable = 0;
    BoardR = 0;
    BoardG = 7;
    BoardB = 7;
}

void LoadSettings() {
    const std::string path = SettingsFilePath();
    if (!path.empty()) {
        LoadSettingsFrom(path);
    }
}

void LoadSettingsFrom(const std::string& path) {
    TRegValues values;
    if (!ReadRegFile(path, kSettingsKey, values)) {
        return;
    }
    for (const TSettingSlot& slot : kSlots) {
        if (const uint32_t* stored = values.Find(slot.Name)) {
            *slot.Value = static_cast<int32_t>(*stored);
        }
    }
}

bool SaveSettings() {
    const std::string path = SettingsFilePath();
    if (path.empty()) {
        std::fprintf(stderr, "Octavane: settings not saved: neither XDG_CONFIG_HOME nor HOME is "
                             "set\n");
        return false;
    }
    return SaveSettingsTo(path);
}

bool SaveSettingsTo(const std::string& path) {
    TRegValues values;
    for (const TSettingSlot& slot : kSlots) {
        values.Set(slot.Name, static_cast<uint32_t>(*slot.Value));
    }
    // Values someone else stored under the key stay, after ours.
    TRegValues stored;
    ReadRegFile(path, kSettingsKey, stored);
    for (const auto& [name, value] : stored) {
        if (!values.Find(name)) {
            values.Set(name, value);
        }
    }
    std::string error;
    if (!WriteRegFile(path, kSettingsKey, values, error)) {
        std::fprintf(stderr, "Octavane: settings not saved to %s (%s)\n", path.c_str(),
                     error.c_str());
        return false;
    }
    return true;
}
