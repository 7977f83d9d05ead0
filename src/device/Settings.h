#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TSettingsStore;

// The persistent settings, named after their stored values. They live for the whole run;
// the configuration screen reads and writes the first four and AnimationSpeed, the frame applies
// FogEnable every frame, and L in the game toggles ShowMoves.
// FogEnable keeps whatever is stored (non-zero is on); the colour steps are brought into
// 0..kBoardStepMax when read, the range the configuration screen works in.

// The board colour steps run from 0 to this, full intensity of the component.
inline constexpr int32_t kBoardStepMax = 10;
// The board colour of the first run, in steps: a dark green-blue.
inline constexpr int32_t kFirstBoardR = 0;
inline constexpr int32_t kFirstBoardG = 7;
inline constexpr int32_t kFirstBoardB = 7;

extern int32_t FogEnable; // 0 = fog off, anything else = on (the screens write 0 or 1)
extern int32_t BoardR;    // board colour steps, 0..kBoardStepMax
extern int32_t BoardG;
extern int32_t BoardB;
extern int32_t ShowMoves;      // 0 = no marks on the legal squares, anything else = marks
extern int32_t AnimationSpeed; // speedNormal or speedFast; any other stored value reads Normal

enum TAnimationSpeed : int32_t {
    speedNormal = 0, // every move with its swoop, fall and wave in full
    speedFast = 1,   // no swoop; the fall and the wave at about a third of the time
};

// The key under which the settings are stored.
inline constexpr const char* kSettingsKey = "HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane";

// Puts back the first-run values: fog off, the first board colour, no marks, Normal speed; and
// forgets the file they were read from, so that nothing is saved until they are loaded again.
void ResetSettings();

// Reads the settings file; each value that is missing or unreadable keeps its current value,
// and a missing file keeps them all. A file that is there but cannot be read keeps them all
// too, is reported in one line on standard error, and is never written in this run.
// LoadSettings reads this platform's store (the registry on Windows, the settings file
// elsewhere); LoadSettingsFrom a given .reg file or store (null: nowhere, nothing is saved).
void LoadSettings();
void LoadSettingsFrom(const std::string& path);
void LoadSettingsFrom(std::unique_ptr<TSettingsStore> store);

// Writes the values back to the file they were loaded from: their own lines change, every
// other line stays as it was. Does nothing (and returns false) before the settings were loaded,
// after the run's last save, or for a file that could not be read. On failure says so on
// standard error and returns false; the run goes on.
bool SaveSettings();
bool SaveSettingsTo(const std::string& path);
bool SaveSettingsTo(TSettingsStore& store);
// The save at the end of the run; nothing is saved after it.
bool SaveSettingsAtEnd();
// Should the process end through exit() before SaveSettingsAtEnd (Xlib ends the program that
// way when its display connection is lost), the loaded settings are saved on the way out.
void SaveSettingsOnExit();
