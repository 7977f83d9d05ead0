#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <numeric>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "device/Wave.h"

namespace {

// RIFF/WAVE files put together byte by byte, broken ones included.
std::string Le(uint32_t value, int size) {
    std::string out;
    for (int i = 0; i < size; ++i) {
        out += char(value >> (8 * i));
    }
    return out;
}
// A chunk claiming `claim` bytes; by default its real size, then with its pad byte when odd.
std::string Chunk(const char* id, const std::string& body, int64_t claim = -1) {
    const std::string pad(claim < 0 ? body.size() % 2 : 0, '\0');
    return id + Le(uint32_t(claim < 0 ? body.size() : claim), 4) + body + pad;
}
std::string Fmt(size_t size = 16, uint16_t channels = 1, uint32_t rate = 22050, uint16_t bits = 16,
                uint16_t tag = 1) {
    const uint32_t align = channels * bits / 8;
    std::string body = Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) +
                       Le(align, 2) + Le(bits, 2);
    body.resize(size, '\0');
    return Chunk("fmt ", body);
}
std::string Riff(const std::string& chunks, const char* form = "WAVE", const char* riff = "RIFF") {
    return riff + Le(0, 4) + form + chunks; // the RIFF size is not read
}
std::string Ramp(size_t count) {
    std::string out(count, '\0');
    std::iota(out.begin(), out.end(), 1);
    return out;
}

std::string Error(TWaveError error) {
    return "error " + std::to_string(int(error));
}

// The samples of a good read, else its error.
std::string Read(const std::string& file, TWave& wave) {
    TMemorySource source({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
    const TWaveError error = ReadWave(source, wave);
    return error == TWaveError::None ? std::string(wave.Samples.begin(), wave.Samples.end())
                                     : Error(error);
}

// Every file the reader meets: a good one gives exactly its samples, a broken one its error,
// and no size in the file is trusted beyond its end.
TEST(WaveReader, EachFileGivesItsSamplesOrItsError) {
    using E = TWaveError;
    const std::string ramp = Ramp(12), data = Chunk("data", ramp);
    const std::string odd = Chunk("LIST", "\1\2\3\4\5") + Fmt() + Chunk("fact", "\11\11\11");
    const std::pair<std::string, std::string> rows[] = {
        // clang-format off
        {Riff(Fmt(18, 2, 44100) + data), ramp},
        {Riff(Fmt(40) + data), ramp},
        {Riff(odd + data), ramp}, // odd chunks and their pad bytes
        {Riff(Fmt(16, 1, 8000, 8) + Chunk("data", Ramp(7)) + Chunk("junk", "\1")), Ramp(7)},
        {Riff(Fmt() + Chunk("data", Ramp(20)) + data), ramp}, // the last data chunk
        {Riff(data + Fmt()), ramp},
        {Riff(Fmt(16, 2) + Chunk("data", Ramp(10))), Ramp(8)}, // whole frames only
        {Riff(Fmt(18, 1, 48000, 32, WAVE_FORMAT_IEEE_FLOAT) + data), ramp},
        {Riff(Fmt() + Chunk("data", ramp, 0x7FFFFFF0)), ramp}, // claims more than is there
        {Riff(Fmt() + Chunk("data", ramp, 100)), ramp},
        {Riff(Fmt() + Chunk("data", ramp, 0xFFFFFFFF)), ramp},
        {Riff(Fmt() + data + "data" + Le(16, 2)), ramp}, // a cut chunk header
        {Riff(Fmt() + data, "WAVE", "RIFX"), Error(E::NotRiffWave)},
        {Riff(Fmt() + data, "AVI "), Error(E::NotRiffWave)},
        {Riff("").substr(0, 6), Error(E::NotRiffWave)},
        {Riff(data), Error(E::NoFormat)},
        {Riff(Chunk("fmt ", std::string(2, '\1')) + data), Error(E::NoFormat)},
        {Riff(data + Fmt()).substr(0, 12 + 20 + 14), Error(E::NoFormat)}, // format cut short
        {Riff(Fmt()), Error(E::NoData)},
        {Riff(Fmt() + Chunk("junk", data, 0xFFFFFFFF)), Error(E::NoData)}, // a skip that wraps
        {Riff(Fmt() + Chunk("data", "")), Error(E::EmptyData)},
        {Riff(Fmt(16, 2) + Chunk("data", "\1\2\3")), Error(E::EmptyData)}, // less than a frame
        {Riff(Fmt(16, 1, 22050, 16, 2) + data), Error(E::BadFormat)}, // ADPCM
        {Riff(Fmt(16, 0) + data), Error(E::BadFormat)},
        {Riff(Fmt(16, 1, 0) + data), Error(E::BadFormat)},
        {Riff(Fmt(16, 1, 22050, 24) + data), Error(E::BadFormat)},
        // clang-format on
    };
    for (size_t row = 0; row < std::size(rows); ++row) {
        TWave wave;
        EXPECT_EQ(Read(rows[row].first, wave), rows[row].second) << "row " << row;
    }
    TWave wave;
    ASSERT_EQ(Read(Riff(Fmt(16, 2) + Chunk("data", Ramp(8)) + Chunk("LIST", "\7")), wave), Ramp(8));
    const TWaveFormat& format = wave.Format; // the next chunk's bytes are not cbSize
    EXPECT_EQ(std::tie(format.SamplesPerSec, format.BlockAlign, format.ExtraSize),
              std::make_tuple(22050u, uint16_t{4}, uint16_t{0}));
}

// Every prefix of a good file: never a sample that is not in the file.
TEST(WaveReader, EveryTruncationOfAGoodFileIsSafe) {
    const std::string samples = Ramp(64);
    const std::string file = Riff(Chunk("LIST", "\1\2\3") + Fmt(18) + Chunk("data", samples));
    for (size_t length = 0; length <= file.size(); ++length) {
        TWave wave;
        const std::string read = Read(file.substr(0, length), wave);
        ASSERT_TRUE(read.starts_with("error") || samples.starts_with(read)) << length;
    }
}

// A FIFO, a directory or a device in a sound's place is refused at once: never waited on.
TEST(WaveFile, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
    char dir[] = "/tmp/octavane-wave-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/Drop.wav";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string(dir), std::string("/dev/zero")}) {
        TWave wave;
        auto read = std::async(std::launch::async, ReadWaveFile, path, std::ref(wave));
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // let the blocked open go
        }
        EXPECT_EQ(read.get(), TWaveError::NotAFile) << path;
    }
    TWave missing;
    EXPECT_EQ(ReadWaveFile(fifo + ".missing", missing), TWaveError::CannotOpen);
    std::filesystem::remove_all(dir);
}

} // namespace
