#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include "WaveBuilder.h"
#include "device/Wave.h"

namespace {

TWaveError Read(const std::vector<uint8_t>& bytes, TWave& wave) {
    TMemorySource source(bytes);
    return ReadWave(source, wave);
}

// --- Files the reader must accept ---------------------------------------------------------

TEST(WaveReader, Reads16ByteFormatChunk) {
    const auto samples = TWaveBuilder::Ramp(40);
    const auto file = TWaveBuilder().Header().Format(16, 1, 22050).Data(samples).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Format.FormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.Format.Channels, 1);
    EXPECT_EQ(wave.Format.SamplesPerSec, 22050u);
    EXPECT_EQ(wave.Format.BitsPerSample, 16);
    EXPECT_EQ(wave.Format.BlockAlign, 2);
    // Two bytes past a 16-byte chunk belong to the next chunk, not to cbSize.
    EXPECT_EQ(wave.Format.ExtraSize, 0);
    EXPECT_EQ(wave.Samples, samples);
}

TEST(WaveReader, Reads18ByteFormatChunk) {
    const auto samples = TWaveBuilder::Ramp(8);
    const auto file = TWaveBuilder().Header().Format(18, 2, 44100).Data(samples).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Format.Channels, 2);
    EXPECT_EQ(wave.Format.BlockAlign, 4);
    EXPECT_EQ(wave.Samples, samples);
}

TEST(WaveReader, LongerFormatChunkIsSkippedWhole) {
    const auto samples = TWaveBuilder::Ramp(6);
    const auto file = TWaveBuilder().Header().Format(40).Data(samples).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, samples);
}

TEST(WaveReader, SkipsOddSizedChunkAndItsPadByteBeforeData) {
    const auto samples = TWaveBuilder::Ramp(10, 100);
    const auto file = TWaveBuilder()
                          .Header()
                          .Chunk("LIST", {1, 2, 3, 4, 5})
                          .Format()
                          .Chunk("fact", {9, 9, 9})
                          .Data(samples)
                          .Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, samples);
}

TEST(WaveReader, OddSizedDataChunkSkipsItsPadByte) {
    // 8-bit mono: an odd number of samples is a whole number of frames.
    const auto first = TWaveBuilder::Ramp(7, 10);
    const auto file =
        TWaveBuilder().Header().Format(16, 1, 8000, 8).Data(first).Chunk("junk", {1, 2}).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, first);
}

TEST(WaveReader, LastOfSeveralDataChunksWins) {
    const auto file = TWaveBuilder()
                          .Header()
                          .Format()
                          .Data(TWaveBuilder::Ramp(20, 1))
                          .Data(TWaveBuilder::Ramp(6, 200))
                          .Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, TWaveBuilder::Ramp(6, 200));
}

TEST(WaveReader, FormatAfterDataIsFound) {
    const auto file = TWaveBuilder().Header().Data(TWaveBuilder::Ramp(4)).Format().Bytes;
    TWave wave;
    EXPECT_EQ(Read(file, wave), TWaveError::None);
}

TEST(WaveReader, DropsTrailingPartialFrame) {
    const auto file = TWaveBuilder().Header().Format(16, 2).Data(TWaveBuilder::Ramp(10)).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples.size(), 8u); // two whole 4-byte frames
}

TEST(WaveReader, AcceptsFloatSamples) {
    const auto file = TWaveBuilder()
                          .Header()
                          .Format(18, 1, 48000, 32, WAVE_FORMAT_IEEE_FLOAT)
                          .Data(TWaveBuilder::Ramp(8))
                          .Bytes;
    TWave wave;
    EXPECT_EQ(Read(file, wave), TWaveError::None);
}

// --- Broken files: a silent slot or the samples really there, never more --------------------

TEST(WaveReader, RejectsWrongHeader) {
    TWave wave;
    EXPECT_EQ(Read(TWaveBuilder().Header("RIFX").Format().Data({1, 2}).Bytes, wave),
              TWaveError::NotRiffWave);
    EXPECT_EQ(Read(TWaveBuilder().Header("RIFF", "AVI ").Format().Data({1, 2}).Bytes, wave),
              TWaveError::NotRiffWave);
    EXPECT_EQ(Read({}, wave), TWaveError::NotRiffWave);
    EXPECT_EQ(Read({'R', 'I', 'F', 'F', 0, 0}, wave), TWaveError::NotRiffWave);
}

