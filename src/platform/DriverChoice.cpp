#include "platform/DriverChoice.h"

#include "platform/Environment.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

// `drivers` without those `leaveOut` names, joined with commas; "" when none was left out.
template <typename TLeaveOut>
std::string Without(const std::vector<std::string>& drivers, TLeaveOut leaveOut) {
    std::string list;
    bool leftOut = false;
    for (const std::string& driver : drivers) {
        if (leaveOut(driver)) {
            leftOut = true;
            continue;
        }
        list += list.empty() ? driver : "," + driver;
    }
    return leftOut ? list : std::string();
}

const char* GetEnv(const char* name) {
    return std::getenv(name);
}

} // namespace

bool WaylandReachable(const char* wayland, const char* runtimeDir) {
    return (IsSet(wayland) && wayland[0] == '/') || IsSet(runtimeDir);
}

std::string VideoDriverChoice(const std::vector<std::string>& drivers, const char* requested,
                              const char* wayland, const char* runtimeDir) {
    if (IsSet(requested) || WaylandReachable(wayland, runtimeDir)) {
        return {};
    }
    return Without(drivers, [](const std::string& driver) { return driver == "wayland"; });
}

std::string AudioDriverChoice(const std::vector<std::string>& drivers, const char* requested,
                              bool soundCard) {
    const auto throughAlsa = [](const std::string& driver) {
        return driver == "alsa" || driver == "sndio";
    };
    if (IsSet(requested) || soundCard ||
        std::none_of(drivers.begin(), drivers.end(), throughAlsa)) {
        return {};
    }
    return Without(drivers, [&](const std::string& driver) {
        return throughAlsa(driver) || driver == "disk" || driver == "dummy";
    });
}

bool HasSoundCard(const std::string& devSnd) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(devSnd, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().filename().string().rfind("pcmC", 0) == 0) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> RelativeXdgVariables(const char* (*get)(const char*)) {
    std::vector<std::string> relative;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const char* value = get(name);
        if (IsSet(value) && value[0] != '/') {
            relative.emplace_back(name);
        }
    }
    return relative;
}

void DropRelativeXdgVariables() {
    for (const std::string& name : RelativeXdgVariables(GetEnv)) {
        UnsetEnvironment(name.c_str());
    }
}
