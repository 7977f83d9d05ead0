#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The audio mixer the sound effects play through: a fixed number of channels, each playing
// one sample block at a time. A loaded block is shared by every voice made from it.

// PCM layout of a block of samples, as a WAV file's format chunk gives it.
struct TWaveFormat {
    uint16_t FormatTag = 0; // 1 = integer PCM, 3 = IEEE float
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0; // bytes per frame (all channels)
    uint16_t BitsPerSample = 0;
    uint16_t ExtraSize = 0;
};

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;

// A block of samples held by the mixer in its own format.
class TMixerChunk {
  public:
    virtual ~TMixerChunk() = default;
};

class TMixer {
  public:
    virtual ~TMixer() = default;
    // Converts `samples` (whole frames of `format`) into a block the mixer can play; null when
    // the format is one the mixer cannot take.
    virtual std::shared_ptr<TMixerChunk> CreateChunk(const TWaveFormat& format,
                                                     std::span<const uint8_t> samples) = 0;
    // Stops whatever plays on `channel`.
    virtual void Halt(int channel) = 0;
    // Plays `chunk` once from its start on `channel`; false when it could not be started.
    virtual bool Play(int channel, const TMixerChunk& chunk) = 0;
};

// Opens the audio device.
class TAudioSource {
  public:
    virtual ~TAudioSource() = default;
    // A mixer with `channels` channels on the default output; null when there is no usable
    // audio device, with `whyNot` saying why in a few words for the player.
    virtual std::unique_ptr<TMixer> Open(int channels, std::string& whyNot) = 0;
};
