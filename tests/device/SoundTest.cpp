#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <tuple>

#include "TestFiles.h"
#include "device/Sound.h"
#include "device/Wave.h"
#include "platform/Clock.h"
#include "platform/WindowMessages.h"

namespace fs = std::filesystem;

namespace {

std::string Le(uint32_t value, int size) {
    return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)}.substr(
        0, size);
}
// A chunk claiming `claim` bytes; by default its real size, then with its pad byte when odd.
std::string Chunk(const char* id, const std::string& body, int64_t claim = -1) {
    const std::string pad(claim < 0 ? body.size() % 2 : 0, '\0');
    return id + Le(uint32_t(claim < 0 ? body.size() : claim), 4) + body + pad;
}
std::string Fmt(size_t size = 16, uint16_t channels = 1, uint32_t rate = 22050, uint16_t bits = 16,
                uint16_t tag = 1) {
    const uint32_t align = channels * bits / 8;
    const std::string body = Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) +
                             Le(align, 2) + Le(bits, 2) + std::string(64, '\0');
    return Chunk("fmt ", body.substr(0, size));
}
std::string Riff(const std::string& chunks, const char* form = "WAVE", const char* riff = "RIFF") {
    return riff + Le(0, 4) + form + chunks; // the RIFF size is not read
}
std::string Ramp(size_t count) {
    return std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-+")
        .substr(0, count);
}

TWaveError Read(const std::string& file, std::string& samples) {
    TMemorySource source({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
    TWave wave;
    const TWaveError error = ReadWave(source, wave);
    samples.assign(wave.Samples.begin(), wave.Samples.end());
    return error;
}

// A good file gives exactly its samples, a broken or cut one its error or less, never more.
TEST(WaveReader, EachFileGivesItsSamplesOrItsError) {
    using E = TWaveError;
    const std::string ramp = Ramp(12), data = Chunk("data", ramp);
    const std::string odd = Chunk("LIST", "\1\2\3\4\5") + Fmt() + Chunk("fact", "\11\11\11");
    const std::tuple<std::string, TWaveError, std::string> rows[] = {
        // clang-format off
        {Riff(Fmt(18, 2, 44100) + data), E::None, ramp}, {Riff(Fmt(40) + data), E::None, ramp},
        {Riff(odd + data), E::None, ramp}, // odd chunks and their pad bytes
        {Riff(Fmt(16, 1, 8000, 8) + Chunk("data", Ramp(7)) + Chunk("junk", "\1")), E::None,
         Ramp(7)},
        {Riff(Fmt() + Chunk("data", Ramp(20)) + data), E::None, ramp}, // the last data chunk
        {Riff(data + Fmt()), E::None, ramp}, // the format after the data
        {Riff(Fmt(16, 2) + Chunk("data", Ramp(10))), E::None, Ramp(8)}, // whole frames only
        {Riff(Fmt(18, 1, 48000, 32, WAVE_FORMAT_IEEE_FLOAT) + data), E::None, ramp},
        {Riff(Fmt() + Chunk("data", ramp, 0xFFFFFFFF)), E::None, ramp}, // more than is there
        {Riff(Fmt() + data + "data" + Le(16, 2)), E::None, ramp}, // a cut chunk header
        {Riff(Fmt() + data, "WAVE", "RIFX"), E::NotRiffWave, ""},
        {Riff("").substr(0, 6), E::NotRiffWave, ""}, {Riff(data), E::NoFormat, ""},
        {Riff(Chunk("fmt ", std::string(2, '\1')) + data), E::NoFormat, ""},
        {Riff(data + Fmt()).substr(0, 12 + 20 + 14), E::NoFormat, ""}, // the format cut short
        {Riff(Fmt()), E::NoData, ""},
        {Riff(Fmt() + Chunk("junk", data, 0xFFFFFFFF)), E::NoData, ""}, // a skip that wraps
        {Riff(Fmt() + Chunk("data", "")), E::EmptyData, ""},
        {Riff(Fmt(16, 2) + Chunk("data", "\1\2\3")), E::EmptyData, ""}, // less than a frame
        {Riff(Fmt(16, 1, 22050, 16, 2) + data), E::BadFormat, ""}, // ADPCM
        {Riff(Fmt(16, 0) + data), E::BadFormat, ""}, {Riff(Fmt(16, 1, 0) + data), E::BadFormat, ""},
        {Riff(Fmt(16, 1, 22050, 24) + data), E::BadFormat, ""},
        // clang-format on
    };
    std::string read;
    for (size_t row = 0; row < std::size(rows); ++row) {
        EXPECT_EQ(Read(std::get<0>(rows[row]), read), std::get<1>(rows[row])) << "row " << row;
        EXPECT_EQ(read, std::get<2>(rows[row])) << "row " << row;
    }
    const std::string file = Riff(Chunk("LIST", "\1\2\3") + Fmt(18) + Chunk("data", Ramp(64)));
    for (size_t length = 0; length <= file.size(); ++length) {
        Read(file.substr(0, length), read);
        ASSERT_TRUE(Ramp(64).starts_with(read)) << length;
    }
}

// A FIFO, a directory or a device in a sound's place is refused at once, never waited on.
TEST(WaveFile, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
    const fs::path dir = MakeTempFolder("octavane-wave");
    ASSERT_FALSE(dir.empty());
    TNotRegularFiles others(dir);
    for (const std::string& path : others.Paths) {
        TWave wave;
        auto read = std::async(std::launch::async, ReadWaveFile, path, std::ref(wave));
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            others.Unblock(); // let the blocked open go
        }
        EXPECT_EQ(read.get(), TWaveError::NotAFile) << path;
    }
    fs::remove_all(dir);
}

const std::string kShipped = OCTAVANE_ASSETS_DIR "/Sound/";
const std::string kFiles[] = {"Drop", "Tern", "Fall", "Down", "Leady", "Move", "Win", "Lose"};
// The file of each slot: the flip sounds have six voices, the cursor sound two.
const int kFileOfSlot[sndCount] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5, 5, 6, 7};

