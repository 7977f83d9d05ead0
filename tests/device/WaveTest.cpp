#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "WaveBuilder.h"
#include "device/Wave.h"

namespace {

using TBytes = std::vector<uint8_t>;
using TB = TWaveBuilder;

TWaveError Read(const TBytes& bytes, TWave& wave) {
    TMemorySource source(bytes);
    return ReadWave(source, wave);
}

TBytes Cut(TBytes bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

struct TWaveRow {
    const char* Name;
    TBytes File;
    TWaveError Error;
    std::optional<TBytes> Samples; // what a good read gives
};

// Every file the reader meets: good ones give exactly their samples, broken ones a silent slot
// or the samples really there, never more.
TEST(WaveReader, EachFileGivesItsSamplesOrItsError) {
    const TBytes ramp = TB::Ramp(12);
    const TWaveRow rows[] = {
        {"18-byte format", TB().Header().Format(18, 2, 44100).Data(ramp).Bytes, TWaveError::None,
         ramp},
        {"longer format", TB().Header().Format(40).Data(ramp).Bytes, TWaveError::None, ramp},
        {"odd chunks and their pad bytes",
         TB().Header()
             .Chunk("LIST", {1, 2, 3, 4, 5})
             .Format()
             .Chunk("fact", {9, 9, 9})
             .Data(ramp)
             .Bytes,
         TWaveError::None, ramp},
        {"odd data chunk",
         TB().Header().Format(16, 1, 8000, 8).Data(TB::Ramp(7)).Chunk("junk", {1}).Bytes,
         TWaveError::None, TB::Ramp(7)},
        {"last data wins", TB().Header().Format().Data(TB::Ramp(20)).Data(ramp).Bytes,
         TWaveError::None, ramp},
        {"format after data", TB().Header().Data(ramp).Format().Bytes, TWaveError::None, ramp},
        {"partial frame dropped", TB().Header().Format(16, 2).Data(TB::Ramp(10)).Bytes,
         TWaveError::None, TB::Ramp(8)},
        {"float", TB().Header().Format(18, 1, 48000, 32, WAVE_FORMAT_IEEE_FLOAT).Data(ramp).Bytes,
         TWaveError::None, ramp},
        {"huge data claim", TB().Header().Format().ChunkClaiming("data", 0x7FFFFFF0u, ramp).Bytes,
         TWaveError::None, ramp},
        {"claim a little long", TB().Header().Format().ChunkClaiming("data", 100, ramp).Bytes,
         TWaveError::None, ramp},
        {"claim that wraps", TB().Header().Format().ChunkClaiming("data", 0xFFFFFFFFu, ramp).Bytes,
         TWaveError::None, ramp},
        {"cut chunk header",
         TB().Header().Format().Data(ramp).Raw({'d', 'a', 't', 'a', 0x10, 0}).Bytes,
         TWaveError::None, ramp},
        {"RIFX", TB().Header("RIFX").Format().Data(ramp).Bytes, TWaveError::NotRiffWave, {}},
        {"AVI", TB().Header("RIFF", "AVI ").Format().Data(ramp).Bytes, TWaveError::NotRiffWave, {}},
        {"short header", {'R', 'I', 'F', 'F', 0, 0}, TWaveError::NotRiffWave, {}},
        {"no format", TB().Header().Data(ramp).Bytes, TWaveError::NoFormat, {}},
        {"no data", TB().Header().Format().Bytes, TWaveError::NoData, {}},
        {"skip that wraps ends the walk",
         TB().Header().Format().ChunkClaiming("junk", 0xFFFFFFFFu, TB().Data(ramp).Bytes).Bytes,
         TWaveError::NoData,
         {}},
        {"2-byte format",
         TB().Header().Chunk("fmt ", {1, 0}).Data(ramp).Bytes,
         TWaveError::NoFormat,
         {}},
        {"format cut by the end",
         Cut(TB().Header().Data(ramp).Format().Bytes, 12 + 20 + 14),
         TWaveError::NoFormat,
         {}},
        {"empty data", TB().Header().Format().Data({}).Bytes, TWaveError::EmptyData, {}},
        {"less than a frame",
         TB().Header().Format(16, 2).Data({1, 2, 3}).Bytes,
         TWaveError::EmptyData,
         {}},
        {"ADPCM",
         TB().Header().Format(16, 1, 22050, 16, 2).Data(ramp).Bytes,
         TWaveError::BadFormat,
         {}},
        {"no channels", TB().Header().Format(16, 0).Data(ramp).Bytes, TWaveError::BadFormat, {}},
        {"rate 0", TB().Header().Format(16, 1, 0).Data(ramp).Bytes, TWaveError::BadFormat, {}},
        {"24-bit",
         TB().Header().Format(16, 1, 22050, 24).Data(ramp).Bytes,
         TWaveError::BadFormat,
         {}},
    };
    for (const TWaveRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TWave wave;
        wave.Samples = {42};
        EXPECT_EQ(Read(row.File, wave), row.Error);
        EXPECT_EQ(wave.Samples, row.Samples.value_or(TBytes{42})); // untouched when it fails
    }
}

TEST(WaveReader, ReadsTheFormatFields) {
    TWave wave;
    ASSERT_EQ(Read(TB().Header().Format(16, 2, 22050).Data(TB::Ramp(8)).Bytes, wave),
              TWaveError::None);
    EXPECT_EQ(wave.Format.FormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.Format.Channels, 2);
    EXPECT_EQ(wave.Format.SamplesPerSec, 22050u);
    EXPECT_EQ(wave.Format.BlockAlign, 4);
    EXPECT_EQ(wave.Format.ExtraSize, 0); // the next chunk's bytes are not cbSize
}

// Every prefix of a good file: never a crash, never a sample not in the file.
TEST(WaveReader, EveryTruncationOfAGoodFileIsSafe) {
    const TBytes samples = TB::Ramp(64);
    const TBytes file = TB().Header().Chunk("LIST", {1, 2, 3}).Format(18).Data(samples).Bytes;
    for (size_t length = 0; length <= file.size(); ++length) {
        SCOPED_TRACE(length);
        TWave wave;
        if (Read(Cut(file, length), wave) == TWaveError::None) {
            ASSERT_LE(wave.Samples.size(), samples.size());
            ASSERT_TRUE(std::equal(wave.Samples.begin(), wave.Samples.end(), samples.begin()));
        }
    }
}

class WaveFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/octavane-wave-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::filesystem::path Dir;
};

// A FIFO, a directory or a device in a sound's place is refused at once: never waited on.
TEST_F(WaveFile, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
    TWave wave;
    EXPECT_EQ(ReadWaveFile((Dir / "missing.wav").string(), wave), TWaveError::CannotOpen);
    const std::string fifo = (Dir / "Drop.wav").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, Dir.string(), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        auto read = std::async(std::launch::async, [path] {
            TWave wave;
            return ReadWaveFile(path, wave);
        });
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // let the blocked open go
            ADD_FAILURE() << "the reader blocked";
        }
        EXPECT_EQ(read.get(), TWaveError::NotAFile);
    }
}

