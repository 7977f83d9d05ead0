#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <span>
#include <unistd.h>

#include "device/Sound.h"
#include "device/Wave.h"
#include "platform/Clock.h"
#include "platform/WindowMessages.h"

namespace fs = std::filesystem;

namespace {

const std::string kShipped = OCTAVANE_ASSETS_DIR "/Sound/";
const std::string kFiles[] = {"Drop", "Tern", "Fall", "Down", "Leady", "Move", "Win", "Lose"};
// The file of each slot: the flip sounds have six voices, the cursor sound two.
const int kFileOfSlot[sndCount] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5, 5, 6, 7};

std::vector<int> g_played; // the channels played on, in order
std::vector<uint8_t> g_lastSamples;
int g_halted = -1, g_chunks = 0;

struct TFakeChunk final : TMixerChunk {
    std::vector<uint8_t> Samples;
};

struct TFakeMixer final : TMixer {
    std::shared_ptr<TMixerChunk> CreateChunk(const TWaveFormat&,
                                             std::span<const uint8_t> samples) override {
        ++g_chunks;
        auto chunk = std::make_shared<TFakeChunk>();
        chunk->Samples.assign(samples.begin(), samples.end());
        return chunk;
    }
    void Halt(int channel) override { g_halted = channel; }
    bool Play(int channel, const TMixerChunk& chunk) override {
        EXPECT_EQ(g_halted, channel) << "a sound still playing is not cut off";
        g_played.push_back(channel);
        g_lastSamples = static_cast<const TFakeChunk&>(chunk).Samples;
        return true;
    }
};

struct TFakeAudio final : TAudioSource {
    std::unique_ptr<TMixer> Open(int channels) override {
        return HasDevice && channels == sndCount ? std::make_unique<TFakeMixer>() : nullptr;
    }
    bool HasDevice = true;
};

// The slots come from the first folder holding every sound, else the first holding some, each
// slot on its own channel with its file's samples, read once and shared by its voices; a file
// missing or broken silences its own slots only. Without a folder, a device or an audio
// source every slot stays empty.
TEST(Sound, EachSlotPlaysItsFilesSamplesOnItsOwnChannel) {
    char pattern[] = "/tmp/octavane-sound-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string some = pattern + std::string("/"), none = some + "none/";
    for (int file = 1; file < 5; ++file) {
        fs::copy(kShipped + kFiles[file] + ".wav", some);
    }
    std::ofstream(some + "Move.wav") << "RIFF\1\2\3";
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
        // the folders, 0 no device, 1 a device, 2 no audio source; the folder read
        {{none, some, kShipped}, 1, kShipped},
        {{none, some}, 1, some},
        {{none}, 1, ""},
        {{kShipped}, 0, ""},
        {{kShipped}, 2, ""}};
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
    ReleaseSound();
    fs::remove_all(pattern);
}

// Delayed sounds: one timer per sound id, fired from the message queue in due order; a second
// request for one id replaces the first, and ids outside the table are ignored.
TEST(Sound, DelayedSoundsPlayOnceWhenDue) {
    TManualClock clock{5000};
    TScopedClock scope{clock};
    ResetMessageQueue();
    TFakeAudio audio;
    InitSound(&audio, {kShipped});
    const auto playedBy = [&](uint32_t now) {
        clock.Set(now);
        TMessage message;
        for (int i = 0; i < 100 && PeekMessage(message); ++i) {
            DispatchMessage(message);
        }
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
