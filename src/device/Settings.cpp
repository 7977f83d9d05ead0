#include "device/Settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/SettingsStore.h"

int32_t FogEnable = 0;
int32_t BoardR = kFirstBoardR;
int32_t BoardG = kFirstBoardG;
int32_t BoardB = kFirstBoardB;
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

// Where the settings of this run came from, and whether they may go back there.
enum class TFileState {
    NotLoaded, // nothing is saved before the settings were read
    Loaded,    // read (or there was no file): saves go to `g_store`
    LeftAlone, // the file is there but could not be read: it is never written
    Ended,     // saved for the last time at the end of the run
};

TFileState g_fileState = TFileState::NotLoaded;
std::unique_ptr<TSettingsStore> g_store; // null: nowhere to keep them
bool g_exitSaveInstalled = false;

void SaveIfTheRunDidNot() {
    if (g_fileState == TFileState::Loaded) {
        SaveSettings();
    }
}

} // namespace

void ResetSettings() {
    FogEnable = 0;
    BoardR = kFirstBoardR;
    BoardG = kFirstBoardG;
    BoardB = kFirstBoardB;
    ShowMoves = 0;
    AnimationSpeed = speedNormal;
    g_fileState = TFileState::NotLoaded;
    g_store.reset();
}

void LoadSettings() {
    LoadSettingsFrom(OpenSettingsStore());
}

void LoadSettingsFrom(const std::string& path) {
    LoadSettingsFrom(path.empty() ? nullptr : OpenSettingsFile(path));
}

void LoadSettingsFrom(std::unique_ptr<TSettingsStore> store) {
    g_store = std::move(store);
    g_fileState = TFileState::Loaded;
    if (!g_store) {
        return;
    }
    TRegValues values;
    std::string error;
    switch (g_store->Read(kSettingsKey, values, error)) {
    case TRegRead::Missing:
        return;
    case TRegRead::Unreadable:
        std::fprintf(stderr,
                     "Octavane: cannot read %s (%s); playing with the first-run settings and "
                     "leaving it as it is\n",
                     g_store->Where().c_str(), error.c_str());
        g_fileState = TFileState::LeftAlone;
        return;
    case TRegRead::Read:
        break;
    }
    for (const TSettingSlot& slot : kSlots) {
        if (const uint32_t* stored = values.Find(slot.Name)) {
            *slot.Value = static_cast<int32_t>(*stored);
        }
    }
    // A step the screens cannot reach would stay out of reach (and step * 255 may overflow).
    for (int32_t* step : {&BoardR, &BoardG, &BoardB}) {
        *step = std::clamp(*step, kStepMin, kBoardStepMax);
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
    if (!g_store) {
        std::fprintf(stderr, "Octavane: settings not saved: neither XDG_CONFIG_HOME nor HOME is "
                             "set\n");
        return false;
    }
    return SaveSettingsTo(*g_store);
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
    return SaveSettingsTo(*OpenSettingsFile(path));
}

bool SaveSettingsTo(TSettingsStore& store) {
    TRegValues values;
    for (const TSettingSlot& slot : kSlots) {
        values.Set(slot.Name, static_cast<uint32_t>(*slot.Value));
    }
    std::string error;
    if (!store.Write(kSettingsKey, values, error)) {
        std::fprintf(stderr, "Octavane: settings not saved to %s (%s)\n", store.Where().c_str(),
                     error.c_str());
        return false;
    }
    return true;
}
