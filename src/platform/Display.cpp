#include "platform/Display.h"

#include <strings.h>

namespace {

constexpr std::string_view kHeadlessDrivers[] = {"offscreen", "dummy"};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsHeadless(std::string_view driver) {
    for (const std::string_view headless : kHeadlessDrivers) {
        if (SameName(driver, headless)) {
            return true;
        }
    }
    return false;
}

bool Names(const char* requested, std::string_view driver) {
    std::string_view list = requested ? requested : "";
    while (!list.empty()) {
        const size_t comma = list.find(',');
        if (SameName(list.substr(0, comma), driver)) {
            return true;
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return false;
}

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

} // namespace

std::string NoDisplayReason(std::string_view driver, const char* requested, const char* display,
                            const char* wayland) {
    if (!IsHeadless(driver) || Names(requested, driver)) {
        return {};
    }
    if (!IsSet(display) && !IsSet(wayland)) {
        return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    }
    std::string reason;
    if (IsSet(display)) {
        reason = "the X display DISPLAY=" + std::string(display) + " cannot be opened";
    } else {
        reason = "DISPLAY is not set";
    }
    if (IsSet(wayland)) {
        reason += ", and the Wayland display WAYLAND_DISPLAY=" + std::string(wayland) +
                  " cannot be opened";
    } else {
        reason += ", and WAYLAND_DISPLAY is not set";
    }
    return reason;
}
