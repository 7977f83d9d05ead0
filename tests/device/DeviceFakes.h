#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Joystick.h"
#include "platform/Mixer.h"

// Stand-ins for the joystick and the audio device that record what the device layer asks.

class TFakeChunk final : public TMixerChunk {
  public:
    TFakeChunk(const TWaveFormat& format, std::vector<uint8_t> samples)
        : Format(format), Samples(std::move(samples)) {}
    TWaveFormat Format;
    std::vector<uint8_t> Samples;
};

struct TMixerCall {
    std::string What; // "halt" or "play"
    int Channel;
    const TMixerChunk* Chunk;
};

class TFakeMixer final : public TMixer {
  public:
    explicit TFakeMixer(std::vector<TMixerCall>* calls) : Calls(calls) {}
    std::shared_ptr<TMixerChunk> CreateChunk(const TWaveFormat& format,
                                             std::span<const uint8_t> samples) override {
        ++ChunksMade;
        return std::make_shared<TFakeChunk>(format,
                                            std::vector<uint8_t>(samples.begin(), samples.end()));
    }
    void Halt(int channel) override { Calls->push_back({"halt", channel, nullptr}); }
    bool Play(int channel, const TMixerChunk& chunk) override {
        Calls->push_back({"play", channel, &chunk});
        return !FailPlays;
    }
    std::vector<TMixerCall>* Calls;
    int ChunksMade = 0;
    bool FailPlays = false;
};

class TFakeAudio final : public TAudioSource {
  public:
    std::unique_ptr<TMixer> Open(int channels) override {
        OpenedChannels = channels;
        if (!HasDevice) {
            return nullptr;
        }
        auto mixer = std::make_unique<TFakeMixer>(&Calls);
        Mixer = mixer.get();
        return mixer;
    }
    bool HasDevice = true;
    int OpenedChannels = 0;
    TFakeMixer* Mixer = nullptr; // owned by the sound layer once opened
    std::vector<TMixerCall> Calls;
};

class TFakeJoystick final : public TJoystick {
  public:
    explicit TFakeJoystick(TJoyState* state) : State(state) {}
    void Poll() override {}
    bool GetState(TJoyState& state) override {
        if (!State) {
            return false;
        }
        state = *State;
        return true;
    }
    TJoyState* State; // null reads as unplugged
};

class TFakeJoysticks final : public TJoystickSource {
  public:
    std::unique_ptr<TJoystick> OpenFirstAttached() override {
        ++Opens;
        return Attached ? std::make_unique<TFakeJoystick>(&State) : nullptr;
    }
    bool Attached = true;
    int Opens = 0;
    TJoyState State;
};
