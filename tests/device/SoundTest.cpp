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

// Runs each test in a fresh directory holding Sound/*.wav, each file with its own samples.
class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Previous = fs::current_path();
        Dir = fs::temp_directory_path() /
              ("octavane-sound-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir / "Sound");
        uint8_t first = 1;
        for (const char* name : kFiles) {
            Write(name, TWaveBuilder().Header().Format().Data(TWaveBuilder::Ramp(8, first)).Bytes);
            first += 16;
        }
        fs::current_path(Dir);
        ResetMessageQueue();
    }
    void TearDown() override {
        ReleaseSound();
        ResetMessageQueue();
        fs::current_path(Previous);
        fs::remove_all(Dir);
    }
    void Write(const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(Dir / "Sound" / (std::string(name) + ".wav"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    const TFakeChunk* ChunkOf(int slot) const {
        return g_sounds[slot] ? static_cast<const TFakeChunk*>(g_sounds[slot]->Buffer.get())
                              : nullptr;
    }
    fs::path Previous;
    fs::path Dir;
    TFakeAudio Audio;
};

TEST_F(SoundTest, OpensNineteenChannelsAndFillsEverySlot) {
    InitSound(&Audio);
    EXPECT_EQ(Audio.OpenedChannels, sndCount);
    for (int slot = 0; slot < sndCount; ++slot) {
        ASSERT_NE(g_sounds[slot], nullptr) << slot;
        EXPECT_NE(g_sounds[slot]->Buffer, nullptr) << slot;
        EXPECT_EQ(g_sounds[slot]->Channel, slot);
    }
    EXPECT_EQ(Audio.Mixer->ChunksMade, 8); // one per file; duplicates make none
}

TEST_F(SoundTest, DuplicatesShareTheirSourcesSamples) {
    InitSound(&Audio);
    for (int k = 1; k < 6; ++k) {
        EXPECT_EQ(g_sounds[sndDrop + k]->Buffer, g_sounds[sndDrop]->Buffer);
        EXPECT_EQ(g_sounds[sndTern + k]->Buffer, g_sounds[sndTern]->Buffer);
    }
    EXPECT_EQ(g_sounds[sndMove2]->Buffer, g_sounds[sndMove]->Buffer);
    EXPECT_NE(g_sounds[sndDrop]->Buffer, g_sounds[sndTern]->Buffer);
    // Each file's own samples reached its slot.
    EXPECT_EQ(ChunkOf(sndDrop)->Samples, TWaveBuilder::Ramp(8, 1));
    EXPECT_EQ(ChunkOf(sndTern)->Samples, TWaveBuilder::Ramp(8, 17));
    EXPECT_EQ(ChunkOf(sndLose)->Samples, TWaveBuilder::Ramp(8, 1 + 7 * 16));
}

TEST_F(SoundTest, MissingFileSilencesItsGroupOnly) {
    fs::remove(Dir / "Sound" / "Drop.wav");
    InitSound(&Audio);
    for (int k = 0; k < 6; ++k) {
        ASSERT_NE(g_sounds[sndDrop + k], nullptr);
        EXPECT_EQ(g_sounds[sndDrop + k]->Buffer, nullptr);
    }
    for (int slot = sndTern; slot < sndCount; ++slot) {
        EXPECT_NE(g_sounds[slot]->Buffer, nullptr) << slot;
    }
    g_sounds[sndDrop + 3]->Play();
    g_sounds[sndTern]->Play();
    ASSERT_EQ(Audio.Calls.size(), 2u); // only Tern: halt, then play
    EXPECT_EQ(Audio.Calls[1].Channel, sndTern);
}

TEST_F(SoundTest, BrokenFileSilencesItsGroupWithAMessage) {
    Write("Move", {'R', 'I', 'F', 'F', 1, 2, 3});
    ::testing::internal::CaptureStderr();
    InitSound(&Audio);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Sound/Move.wav"), std::string::npos) << err;
    EXPECT_EQ(g_sounds[sndMove]->Buffer, nullptr);
    EXPECT_EQ(g_sounds[sndMove2]->Buffer, nullptr);
    EXPECT_NE(g_sounds[sndWin]->Buffer, nullptr);
}

TEST_F(SoundTest, NoFolderWithSoundsSaysSoOnceAndPlaysSilently) {
    ::testing::internal::CaptureStderr();
    InitSound(&Audio, {"Nowhere", "Elsewhere"});
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(std::all_of(std::begin(g_sounds), std::end(g_sounds),
                            [](const TSoundBuffer* sound) { return sound == nullptr; }));
    EXPECT_EQ(g_mixer, nullptr);
}

// Which of several candidate folders the sounds are read from.
TEST(SoundFolder, FirstCompleteFolderElseFirstPartialElseNone) {
    char pattern[] = "/tmp/octavane-folders-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path root = pattern;
    // Each folder by how many of the eight files it holds; "dirs" holds a folder by a sound's
    // name, which is no sound, and "missing" is not there at all.
    for (const auto& [name, files] : {std::pair{"all", 8}, {"all2", 8}, {"some", 3}, {"one", 1}}) {
        fs::create_directories(root / name);
        for (int i = 0; i < files; ++i) {
            std::ofstream(root / name / (std::string(kFiles[i]) + ".wav")) << "RIFF";
        }
    }
    fs::create_directories(root / "dirs" / "Drop.wav");
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

TEST_F(SoundTest, PlayHaltsThenPlaysOnItsOwnChannel) {
    InitSound(&Audio);
    g_sounds[sndDrop + 2]->Play();
    g_sounds[sndDrop + 2]->Play();
    ASSERT_EQ(Audio.Calls.size(), 4u);
    EXPECT_EQ(Audio.Calls[0].What, "halt");
    EXPECT_EQ(Audio.Calls[0].Channel, 2);
    EXPECT_EQ(Audio.Calls[1].What, "play");
    EXPECT_EQ(Audio.Calls[1].Channel, 2);
    EXPECT_EQ(Audio.Calls[1].Chunk, g_sounds[sndDrop]->Buffer.get());
}

// "OK 2" or "ERROR 2" after each sound only when asked for.
TEST_F(SoundTest, EachPlayIsReportedOnlyWhenTheDebugVariableAsks) {
    InitSound(&Audio);
    struct TRow {
        const char* Value; // null: unset
        bool Fails;
        const char* Expected;
    };
    const TRow rows[] = {
        {nullptr, false, ""},       {"", false, ""}, {"0", true, ""}, {"1", false, "OK 2\n"},
        {"yes", true, "ERROR 2\n"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Value ? row.Value : "unset");
        if (row.Value) {
            ::setenv("OCTAVANE_SOUND_DEBUG", row.Value, 1);
        } else {
            ::unsetenv("OCTAVANE_SOUND_DEBUG");
        }
        Audio.Mixer->FailPlays = row.Fails;
        ::testing::internal::CaptureStderr();
        g_sounds[sndWin]->Play();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.Expected);
    }
    ::unsetenv("OCTAVANE_SOUND_DEBUG");
}

TEST_F(SoundTest, NoAudioDeviceLeavesEverySlotEmptyAndPlaysNothing) {
    Audio.HasDevice = false;
    InitSound(&Audio);
    for (TSoundBuffer* sound : g_sounds) {
        EXPECT_EQ(sound, nullptr);
    }
    ::testing::internal::CaptureStderr();
    PlaySoundLater(sndWin, 0);
    TMessage message;
    while (PeekMessage(message)) {
        DispatchMessage(message);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    InitSound(nullptr);
    EXPECT_EQ(g_mixer, nullptr);
}

TEST_F(SoundTest, ReleaseEmptiesEverySlotAndCanRepeat) {
    InitSound(&Audio);
    ReleaseSound();
    for (TSoundBuffer* sound : g_sounds) {
        EXPECT_EQ(sound, nullptr);
    }
    EXPECT_EQ(g_mixer, nullptr);
    ReleaseSound();
}

// Delayed sounds: one timer per sound id, fired from the message queue.
class SoundLaterTest : public SoundTest {
  protected:
    // Dispatches whatever the loop would at tick `now`.
    void DrainAt(uint32_t now) {
        Clock.Set(now);
        TMessage message;
        while (PeekMessage(message)) {
            DispatchMessage(message);
        }
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
    TManualClock Clock{5000};
    TScopedClock UseClock{Clock};
};

TEST_F(SoundLaterTest, PlaysOnceAfterItsDelay) {
    InitSound(&Audio);
    PlaySoundLater(sndFall, 300);
    DrainAt(5299);
    EXPECT_TRUE(PlayedChannels().empty());
    DrainAt(5300);
    EXPECT_EQ(PlayedChannels(), std::vector<int>{sndFall});
    DrainAt(9000);
    EXPECT_EQ(PlayedChannels(), std::vector<int>{sndFall});
}

TEST_F(SoundLaterTest, ZeroDelayPlaysAtTheNextDispatch) {
    InitSound(&Audio);
    PlaySoundLater(sndMove, 0);
    DrainAt(5000);
    EXPECT_EQ(PlayedChannels(), std::vector<int>{sndMove});
}

TEST_F(SoundLaterTest, SecondRequestForOneIdReplacesTheFirst) {
    InitSound(&Audio);
    PlaySoundLater(sndDrop + 1, 400);
    DrainAt(5100);
    PlaySoundLater(sndDrop + 1, 400); // now due at 5500, the first request is gone
    DrainAt(5400);
    EXPECT_TRUE(PlayedChannels().empty());
    DrainAt(5500);
    EXPECT_EQ(PlayedChannels(), std::vector<int>{sndDrop + 1});
    DrainAt(6000);
    EXPECT_EQ(PlayedChannels().size(), 1u);
}

TEST_F(SoundLaterTest, DifferentIdsPlayIndependentlyInDueOrder) {
    InitSound(&Audio);
    PlaySoundLater(sndTern + 2, 400);
    PlaySoundLater(sndTern + 0, 0);
    PlaySoundLater(sndTern + 1, 200);
    DrainAt(5600);
    EXPECT_EQ(PlayedChannels(), (std::vector<int>{sndTern, sndTern + 1, sndTern + 2}));
}

TEST_F(SoundLaterTest, IdsOutsideTheTableAreIgnored) {
    InitSound(&Audio);
    PlaySoundLater(-1, 0);
    PlaySoundLater(sndCount, 0);
    DrainAt(5000);
    EXPECT_TRUE(PlayedChannels().empty());
    EXPECT_EQ(MainTimers().Count(), 0u);
}

} // namespace
