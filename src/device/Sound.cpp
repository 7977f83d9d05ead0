#include "device/Sound.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/Wave.h"
#include "platform/Timers.h"

std::unique_ptr<TMixer> g_mixer;
TSoundBuffer* g_sounds[sndCount] = {};

namespace {

struct TSlotSource {
    const char* FileName; // loaded from this file, or
    int Source;           // duplicated from this earlier slot when FileName is null
};

// In slot order; every source comes before its duplicates.
constexpr TSlotSource kSlots[sndCount] = {
    {"Sound/Drop.wav", 0}, {nullptr, sndDrop},    {nullptr, sndDrop},     {nullptr, sndDrop},
    {nullptr, sndDrop},    {nullptr, sndDrop},    {"Sound/Tern.wav", 0},  {nullptr, sndTern},
    {nullptr, sndTern},    {nullptr, sndTern},    {nullptr, sndTern},     {nullptr, sndTern},
    {"Sound/Fall.wav", 0}, {"Sound/Down.wav", 0}, {"Sound/Leady.wav", 0}, {"Sound/Move.wav", 0},
    {nullptr, sndMove},    {"Sound/Win.wav", 0},  {"Sound/Lose.wav", 0},
};

// The line after each sound is a developer's diagnostic, written only when OCTAVANE_SOUND_DEBUG
// is set to something other than "" or "0".
bool SoundDebugWanted() {
    const char* wanted = std::getenv("OCTAVANE_SOUND_DEBUG");
    return wanted != nullptr && *wanted != '\0' && std::strcmp(wanted, "0") != 0;
}

} // namespace

TSoundBuffer::TSoundBuffer(const char* fileName, int channel) : Channel(channel) {
    if (!g_mixer) {
        return;
    }
    TWave wave;
    const TWaveError error = ReadWaveFile(fileName, wave);
    if (error != TWaveError::None) {
        std::fprintf(stderr, "Octavane: %s: %s; this sound stays silent\n", fileName,
                     WaveErrorText(error));
        return;
    }
    Buffer = g_mixer->CreateChunk(wave.Format, wave.Samples);
    if (!Buffer) {
        std::fprintf(stderr,
                     "Octavane: %s: the mixer cannot take its format; this sound "
                     "stays silent\n",
                     fileName);
    }
}

TSoundBuffer::TSoundBuffer(const TSoundBuffer& source, int channel)
    : Buffer(source.Buffer), Channel(channel) {}

void TSoundBuffer::Play() {
    if (!Buffer || !g_mixer) {
        return;
    }
    g_mixer->Halt(Channel);
    const bool started = g_mixer->Play(Channel, *Buffer);
    if (SoundDebugWanted()) {
        std::fputs(started ? "OK 2\n" : "ERROR 2\n", stderr);
    }
}

void InitSound(TAudioSource* audio) {
    g_mixer = audio ? audio->Open(sndCount) : nullptr;
    if (!g_mixer) {
        return;
    }
    for (int slot = 0; slot < sndCount; ++slot) {
        const TSlotSource& source = kSlots[slot];
        g_sounds[slot] = source.FileName ? new TSoundBuffer(source.FileName, slot)
                                         : new TSoundBuffer(*g_sounds[source.Source], slot);
    }
}

void ReleaseSound() {
    for (TSoundBuffer*& sound : g_sounds) {
        delete sound;
        sound = nullptr;
    }
    g_mixer.reset();
}

void PlaySoundLater(int soundId, uint32_t delayMs) {
    if (soundId < 0 || soundId >= sndCount) {
        return;
    }
    SetTimer(static_cast<uint32_t>(soundId) + kSoundTimerBase, delayMs, SoundTimerProc);
}

void SoundTimerProc(uint32_t timerId) {
    KillTimer(timerId);
    const uint32_t slot = timerId - kSoundTimerBase;
    if (slot < static_cast<uint32_t>(sndCount) && g_sounds[slot]) {
        g_sounds[slot]->Play();
    }
}