std::vector<int> g_played; // the channels played on, in order
std::vector<uint8_t> g_lastSamples;
int g_halted = -1, g_chunks = 0;

struct TFakeChunk final : TMixerChunk, std::vector<uint8_t> {
    using vector::vector;
};

struct TFakeMixer final : TMixer {
    std::shared_ptr<TMixerChunk> CreateChunk(const TWaveFormat&,
                                             std::span<const uint8_t> samples) override {
        ++g_chunks;
        return std::make_shared<TFakeChunk>(samples.begin(), samples.end());
    }
    void Halt(int channel) override { g_halted = channel; }
    bool Play(int channel, const TMixerChunk& chunk) override {
        EXPECT_EQ(g_halted, channel) << "a sound still playing is not cut off";
        g_played.push_back(channel);
        g_lastSamples = static_cast<const TFakeChunk&>(chunk);
        return true;
    }
};

struct TFakeAudio final : TAudioSource {
    std::unique_ptr<TMixer> Open(int channels, std::string& /*whyNot*/) override {
        return HasDevice && channels == sndCount ? std::make_unique<TFakeMixer>() : nullptr;
    }
    bool HasDevice = true;
};

// Slots from the first folder with every sound, else some; delayed sounds play when due.
TEST(Sound, EachSlotPlaysItsFilesSamplesOnItsOwnChannelWhenDue) {
    const fs::path pattern = MakeTempFolder("octavane-sound");
    ASSERT_FALSE(pattern.empty());
    const std::string some = pattern.string() + "/", none = some + "none/";
    for (int file = 1; file < 5; ++file) {
        fs::copy(kShipped + kFiles[file] + ".wav", some + kFiles[file] + ".wav");
    }
    std::ofstream(some + "Move.wav") << "RIFF\1\2\3";
    // The folders, whether there is a device (2: no audio source), the folder read.
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
        {{none, some, kShipped}, 1, kShipped}, {{none, some}, 1, some}, {{none}, 1, ""},
        {{kShipped}, 0, ""}, {{kShipped}, 2, ""}}; // clang-format on
    TFakeAudio audio;
    for (const auto& [folders, device, from] : rows) {
        SCOPED_TRACE(testing::Message() << from << " " << device);
        ReleaseSound();
        g_chunks = 0;
        audio.HasDevice = device == 1;
        InitSound(device == 2 ? nullptr : &audio, folders);
        EXPECT_EQ(g_chunks, from == kShipped ? 8 : from == some ? 4 : 0);
        for (int slot = 0; slot < sndCount && !from.empty(); ++slot) {
            ASSERT_NE(g_sounds[slot], nullptr);
            TWave wave;
            const std::string file = from + kFiles[kFileOfSlot[slot]] + ".wav";
            const bool sounds = ReadWaveFile(file, wave) == TWaveError::None;
            g_played.clear();
            g_lastSamples.clear();
            g_sounds[slot]->Play();
            EXPECT_EQ(g_played, sounds ? std::vector<int>{slot} : std::vector<int>{}) << slot;
            EXPECT_EQ(g_lastSamples, wave.Samples) << "slot " << slot;
        }
        EXPECT_EQ(std::count(g_sounds, g_sounds + sndCount, nullptr), from.empty() ? sndCount : 0);
    }
    fs::remove_all(pattern);

    TManualClock clock{5000};
    TScopedClock scope{clock};
    ResetMessageQueue();
    ReleaseSound();
    audio.HasDevice = true;
    InitSound(&audio, {kShipped});
    const auto playedBy = [&](uint32_t now) {
        clock.Set(now);
        TMessage message;
        for (int i = 0; i < 100 && PeekMessage(message); ++i) {
            DispatchMessage(message);
        }
        EXPECT_FALSE(PeekMessage(message)) << "the queue does not run dry";
        return g_played;
    };
    g_played.clear();
    PlaySoundLater(sndFall, 300);
    PlaySoundLater(sndDrop + 1, 400);
    PlaySoundLater(sndTern, 0);
    PlaySoundLater(-1, 0);
    PlaySoundLater(sndCount, 0);
    EXPECT_EQ(playedBy(5000), std::vector<int>{sndTern});
    playedBy(5100);
    PlaySoundLater(sndDrop + 1, 400); // now due at 5500
    EXPECT_EQ(playedBy(5499), (std::vector<int>{sndTern, sndFall}));
    EXPECT_EQ(playedBy(9000), (std::vector<int>{sndTern, sndFall, sndDrop + 1}));
    EXPECT_EQ(MainTimers().Count(), 0u);
    ReleaseSound();
}

} // namespace