TEST_F(WaveFile, ReadsFromDiskAndLeavesNoHandleOpen) {
    const auto count = [] {
        const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    const TBytes there = TB::Ramp(30);
    const TBytes good = TB().Header().Format().ChunkClaiming("data", 0xFFFFFFF0u, there).Bytes;
    std::ofstream((Dir / "good.wav"), std::ios::binary)
        .write(reinterpret_cast<const char*>(good.data()), std::streamsize(good.size()));
    std::ofstream(Dir / "bad.wav", std::ios::binary) << "RIFX....WAVEfmt ";
    const auto before = count();
    for (int i = 0; i < 20; ++i) {
        TWave wave;
        ASSERT_EQ(ReadWaveFile((Dir / "bad.wav").string(), wave), TWaveError::NotRiffWave);
        ASSERT_EQ(ReadWaveFile((Dir / "good.wav").string(), wave), TWaveError::None);
        ASSERT_EQ(wave.Samples, there);
    }
    EXPECT_EQ(count(), before);
}

TEST(WaveShipped, EveryEffectIsReadableAndShort) {
    for (const std::string name :
         {"Drop", "Tern", "Fall", "Down", "Leady", "Move", "Win", "Lose"}) {
        SCOPED_TRACE(name);
        TWave wave;
        ASSERT_EQ(ReadWaveFile(OCTAVANE_ASSETS_DIR "/Sound/" + name + ".wav", wave),
                  TWaveError::None);
        const double seconds = double(wave.Samples.size()) / wave.Format.AvgBytesPerSec;
        EXPECT_LT(seconds, name == "Win" || name == "Lose" ? 2.5 : 1.0);
        EXPECT_GT(seconds, 0.02);
    }
}

} // namespace
