#pragma once

#include <cstdint>
#include <string>

// The four persistent settings, named after their stored values. They live for the whole run;
// the configuration screen reads and writes them, the frame applies FogEnable every frame.
// No range is enforced: a stored BoardR of 50 is used as 50.

extern int32_t FogEnable; // 0 = fog off, anything else = on (the screens write 0 or 1)
extern int32_t BoardR;    // board colour steps, 0..10 when set by the screens
extern int32_t BoardG;
extern int32_t BoardB;

// The key under which the settings are stored.
inline constexpr const char* kSettingsKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";

// Puts back the first-run values: fog off, board colour steps 0, 7, 7.
void ResetSettings();

// Reads the settings file; each value that is missing or unreadable keeps its current value,
// and a missing or unreadable file keeps them all.
void LoadSettings();
void LoadSettingsFrom(const std::string& path);

// Writes the four values back, replacing the file as a whole. Other values stored under the
// same key are kept. On failure says so on standard error and returns false; the run goes on.
bool SaveSettings();
bool SaveSettingsTo(const std::string& path);
