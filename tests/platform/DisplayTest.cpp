#include <gtest/gtest.h>

#include "platform/Display.h"

namespace {

// Only a headless driver that nobody asked for is refused, whatever DISPLAY and WAYLAND_DISPLAY
// say; asking for it by name, in any case and in a list, keeps it.
TEST(NoDisplay, OnlyAHeadlessDriverNobodyAskedForIsRefused) {
    const struct {
        const char *Driver, *Requested, *Display, *Wayland;
        bool Refused;
    } rows[] = {
        {"x11", nullptr, ":0", nullptr, false},
        {"KMSDRM", nullptr, nullptr, nullptr, false},
        {"offscreen", "", "", "", true},
        {"offscreen", "x11", ":99", "wayland-1", true},
        {"dummy", "x11,wayland", nullptr, nullptr, true},
        {"offscreen", "OFFSCREEN", nullptr, nullptr, false},
        {"offscreen", "x11,offscreen", nullptr, nullptr, false},
        {"dummy", "dummy", ":99", nullptr, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.Driver) + " / " + (row.Requested ? row.Requested : "-"));
        EXPECT_EQ(NoDisplayReason(row.Driver, row.Requested, row.Display, row.Wayland).empty(),
                  !row.Refused);
    }
}

} // namespace
