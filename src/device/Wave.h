#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "platform/Mixer.h"

// The WAV reader: a RIFF/WAVE file walked chunk by chunk. The "fmt " chunk gives the format,
// the last "data" chunk gives the samples, every other chunk is skipped (odd sizes padded to
// even). It trusts no size in the file: a chunk is never read beyond the end of the file, a
// data chunk that claims more than the file holds gives the samples that are really there,
// and at most kMaxWaveDataBytes are ever allocated for one file.

constexpr uint64_t kMaxWaveDataBytes = 64u << 20;

enum class TWaveError {
    None,
    CannotOpen,
    NotAFile,    // a FIFO, a directory, a device: never read, so it cannot block the start
    NotRiffWave, // no "RIFF" .... "WAVE" header
    NoFormat,    // no usable "fmt " chunk
    NoData,      // no "data" chunk
    BadFormat,   // a format that cannot be played (compressed, 24-bit, no channels...)
    EmptyData,   // a data chunk without one whole frame of samples
    TooLarge,    // more samples than one sound effect may hold
};

const char* WaveErrorText(TWaveError error);

// Sequential reads with absolute seeks over a file or a block of memory.
class TByteSource {
  public:
    virtual ~TByteSource() = default;
    // Reads up to `count` bytes; returns how many were read (fewer only at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Moves to `offset` from the start; false when that is beyond the end.
    virtual bool Seek(uint64_t offset) = 0;
    virtual uint64_t Tell() const = 0;
    virtual uint64_t Size() const = 0;
};

class TMemorySource final : public TByteSource {
  public:
    explicit TMemorySource(std::span<const uint8_t> bytes) : Bytes(bytes) {}
    size_t Read(void* buffer, size_t count) override;
    bool Seek(uint64_t offset) override;
    uint64_t Tell() const override { return Position; }
    uint64_t Size() const override { return Bytes.size(); }

  private:
    std::span<const uint8_t> Bytes;
    uint64_t Position = 0;
};

class TFileSource final : public TByteSource {
  public:
    explicit TFileSource(const std::string& path);
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;

    bool IsOpen() const { return File != nullptr; }
    // Whether the path names something other than a regular file (then it is not opened).
    bool NotRegular() const { return NotAFile; }
    size_t Read(void* buffer, size_t count) override;
    bool Seek(uint64_t offset) override;
    uint64_t Tell() const override { return Position; }
    uint64_t Size() const override { return FileSize; }

  private:
    std::FILE* File = nullptr;
    bool NotAFile = false;
    uint64_t FileSize = 0;
    uint64_t Position = 0;
};

struct TWave {
    TWaveFormat Format;
    std::vector<uint8_t> Samples; // whole frames only
};

TWaveError ReadWave(TByteSource& source, TWave& wave);
TWaveError ReadWaveFile(const std::string& path, TWave& wave);
