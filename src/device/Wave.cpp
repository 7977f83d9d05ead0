#include "device/Wave.h"

#include <algorithm>
#include <cstring>

#include "platform/RegularFile.h"

namespace {

constexpr size_t kFormatBytes = 18;      // the format record read from "fmt "
constexpr uint32_t kMinFormatBytes = 16; // a PCM format chunk without cbSize
constexpr uint16_t kMaxChannels = 8;
constexpr uint32_t kMaxSampleRate = 384000;

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

bool ReadExactly(TByteSource& source, void* buffer, size_t count) {
    return source.Read(buffer, count) == count;
}

TWaveFormat DecodeFormat(const uint8_t (&raw)[kFormatBytes]) {
    TWaveFormat format;
    format.FormatTag = Le16(raw + 0);
    format.Channels = Le16(raw + 2);
    format.SamplesPerSec = Le32(raw + 4);
    format.AvgBytesPerSec = Le32(raw + 8);
    format.BlockAlign = Le16(raw + 12);
    format.BitsPerSample = Le16(raw + 14);
    format.ExtraSize = Le16(raw + 16);
    return format;
}

bool IsPlayable(const TWaveFormat& format) {
    const bool pcm =
        format.FormatTag == WAVE_FORMAT_PCM &&
        (format.BitsPerSample == 8 || format.BitsPerSample == 16 || format.BitsPerSample == 32);
    const bool floating = format.FormatTag == WAVE_FORMAT_IEEE_FLOAT && format.BitsPerSample == 32;
    if (!pcm && !floating) {
        return false;
    }
    if (format.Channels == 0 || format.Channels > kMaxChannels) {
        return false;
    }
    if (format.SamplesPerSec == 0 || format.SamplesPerSec > kMaxSampleRate) {
        return false;
    }
    return format.BlockAlign == format.Channels * (format.BitsPerSample / 8);
}

} // namespace

const char* WaveErrorText(TWaveError error) {
    switch (error) {
    case TWaveError::None:
        return "no error";
    case TWaveError::CannotOpen:
        return "missing or unreadable";
    case TWaveError::NotAFile:
        return "not a regular file";
    case TWaveError::NotRiffWave:
        return "not a RIFF/WAVE file";
    case TWaveError::NoFormat:
        return "no usable format chunk";
    case TWaveError::NoData:
        return "no data chunk";
    case TWaveError::BadFormat:
        return "sample format not supported";
    case TWaveError::EmptyData:
        return "no samples";
    case TWaveError::TooLarge:
        return "too long for a sound effect";
    }
    return "unknown error";
}

size_t TMemorySource::Read(void* buffer, size_t count) {
    const uint64_t left = Position < Bytes.size() ? Bytes.size() - Position : 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, left));
    if (n > 0) {
        std::memcpy(buffer, Bytes.data() + Position, n);
    }
    Position += n;
    return n;
}

bool TMemorySource::Seek(uint64_t offset) {
    if (offset > Bytes.size()) {
        return false;
    }
    Position = offset;
    return true;
}

TFileSource::TFileSource(const std::string& path) {
    NotAFile = OpenRegularFile(path, File, FileSize) == TRegularFile::NotAFile;
}

TFileSource::~TFileSource() {
    if (File) {
        std::fclose(File);
    }
}

size_t TFileSource::Read(void* buffer, size_t count) {
    const size_t n = File ? std::fread(buffer, 1, count, File) : 0;
    Position += n;
    return n;
}

bool TFileSource::Seek(uint64_t offset) {
    if (!File || offset > FileSize) {
        return false;
    }
    if (!SeekFile(File, offset)) {
        return false;
    }
    Position = offset;
    return true;
}

TWaveError ReadWave(TByteSource& source, TWave& wave) {
    uint8_t header[12];
    if (!ReadExactly(source, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0) {
        return TWaveError::NotRiffWave;
    }

    bool haveFormat = false;
    bool formatUsable = false;
    bool haveData = false;
    bool tooLarge = false;
    TWaveFormat format;
    std::vector<uint8_t> samples;

    for (;;) {
        uint8_t chunk[8];
        if (!ReadExactly(source, chunk, sizeof chunk)) {
            break; // end of file, or a header cut short
        }
        const uint32_t size = Le32(chunk + 4);
        const uint64_t start = source.Tell();
        const uint64_t left = source.Size() - std::min(start, source.Size());
        // Sizes are widened before padding, so 0xFFFFFFFF cannot wrap round to 0.
        const uint64_t end = start + uint64_t{size} + (size & 1u);

        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            // A 16-byte chunk leaves cbSize at 0 instead of reading into the next chunk.
            uint8_t raw[kFormatBytes] = {};
            const size_t wanted = std::min<size_t>(size, kFormatBytes);
            const size_t got = source.Read(raw, wanted);
            haveFormat = true;
            formatUsable = size >= kMinFormatBytes && got >= kMinFormatBytes;
            format = DecodeFormat(raw);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            const uint64_t there = std::min<uint64_t>(size, left);
            haveData = true;
            samples.clear();
            tooLarge = there > kMaxWaveDataBytes;
            if (!tooLarge) {
                samples.resize(static_cast<size_t>(there));
                samples.resize(source.Read(samples.data(), samples.size()));
            }
        }
        if (end > source.Size() || !source.Seek(end)) {
            break; // the chunk runs past the end of the file: nothing follows it
        }
    }

    if (!haveFormat || !formatUsable) {
        return TWaveError::NoFormat;
    }
    if (!haveData) {
        return TWaveError::NoData;
    }
    if (tooLarge) {
        return TWaveError::TooLarge;
    }
    if (!IsPlayable(format)) {
        return TWaveError::BadFormat;
    }
    samples.resize(samples.size() - samples.size() % format.BlockAlign);
    if (samples.empty()) {
        return TWaveError::EmptyData;
    }
    wave.Format = format;
    wave.Samples = std::move(samples);
    return TWaveError::None;
}

TWaveError ReadWaveFile(const std::string& path, TWave& wave) {
    TFileSource file(path);
    if (!file.IsOpen()) {
        return file.NotRegular() ? TWaveError::NotAFile : TWaveError::CannotOpen;
    }
    return ReadWave(file, wave);
}
