#include "device/Settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/SettingsFile.h"

int32_t FogEnable = 0;
int32_t BoardR = 0;
int32_t BoardG = 7;
int32_t BoardB = 7;
int32_t ShowMoves = 0;
int32_t AnimationSpeed = speedNormal;

namespace {

struct TSettingSlot {
    const char* Name;
    int32_t* Value;
};

// In the order they are read and written.
const TSettingSlot kSlots[] = {
    {"FogEnable", &FogEnable}, {"BoardR", &BoardR},       {"BoardG", &BoardG},
    {"BoardB", &BoardB},       {"ShowMoves", &ShowMoves}, {"AnimationSpeed", &AnimationSpeed},
};

constexpr int32_t kStepMin = 0;
constexpr int32_t kStepMax = 10;

// Where the settings of this run came from, and whether they may go back there.
enum class TFileState {
    NotLoaded, // nothing is saved before the settings were read
    Loaded,    // read (or there was no file): saves go to `g_settingsPath`
    LeftAlone, // the file is there but could not be read: it is never written
    Ended,     // saved for the last time at the end of the run
};

TFileState g_fileState = TFileState::NotLoaded;
std::string g_settingsPath;
bool g_exitSaveInstalled = false;

void SaveIfTheRunDidNot() {
    if (g_fileState == TFileState::Loaded) {
        SaveSettings();
    }
}

} // namespace

void ResetSettings() {
    FogEnable = 0;
    BoardR = 0;
    BoardG = 7;
    BoardB = 7;
    ShowMoves = 0;
    AnimationSpeed = speedNormal;
    g_fileState = TFileState::NotLoaded;
    g_settingsPath.clear();
}

void LoadSettings() {
    LoadSettingsFrom(SettingsFilePath());
}

void LoadSettingsFrom(const std::string& path) {
    g_settingsPath = path;
    g_fileState = TFileState::Loaded;
    if (path.empty()) {
        return;
    }
    TRegDocument document;
    std::string error;
    switch (ReadRegDocument(path, document, error)) {
    case TRegRead::Missing:
        return;
    case TRegRead::Unreadable:
        std::fprintf(stderr,
                     "Octavane: cannot read the settings file %s (%s); playing with the "
                     "first-run settings and leaving the file as it is\n",
                     path.c_str(), error.c_str());
        g_fileState = TFileState::LeftAlone;
        return;
    case TRegRead::Read:
        break;
    }
    const TRegValues values = document.Values(kSettingsKey);
    for (const TSettingSlot& slot : kSlots) {
        if (const uint32_t* stored = values.Find(slot.Name)) {
            *slot.Value = static_cast<int32_t>(*stored);
        }
    }
    // A step the screens cannot reach would stay out of reach (and step * 255 may overflow).
    for (int32_t* step : {&BoardR, &BoardG, &BoardB}) {
        *step = std::clamp(*step, kStepMin, kStepMax);
    }
    // A speed this program does not know plays at the pace the game was made with.
    if (AnimationSpeed != speedFast) {
        AnimationSpeed = speedNormal;
    }
}

bool SaveSettings() {
    if (g_fileState != TFileState::Loaded) {
        return false;
    }
    if (g_settingsPath.empty()) {
        std::fprintf(stderr, "Octavane: settings not saved: neither XDG_CONFIG_HOME nor HOME is "
                             "set\n");
        return false;
    }
    return SaveSettingsTo(g_settingsPath);
}

bool SaveSettingsAtEnd() {
    const bool saved = SaveSettings();
    if (g_fileState == TFileState::Loaded) {
        g_fileState = TFileState::Ended;
    }
    return saved;
}

void SaveSettingsOnExit() {
    if (!g_exitSaveInstalled) {
        g_exitSaveInstalled = std::atexit(SaveIfTheRunDidNot) == 0;
    }
}

bool SaveSettingsTo(const std::string& path) {
    // Read again: whatever others stored since the start stays, and so does every line that
    // is not one of ours.
    TRegDocument document;
    std::string error;
    const TRegRead read = ReadRegDocument(path, document, error);
    if (read == TRegRead::Unreadable) {
        std::fprintf(stderr, "Octavane: settings not saved to %s (%s)\n", path.c_str(),
                     error.c_str());
        return false;
    }
    const std::string before = document.ToBytes();
    TRegValues values;
    for (const TSettingSlot& slot : kSlots) {
        values.Set(slot.Name, static_cast<uint32_t>(*slot.Value));
    }
    document.Set(kSettingsKey, values);
    const std::string after = document.ToBytes();
    if (read == TRegRead::Read && after == before) {
        return true; // the file already holds every value
    }
    if (!WriteRegFile(path, after, error)) {
        std::fprintf(stderr, "Octavane: settings not saved to %s (%s)\n", path.c_str(),
                     error.c_str());
        return false;
    }
    return true;
}
