// libFuzzer target: the WAV reader on arbitrary bytes. Besides the sanitizers' checks, every
// accepted file must give whole frames of a playable format, never more bytes than it holds.

#include <cstdlib>
#include <span>

#include "device/Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemorySource source(std::span<const uint8_t>(data, size));
    TWave wave;
    const TWaveFormat& format = wave.Format;
    if (ReadWave(source, wave) == TWaveError::None &&
        (wave.Samples.empty() || wave.Samples.size() > size || format.BlockAlign == 0 ||
         wave.Samples.size() % format.BlockAlign != 0 || format.Channels == 0 ||
         format.SamplesPerSec == 0)) {
        std::abort();
    }
    return 0;
}