TEST(WaveReader, MissingChunksGiveSilence) {
    TWave wave;
    EXPECT_EQ(Read(TWaveBuilder().Header().Data({1, 2}).Bytes, wave), TWaveError::NoFormat);
    EXPECT_EQ(Read(TWaveBuilder().Header().Format().Bytes, wave), TWaveError::NoData);
    EXPECT_EQ(Read(TWaveBuilder().Header().Bytes, wave), TWaveError::NoFormat);
}

TEST(WaveReader, DataClaimingMoreThanTheFileGivesWhatIsThere) {
    const auto there = TWaveBuilder::Ramp(12);
    const auto file =
        TWaveBuilder().Header().Format().ChunkClaiming("data", 0x7FFFFFF0u, there).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, there);
}

TEST(WaveReader, DataSlightlyLongerThanTheFileGivesWhatIsThere) {
    const auto there = TWaveBuilder::Ramp(12);
    const auto file = TWaveBuilder().Header().Format().ChunkClaiming("data", 100, there).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, there);
}

TEST(WaveReader, SizeThatWouldWrapWhenPaddedEndsTheWalk) {
    // 0xFFFFFFFF + 1 wraps to 0 in 32 bits; a reader doing so would read the body as chunks.
    const auto file = TWaveBuilder()
                          .Header()
                          .Format()
                          .ChunkClaiming("junk", 0xFFFFFFFFu, TWaveBuilder().Data({1, 2}).Bytes)
                          .Bytes;
    TWave wave;
    EXPECT_EQ(Read(file, wave), TWaveError::NoData);
}

TEST(WaveReader, HugeDataClaimWithWrapGivesTheRealSamples) {
    const auto there = TWaveBuilder::Ramp(6);
    const auto file =
        TWaveBuilder().Header().Format().ChunkClaiming("data", 0xFFFFFFFFu, there).Bytes;
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, there);
}

TEST(WaveReader, ShortFormatChunkIsNotUsable) {
    // A 2-byte format chunk followed by data: the reader must not take the data's header bytes
    // as channels and sample rate.
    const auto file =
        TWaveBuilder().Header().Chunk("fmt ", {1, 0}).Data(TWaveBuilder::Ramp(16)).Bytes;
    TWave wave;
    EXPECT_EQ(Read(file, wave), TWaveError::NoFormat);
}

TEST(WaveReader, FormatChunkCutByEndOfFile) {
    auto file = TWaveBuilder().Header().Data({1, 2}).Bytes;
    const auto tail = TWaveBuilder().Format().Bytes;
    file.insert(file.end(), tail.begin(), tail.begin() + 14); // header + 6 bytes of 16
    TWave wave;
    EXPECT_EQ(Read(file, wave), TWaveError::NoFormat);
}

TEST(WaveReader, ZeroByteDataIsSilent) {
    TWave wave;
    EXPECT_EQ(Read(TWaveBuilder().Header().Format().Data({}).Bytes, wave), TWaveError::EmptyData);
}

TEST(WaveReader, DataShorterThanOneFrameIsSilent) {
    TWave wave;
    EXPECT_EQ(Read(TWaveBuilder().Header().Format(16, 2).Data({1, 2, 3}).Bytes, wave),
              TWaveError::EmptyData);
}

