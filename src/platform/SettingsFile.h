#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The stand-in for one registry key: a text file in the .reg export format,
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Bellwick\Octavane]
//   "FogEnable"=dword:00000000
//
// Only REG_DWORD values of the one named key are read; every other section, and every line
// that is not a well-formed dword value, is skipped, so a damaged file costs only the values
// it damages. Values are 32-bit and kept as written (no range is implied).

// The values of one key in the order they were first set. Names compare without regard to case,
// as registry value names do.
class TRegValues {
  public:
    struct TItem {
        std::string Name;
        uint32_t Value;
    };
    void Set(std::string_view name, uint32_t value);
    // Null when there is no value of that name.
    const uint32_t* Find(std::string_view name) const;
    size_t Size() const { return Items.size(); }
    std::vector<TItem>::const_iterator begin() const { return Items.begin(); }
    std::vector<TItem>::const_iterator end() const { return Items.end(); }

  private:
    std::vector<TItem> Items;
};

// The settings file: $XDG_CONFIG_HOME/Bellwick/Octavane/settings.reg, or
// $HOME/.config/Bellwick/Octavane/settings.reg when XDG_CONFIG_HOME is unset or empty.
// Empty when neither variable gives a usable directory.
std::string SettingsFilePath();

// Collects the dword values of section `key` from the text of a .reg file. Later lines win.
TRegValues ParseRegText(std::string_view text, std::string_view key);

// Writes section `key` with `values` in their order.
std::string FormatRegText(std::string_view key, const TRegValues& values);

// Reads `path` into `values`. False when the file cannot be read (then `values` is untouched).
bool ReadRegFile(const std::string& path, std::string_view key, TRegValues& values);

// Replaces `path` with the section as a whole: the text goes to a temporary file in the same
// directory, is flushed to disk, then renamed over `path`, so a crash or a full disk leaves
// either the old file or the new one, never half of one. Missing directories are created.
// On failure returns false and puts the reason in `error`.
bool WriteRegFile(const std::string& path, std::string_view key, const TRegValues& values,
                  std::string& error);
