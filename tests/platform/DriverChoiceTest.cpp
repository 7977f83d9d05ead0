#include "platform/DriverChoice.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

// SDL's lists as the Debian build of SDL 2.26 gives them.
const std::vector<std::string> kVideo = {"x11", "wayland", "KMSDRM", "offscreen", "dummy", "evdev"};
const std::vector<std::string> kAudio = {"pulseaudio", "alsa", "sndio", "pipewire",
                                         "dsp",        "disk", "dummy"};

std::map<std::string, const char*> g_environment;
const char* Get(const char* name) {
    return g_environment.contains(name) ? g_environment.at(name) : nullptr;
}

// Wayland only where a compositor can be looked for, ALSA only with a sound card; a choice stands.
TEST(DriverChoice, DriversThatCannotWorkAreLeftOut) {
    const std::string withoutWayland = "x11,KMSDRM,offscreen,dummy,evdev";
    // SDL_VIDEODRIVER, WAYLAND_DISPLAY, XDG_RUNTIME_DIR, the choice.
    const std::tuple<const char*, const char*, const char*, std::string> rows[] = {
        {"", "", "", withoutWayland},
        {nullptr, "wayland-1", nullptr, withoutWayland},
        {nullptr, nullptr, "/run/user/1000", ""},
        {nullptr, "/tmp/wayland-9", nullptr, ""},
        {"offscreen", nullptr, nullptr, ""},
    };
    for (const auto& [requested, wayland, runtime, choice] : rows) {
        SCOPED_TRACE(testing::Message()
                     << (requested ? requested : "-") << " " << (wayland ? wayland : "-") << " "
                     << (runtime ? runtime : "-"));
        EXPECT_EQ(VideoDriverChoice(kVideo, requested, wayland, runtime), choice);
    }

    EXPECT_EQ(AudioDriverChoice(kAudio, nullptr, false), "pulseaudio,pipewire,dsp");
    EXPECT_EQ(AudioDriverChoice(kAudio, nullptr, true), "");
    EXPECT_EQ(AudioDriverChoice(kAudio, "dummy", false), "");
    EXPECT_EQ(
        AudioDriverChoice({"wasapi", "directsound", "winmm", "disk", "dummy"}, nullptr, false), "");

    const std::filesystem::path snd = MakeTempFolder("octavane-snd");
    EXPECT_FALSE(HasSoundCard((snd / "none").string()));
    std::ofstream(snd / "seq").flush();
    std::ofstream(snd / "controlC0").flush();
    EXPECT_FALSE(HasSoundCard(snd.string())) << "a sequencer or a mixer plays nothing";
    std::ofstream(snd / "pcmC0D0p").flush();
    EXPECT_TRUE(HasSoundCard(snd.string()));
    std::filesystem::remove_all(snd);

    // The XDG folder variables holding relative paths are found (the whole program drops them).
    g_environment = {{"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "/home/a/.local"},
                     {"XDG_CACHE_HOME", "./cache"}, {"XDG_STATE_HOME", ""},
                     {"XDG_RUNTIME_DIR", "~/run"},  {"HOME", "home"}};
    EXPECT_EQ(RelativeXdgVariables(Get),
              (std::vector<std::string>{"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}));
}

} // namespace
