#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "DeviceFakes.h"
#include "WaveBuilder.h"
#include "device/Sound.h"
#include "platform/Clock.h"
#include "platform/WindowMessages.h"

namespace fs = std::filesystem;

namespace {

const char* const kFiles[] = {"Drop", "Tern", "Fall", "Down", "Leady", "Move", "Win", "Lose"};

// The file of each slot: the flip sounds have six voices, the cursor sound two.
const int kFileOfSlot[sndCount] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5, 5, 6, 7};

// Each test in a fresh directory holding Sound/*.wav, each file with its own samples.
class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Previous = fs::current_path();
        char pattern[] = "/tmp/octavane-sound-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Dir = pattern;
        fs::create_directories(Dir / "Sound");
        for (int file = 0; file < 8; ++file) {
            Write(kFiles[file], TWaveBuilder().Header().Format().Data(Samples(file)).Bytes);
        }
        fs::current_path(Dir);
        ResetMessageQueue();
    }
    void TearDown() override {
        ReleaseSound();
        ResetMessageQueue();
        ::unsetenv("OCTAVANE_SOUND_DEBUG");
        fs::current_path(Previous);
        fs::remove_all(Dir);
    }
    static std::vector<uint8_t> Samples(int file) { return TWaveBuilder::Ramp(8, 1 + 16 * file); }
    void Write(const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(Dir / "Sound" / (std::string(name) + ".wav"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<int> PlayedChannels() const {
        std::vector<int> channels;
        for (const TMixerCall& call : Audio.Calls) {
            if (call.What == "play") {
                channels.push_back(call.Channel);
            }
        }
        return channels;
    }
    // Dispatches whatever the loop would at tick `now`.
    void DrainAt(uint32_t now) {
        Clock.Set(now);
        TMessage message;
        for (int i = 0; PeekMessage(message); ++i) {
            ASSERT_LT(i, 1000) << "the queue does not run dry";
            DispatchMessage(message);
        }
    }
    fs::path Previous;
    fs::path Dir;
    TFakeAudio Audio;
    TManualClock Clock{5000};
    TScopedClock UseClock{Clock};
};

// Every slot on its own channel with its file's samples, shared by the duplicates; a missing
// or broken file silences its own slots only, and what is silent plays nothing.
TEST_F(SoundTest, EachSlotPlaysItsFilesSamplesOnItsOwnChannel) {
    for (const int broken : {0, 5, -1}) {
        SCOPED_TRACE(broken);
        ReleaseSound();
        Audio.Calls.clear();
        if (broken >= 0) {
            Write(kFiles[broken], {'R', 'I', 'F', 'F', 1, 2, 3});
        }
        ::testing::internal::CaptureStderr();
        InitSound(&Audio);
        EXPECT_EQ(::testing::internal::GetCapturedStderr().empty(), broken < 0);
        EXPECT_EQ(Audio.OpenedChannels, sndCount);
        for (int slot = 0; slot < sndCount; ++slot) {
            SCOPED_TRACE(slot);
            const int file = kFileOfSlot[slot];
            ASSERT_NE(g_sounds[slot], nullptr);
            Audio.Calls.clear();
            g_sounds[slot]->Play();
            if (file == broken) {
                EXPECT_EQ(g_sounds[slot]->Buffer, nullptr);
                EXPECT_TRUE(PlayedChannels().empty());
                continue;
            }
            ASSERT_EQ(Audio.Calls.size(), 2u);
            EXPECT_EQ(Audio.Calls[0].What, "halt");
            EXPECT_EQ(Audio.Calls[0].Channel, slot);
            EXPECT_EQ(PlayedChannels(), std::vector<int>{slot});
            EXPECT_EQ(static_cast<const TFakeChunk*>(Audio.Calls[1].Chunk)->Samples, Samples(file));
        }
        if (broken >= 0) {
            Write(kFiles[broken], TWaveBuilder().Header().Format().Data(Samples(broken)).Bytes);
        }
    }
    EXPECT_EQ(g_sounds[sndDrop + 1]->Buffer, g_sounds[sndDrop]->Buffer);
    EXPECT_EQ(Audio.Mixer->ChunksMade, 8); // one per file; duplicates make none
}

TEST_F(SoundTest, WithoutSoundsOrAudioEverySlotIsEmptyAndPlaysNothing) {
    ::testing::internal::CaptureStderr();
    InitSound(&Audio, {"Nowhere", "Elsewhere"});
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << "one message for all";
    EXPECT_EQ(g_mixer, nullptr);
    ReleaseSound();
    Audio.HasDevice = false;
    InitSound(&Audio);
    EXPECT_TRUE(std::all_of(std::begin(g_sounds), std::end(g_sounds),
                            [](const TSoundBuffer* sound) { return sound == nullptr; }));
    PlaySoundLater(sndWin, 0);
    DrainAt(5000);
    ReleaseSound();
    ReleaseSound();
    EXPECT_EQ(g_mixer, nullptr);
}

// Which of several candidate folders the sounds are read from: the first complete one, else
// the first with some, else none.
TEST(SoundFolder, FirstCompleteFolderElseFirstPartialElseNone) {
    char pattern[] = "/tmp/octavane-folders-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path root = pattern;
    for (const auto& [name, files] : {std::pair{"all", 8}, {"all2", 8}, {"some", 3}, {"one", 1}}) {
        fs::create_directories(root / name);
        for (int i = 0; i < files; ++i) {
            std::ofstream(root / name / (std::string(kFiles[i]) + ".wav")) << "RIFF";
        }
    }
    fs::create_directories(root / "dirs" / "Drop.wav"); // a folder by a sound's name
    const std::pair<std::vector<const char*>, const char*> rows[] = {
        {{"missing", "all"}, "all"},    {{"dirs", "all2", "all"}, "all2"},
        {{"some", "all"}, "all"},       {{"one", "some", "dirs"}, "one"},
        {{"missing", "dirs"}, nullptr}, {{}, nullptr},
    };
    for (const auto& [names, expected] : rows) {
        std::vector<std::string> folders;
        for (const char* name : names) {
            folders.push_back((root / name).string());
        }
        SCOPED_TRACE(testing::PrintToString(folders));
        EXPECT_EQ(FindSoundFolder(folders), expected ? (root / expected).string() : "");
    }
    fs::remove_all(root);
}

// A report after each sound only when the debug variable asks for it.
TEST_F(SoundTest, EachPlayIsReportedOnlyWhenTheDebugVariableAsks) {
    InitSound(&Audio);
    const std::tuple<const char*, bool, bool> rows[] = {
        {nullptr, false, false}, {"", false, false},  {"0", true, false},
        {"1", false, true},      {"yes", true, true},
    };
    for (const auto& [value, fails, reported] : rows) {
        SCOPED_TRACE(value ? value : "unset");
        value ? ::setenv("OCTAVANE_SOUND_DEBUG", value, 1) : ::unsetenv("OCTAVANE_SOUND_DEBUG");
        Audio.Mixer->FailPlays = fails;
        ::testing::internal::CaptureStderr();
        g_sounds[sndWin]->Play();
        EXPECT_EQ(::testing::internal::GetCapturedStderr().empty(), !reported);
    }
}

// Delayed sounds: one timer per sound id, fired from the message queue in due order; a second
// request for one id replaces the first, and ids outside the table are ignored.
TEST_F(SoundTest, DelayedSoundsPlayOnceWhenDue) {
    InitSound(&Audio);
    PlaySoundLater(sndFall, 300);
    PlaySoundLater(sndDrop + 1, 400);
    PlaySoundLater(sndTern, 0);
    PlaySoundLater(-1, 0);
    PlaySoundLater(sndCount, 0);
    DrainAt(5000);
    EXPECT_EQ(PlayedChannels(), std::vector<int>{sndTern});
    DrainAt(5100);
    PlaySoundLater(sndDrop + 1, 400); // now due at 5500
    DrainAt(5299);
    EXPECT_EQ(PlayedChannels(), std::vector<int>{sndTern});
    DrainAt(5499);
    EXPECT_EQ(PlayedChannels(), (std::vector<int>{sndTern, sndFall}));
    DrainAt(5500);
    DrainAt(9000);
    EXPECT_EQ(PlayedChannels(), (std::vector<int>{sndTern, sndFall, sndDrop + 1}));
    EXPECT_EQ(MainTimers().Count(), 0u);
}

} // namespace
