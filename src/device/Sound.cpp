#include "device/Sound.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "device/Wave.h"
#include "platform/Timers.h"

std::unique_ptr<TMixer> g_mixer;
TSoundBuffer* g_sounds[sndCount] = {};

namespace {

struct TSlotSource {
    const char* FileName; // loaded from this file, or
    int Source;           // duplicated from this earlier slot when FileName is null
};

// The files every sound comes from, each in the sound folder.
constexpr const char* kSoundFiles[] = {"Drop.wav",  "Tern.wav", "Fall.wav", "Down.wav",
                                       "Leady.wav", "Move.wav", "Win.wav",  "Lose.wav"};
constexpr int kSoundFileCount = sizeof(kSoundFiles) / sizeof(kSoundFiles[0]);

// In slot order; every source comes before its duplicates.
constexpr TSlotSource kSlots[sndCount] = {
    {kSoundFiles[0], 0}, {nullptr, sndDrop},  {nullptr, sndDrop},  {nullptr, sndDrop},
    {nullptr, sndDrop},  {nullptr, sndDrop},  {kSoundFiles[1], 0}, {nullptr, sndTern},
    {nullptr, sndTern},  {nullptr, sndTern},  {nullptr, sndTern},  {nullptr, sndTern},
    {kSoundFiles[2], 0}, {kSoundFiles[3], 0}, {kSoundFiles[4], 0}, {kSoundFiles[5], 0},
    {nullptr, sndMove},  {kSoundFiles[6], 0}, {kSoundFiles[7], 0},
};

// Folders are UTF-8 on every platform; through char8_t std::filesystem takes them as such (a
// plain string would be read in the ANSI code page on Windows).
std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// How many of the sound files `folder` holds as regular files (links followed); 0 when it is
// missing or cannot be read.
int SoundFilesIn(const std::string& folder) {
    int count = 0;
    for (const char* name : kSoundFiles) {
        std::error_code error;
        if (std::filesystem::is_regular_file(PathOf(folder) / name, error)) {
            ++count;
        }
    }
    return count;
}

// "A, B or C", for the line that says where no sounds were found.
std::string FolderList(const std::vector<std::string>& folders) {
    std::string list;
    for (size_t i = 0; i < folders.size(); ++i) {
        if (i > 0) {
            list += i + 1 == folders.size() ? " or " : ", ";
        }
        list += folders[i];
    }
    return list.empty() ? "no folder" : list;
}

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

std::string FindSoundFolder(const std::vector<std::string>& folders) {
    const std::string* partial = nullptr;
    for (const std::string& folder : folders) {
        const int count = SoundFilesIn(folder);
        if (count == kSoundFileCount) {
            return folder;
        }
        if (count > 0 && partial == nullptr) {
            partial = &folder;
        }
    }
    return partial ? *partial : std::string();
}

void InitSound(TAudioSource* audio, const std::vector<std::string>& folders) {
    std::string whyNot;
    g_mixer = audio ? audio->Open(sndCount, whyNot) : nullptr;
    if (!g_mixer) {
        if (audio) {
            std::fprintf(stderr, "Octavane: no sound: %s; the game plays on silently\n",
                         whyNot.empty() ? "no audio device" : whyNot.c_str());
        }
        return;
    }
    const std::string folder = FindSoundFolder(folders);
    if (folder.empty()) {
        std::fprintf(stderr, "Octavane: no sounds in %s; the game plays silently\n",
                     FolderList(folders).c_str());
        g_mixer.reset();
        return;
    }
    for (int slot = 0; slot < sndCount; ++slot) {
        const TSlotSource& source = kSlots[slot];
        if (source.FileName) {
            const std::string path = Utf8Of(PathOf(folder) / source.FileName);
            g_sounds[slot] = new TSoundBuffer(path.c_str(), slot);
        } else {
            g_sounds[slot] = new TSoundBuffer(*g_sounds[source.Source], slot);
        }
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
