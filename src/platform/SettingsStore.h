#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/settings/SettingsFile.h"

// Where the settings live between runs: one registry key's REG_DWORD values. Each platform
// keeps them its own way, the build picks which: the real registry on Windows, the .reg text
// file (settings/SettingsFile.h) elsewhere.
//
// A store only moves values; the rules about them (defaults, clamping) belong to the settings.
class TSettingsStore {
  public:
    virtual ~TSettingsStore() = default;

    // The REG_DWORD values under `key`. A value of another type is not there. Missing: the key
    // or the file is not there at all. Unreadable: something is there that cannot be read
    // whole (`error` says why); it must then be left alone.
    virtual TRegRead Read(std::string_view key, TRegValues& values, std::string& error) = 0;

    // Stores `values` under `key`, creating what is missing; every other value under the key,
    // and everything outside it, stays as it was. False with the reason in `error` on failure.
    virtual bool Write(std::string_view key, const TRegValues& values, std::string& error) = 0;

    // For messages: "the settings file /home/a/.config/...", "the registry key HKCU\...".
    virtual std::string Where() const = 0;
};

// The store the game loads its settings from and saves them to: this platform's own, or the
// file a test put in its place. Null when there is nowhere to keep them (on Linux: neither
// XDG_CONFIG_HOME nor HOME is set); the run then plays with the defaults and saves nothing.
std::unique_ptr<TSettingsStore> OpenSettingsStore();

// This platform's own store; the build picks the file that defines it (win: the registry,
// posix: the settings file).
std::unique_ptr<TSettingsStore> OpenPlatformSettingsStore();

// For tests: OpenSettingsStore opens the .reg file at `path` instead of the platform's store,
// until called again with an empty path.
void UseSettingsFileForTests(const std::string& path);

// The .reg text file at `path`, on any platform (the tests' store, and Linux's own).
std::unique_ptr<TSettingsStore> OpenSettingsFile(const std::string& path);