TEST(WaveReader, TruncatedChunkHeaderEndsTheWalk) {
    auto file = TWaveBuilder().Header().Format().Data(TWaveBuilder::Ramp(4)).Bytes;
    file.insert(file.end(), {'d', 'a', 't', 'a', 0x10, 0}); // 2 of the 4 size bytes
    TWave wave;
    ASSERT_EQ(Read(file, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, TWaveBuilder::Ramp(4));
}

TEST(WaveReader, UnplayableFormatsAreSilent) {
    TWave wave;
    const auto data = TWaveBuilder::Ramp(12);
    EXPECT_EQ(Read(TWaveBuilder().Header().Format(16, 1, 22050, 16, 2).Data(data).Bytes, wave),
              TWaveError::BadFormat); // ADPCM
    EXPECT_EQ(Read(TWaveBuilder().Header().Format(16, 0).Data(data).Bytes, wave),
              TWaveError::BadFormat);
    EXPECT_EQ(Read(TWaveBuilder().Header().Format(16, 1, 0).Data(data).Bytes, wave),
              TWaveError::BadFormat);
    EXPECT_EQ(Read(TWaveBuilder().Header().Format(16, 1, 22050, 24).Data(data).Bytes, wave),
              TWaveError::BadFormat);
}

TEST(WaveReader, FailedReadLeavesTheResultUntouched) {
    TWave wave;
    wave.Samples = {42};
    EXPECT_NE(Read(TWaveBuilder().Header().Format().Bytes, wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, std::vector<uint8_t>{42});
}

// Every prefix of a good file must be handled: never a crash, never a sample not in the file.
TEST(WaveReader, EveryTruncationOfAGoodFileIsSafe) {
    const auto samples = TWaveBuilder::Ramp(64);
    const auto file =
        TWaveBuilder().Header().Chunk("LIST", {1, 2, 3}).Format(18).Data(samples).Bytes;
    for (size_t length = 0; length <= file.size(); ++length) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + length);
        TWave wave;
        const TWaveError error = Read(cut, wave);
        if (error == TWaveError::None) {
            ASSERT_LE(wave.Samples.size(), samples.size());
            ASSERT_TRUE(std::equal(wave.Samples.begin(), wave.Samples.end(), samples.begin()));
        }
    }
}

// --- Files on disk ---------------------------------------------------------------------------

TEST(WaveFile, MissingFileCannotBeOpened) {
    TWave wave;
    EXPECT_EQ(ReadWaveFile("/nonexistent/Sound/Drop.wav", wave), TWaveError::CannotOpen);
}

// A FIFO, a directory or a device in a sound's place is refused at once: never waited on.
TEST(WaveFile, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("octavane-wave-special-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string fifo = (dir / "Drop.wav").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir.string(), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        auto read = std::async(std::launch::async, [path] {
            TWave wave;
            return ReadWaveFile(path, wave);
        });
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Let the blocked open go, so that the test can end and report.
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            ::close(writer);
            ADD_FAILURE() << "the reader blocked";
        }
        EXPECT_EQ(read.get(), TWaveError::NotAFile);
    }
    std::filesystem::remove_all(dir);
}

size_t OpenFileCount() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(WaveFile, RejectedFileLeavesNoHandleOpen) {
    const auto path = std::filesystem::temp_directory_path() / "octavane-not-a-wave.wav";
    std::ofstream(path, std::ios::binary) << "RIFX....WAVEfmt ";
    const size_t before = OpenFileCount();
    for (int i = 0; i < 50; ++i) {
        TWave wave;
        ASSERT_EQ(ReadWaveFile(path.string(), wave), TWaveError::NotRiffWave);
    }
    EXPECT_EQ(OpenFileCount(), before);
    std::filesystem::remove(path);
}

TEST(WaveFile, ReadsFromDiskWithOversizedClaim) {
    const auto path = std::filesystem::temp_directory_path() / "octavane-wave-test.wav";
    const auto there = TWaveBuilder::Ramp(30);
    const auto bytes =
        TWaveBuilder().Header().Format().ChunkClaiming("data", 0xFFFFFFF0u, there).Bytes;
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    TWave wave;
    EXPECT_EQ(ReadWaveFile(path.string(), wave), TWaveError::None);
    EXPECT_EQ(wave.Samples, there);
    std::filesystem::remove(path);
}

TEST(WaveFile, ShippedEffectsAreReadable) {
    const char* names[] = {"Drop", "Tern", "Fall", "Down", "Leady", "Move", "Win", "Lose"};
    for (const char* name : names) {
        const std::string path = std::string(OCTAVANE_ASSETS_DIR) + "/Sound/" + name + ".wav";
        TWave wave;
        ASSERT_EQ(ReadWaveFile(path, wave), TWaveError::None) << path;
        EXPECT_EQ(wave.Format.BitsPerSample, 16) << path;
        const double seconds = double(wave.Samples.size()) / wave.Format.AvgBytesPerSec;
        const bool long_ok = std::string(name) == "Win" || std::string(name) == "Lose";
        EXPECT_LT(seconds, long_ok ? 2.5 : 1.0) << path;
        EXPECT_GT(seconds, 0.02) << path;
    }
}

} // namespace
