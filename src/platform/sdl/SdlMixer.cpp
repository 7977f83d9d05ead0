#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/DriverChoice.h"
#include "platform/sdl/SdlSystem.h"

namespace {

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 2;
constexpr int kMixBufferFrames = 1024;
// Where ALSA's devices are; a machine without a sound card has none there.
constexpr const char* kSoundDevices = "/dev/snd";

// Samples already in the mixer's format; the Mix_Chunk points into them.
class TSdlChunk final : public TMixerChunk {
  public:
    explicit TSdlChunk(std::vector<uint8_t> samples) : Samples(std::move(samples)) {
        Chunk = Mix_QuickLoad_RAW(Samples.data(), static_cast<Uint32>(Samples.size()));
    }
    ~TSdlChunk() override {
        if (Chunk) {
            Mix_FreeChunk(Chunk); // halts every channel still playing it
        }
    }
    TSdlChunk(const TSdlChunk&) = delete;
    TSdlChunk& operator=(const TSdlChunk&) = delete;

    std::vector<uint8_t> Samples;
    Mix_Chunk* Chunk = nullptr;
};

SDL_AudioFormat SdlFormatOf(const TWaveFormat& format) {
    if (format.FormatTag == WAVE_FORMAT_IEEE_FLOAT && format.BitsPerSample == 32) {
        return AUDIO_F32LSB;
    }
    if (format.FormatTag != WAVE_FORMAT_PCM) {
        return 0;
    }
    switch (format.BitsPerSample) {
    case 8:
        return AUDIO_U8;
    case 16:
        return AUDIO_S16LSB;
    case 32:
        return AUDIO_S32LSB;
    default:
        return 0;
    }
}

class TSdlMixer final : public TMixer {
  public:
    ~TSdlMixer() override {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    std::shared_ptr<TMixerChunk> CreateChunk(const TWaveFormat& format,
                                             std::span<const uint8_t> samples) override {
        const SDL_AudioFormat from = SdlFormatOf(format);
        if (from == 0 || format.Channels == 0 || format.Channels > 8 || samples.empty()) {
            return nullptr;
        }
        int rate = 0;
        Uint16 to = 0;
        int channels = 0;
        if (!Mix_QuerySpec(&rate, &to, &channels)) {
            return nullptr;
        }
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format.Channels),
                              static_cast<int>(format.SamplesPerSec), to,
                              static_cast<Uint8>(channels), rate) < 0) {
            return nullptr;
        }
        std::vector<uint8_t> buffer(samples.size() * static_cast<size_t>(cvt.len_mult));
        std::copy(samples.begin(), samples.end(), buffer.begin());
        cvt.buf = buffer.data();
        cvt.len = static_cast<int>(samples.size());
        if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
            return nullptr;
        }
        buffer.resize(cvt.needed ? static_cast<size_t>(cvt.len_cvt) : samples.size());
        auto chunk = std::make_shared<TSdlChunk>(std::move(buffer));
        return chunk->Chunk ? chunk : nullptr;
    }

    void Halt(int channel) override { Mix_HaltChannel(channel); }

    bool Play(int channel, const TMixerChunk& chunk) override {
        const auto& sdlChunk = static_cast<const TSdlChunk&>(chunk);
        return Mix_PlayChannel(channel, sdlChunk.Chunk, 0) == channel;
    }
};

} // namespace

std::unique_ptr<TMixer> TSdlAudioSource::Open(int channels, std::string& whyNot) {
    // Without a sound card the drivers that go through ALSA are left out (AudioDriverChoice).
    std::vector<std::string> drivers;
    drivers.reserve(static_cast<size_t>(std::max(SDL_GetNumAudioDrivers(), 0)));
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
        drivers.emplace_back(SDL_GetAudioDriver(i));
    }
    const bool soundCard = HasSoundCard(kSoundDevices);
    const std::string choice =
        AudioDriverChoice(drivers, std::getenv("SDL_AUDIODRIVER"), soundCard);
    if (!choice.empty()) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, choice.c_str());
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        whyNot = choice.empty() ? std::string("no audio driver works here (") + SDL_GetError() + ")"
                                : "this machine has no sound card, and no sound server answers";
        return nullptr;
    }
    if (Mix_OpenAudioDevice(kMixRate, AUDIO_S16SYS, kMixChannels, kMixBufferFrames, nullptr, 0) !=
        0) {
        whyNot = std::string("the audio device cannot be opened (") + SDL_GetError() + ")";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_AllocateChannels(channels);
    return std::make_unique<TSdlMixer>();
}
