#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Mixer.h"

class TAudioSource;

// The sound effects: 19 slots made from eight WAV files in the sound folder (Sound/ under the
// current directory, or the one the program was installed with).
// Slots of one group share their samples but each plays on a mixer channel of its own (slot n
// on channel n), so a group can sound several times at once. Screens never play a slot
// directly: they ask for it with PlaySoundLater.

enum SoundId : int {
    sndDrop = 0,   // 0..5: six voices of Sound/Drop.wav
    sndTern = 6,   // 6..11: six voices of Sound/Tern.wav
    sndFall = 12,  // Sound/Fall.wav
    sndDown = 13,  // Sound/Down.wav
    sndLeady = 14, // Sound/Leady.wav
    sndMove = 15,  // Sound/Move.wav
    sndMove2 = 16, // a second voice of Sound/Move.wav
    sndWin = 17,   // Sound/Win.wav
    sndLose = 18,  // Sound/Lose.wav
    sndCount = 19
};

// Timer ids of delayed sounds are the sound id plus this.
constexpr uint32_t kSoundTimerBase = 100;

class TSoundBuffer {
  public:
    // Loads a WAV file into a block of its own. A file that is missing or cannot be used
    // gives a silent buffer and a line on standard error saying why.
    TSoundBuffer(const char* fileName, int channel);
    // Another voice of `source`'s samples; silent when `source` is.
    TSoundBuffer(const TSoundBuffer& source, int channel);
    TSoundBuffer(const TSoundBuffer&) = delete;
    TSoundBuffer& operator=(const TSoundBuffer&) = delete;

    // Plays once from the start, cutting off the sound if it is still playing. With
    // OCTAVANE_SOUND_DEBUG set (to anything but "" or "0") writes "OK 2" or "ERROR 2" to
    // standard error. A silent buffer does nothing.
    void Play();

    std::shared_ptr<TMixerChunk> Buffer; // null when silent; shared by the group's voices
    int Channel;
};

extern std::unique_ptr<TMixer> g_mixer;
extern TSoundBuffer* g_sounds[sndCount];

// The folder the sounds are read from: the first of `folders` that holds all eight files, else
// the first that holds some of them (the others stay silent), else "" when none holds any.
std::string FindSoundFolder(const std::vector<std::string>& folders);

// Opens the audio device through `audio` and fills the slots from FindSoundFolder(folders).
// Without a device every slot stays empty and every request is silent, and one line on standard
// error says why (a null source is a program without sound, and says nothing); with a device but
// no folder holding a sound, the slots stay empty too, the device is closed again, and one line
// on standard error says so.
void InitSound(TAudioSource* audio, const std::vector<std::string>& folders = {"Sound"});
// Deletes every slot, then closes the mixer; safe when InitSound did nothing.
void ReleaseSound();

// Plays slot `soundId` after `delayMs` from a one-shot timer on the main window; a second
// request for the same id before the first fires replaces it. Ids outside 0..18 are ignored.
void PlaySoundLater(int soundId, uint32_t delayMs);
// The timer procedure: plays the slot of timer id `timerId` (sound id + 100) once.
void SoundTimerProc(uint32_t timerId);
