#include <gtest/gtest.h>

#include "platform/Display.h"

namespace {

TEST(NoDisplay, OnlyAHeadlessDriverNobodyAskedForIsRefused) {
    struct TRow {
        const char* Driver;
        const char* Requested;
        const char* Display;
        const char* Wayland;
        bool Refused;
    };
    const TRow rows[] = {
        {"x11", nullptr, ":0", nullptr, false},
        {"wayland", nullptr, nullptr, "wayland-0", false},
        {"KMSDRM", nullptr, nullptr, nullptr, false},
        {"offscreen", nullptr, nullptr, nullptr, true},
        {"offscreen", "", "", "", true},
        {"offscreen", nullptr, ":99", nullptr, true},
        {"offscreen", "x11", ":99", "wayland-1", true},
        {"dummy", "x11,wayland", nullptr, nullptr, true},
        {"offscreen", "offscreen", nullptr, nullptr, false},
        {"offscreen", "OFFSCREEN", nullptr, nullptr, false},
        {"offscreen", "x11,offscreen", nullptr, nullptr, false},
        {"dummy", "dummy", ":99", nullptr, false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(std::string(row.Driver) + " / " + (row.Requested ? row.Requested : "-"));
        const std::string reason =
            NoDisplayReason(row.Driver, row.Requested, row.Display, row.Wayland);
        EXPECT_EQ(!reason.empty(), row.Refused) << reason;
        if (row.Refused) {
            EXPECT_NE(reason.find("DISPLAY"), std::string::npos) << reason;
            EXPECT_NE(reason.find("WAYLAND_DISPLAY"), std::string::npos) << reason;
        }
    }
}

} // namespace
