// Synthesises the game's eight sound effects as 16-bit mono PCM WAV files.
// Usage: soundgen <output directory>   (the repository keeps them in assets/Sound)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.5; // about -6 dBFS: clear, never harsh

using TSamples = std::vector<double>;

TSamples Silence(double seconds) {
    return TSamples(static_cast<size_t>(seconds * kRate), 0.0);
}

// Adds `tone` starting at `at` seconds.
void Mix(TSamples& out, double at, const TSamples& tone, double gain = 1.0) {
    const size_t start = static_cast<size_t>(at * kRate);
    if (out.size() < start + tone.size()) {
        out.resize(start + tone.size(), 0.0);
    }
    for (size_t i = 0; i < tone.size(); ++i) {
        out[start + i] += gain * tone[i];
    }
}

// A deterministic noise source, so that the files come out the same on every run.
class TNoise {
  public:
    double Next() {
        State = State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(State >> 11) / static_cast<double>(1ull << 53) * 2.0 - 1.0;
    }

  private:
    uint64_t State = 0x0C7A7A5Eull;
};

// A two-pole band-pass filter (constant peak gain) whose centre may move from sample to sample.
class TBandPass {
  public:
    double Step(double input, double centreHz, double q) {
        const double w = 2.0 * kPi * centreHz / kRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        const double b0 = alpha / a0;
        const double a1 = -2.0 * std::cos(w) / a0;
        const double a2 = (1.0 - alpha) / a0;
        const double y = b0 * input - b0 * X2 - a1 * Y1 - a2 * Y2;
        X2 = X1;
        X1 = input;
        Y2 = Y1;
        Y1 = y;
        return y;
    }

  private:
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

// A bell-like note: a few partials, the higher ones dying faster.
TSamples Bell(double hz, double seconds, double decay) {
    TSamples out(static_cast<size_t>(seconds * kRate));
    const double partials[][3] = {
        {1.0, 1.0, 1.0}, {2.0, 0.35, 1.8}, {3.01, 0.15, 2.6}, {4.2, 0.06, 3.5}};
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double attack = std::min(1.0, t / 0.004);
        double v = 0.0;
        for (const auto& p : partials) {
            v += p[1] * std::exp(-t * decay * p[2]) * std::sin(2.0 * kPi * hz * p[0] * t);
        }
        out[i] = attack * v;
    }
    return out;
}

// A soft brass-like note: odd and even harmonics with a swell and a gentle release.
TSamples Brass(double hz, double seconds, double vibratoDepth = 0.0) {
    TSamples out(static_cast<size_t>(seconds * kRate));
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double left = seconds - t;
        const double env =
            std::min({1.0, t / 0.03, left / 0.08}) * (0.85 + 0.15 * std::exp(-t * 6));
        const double vibrato =
            1.0 + vibratoDepth * std::sin(2.0 * kPi * 5.5 * t) * std::min(1.0, t / 0.3);
        phase += 2.0 * kPi * hz * vibrato / kRate;
        double v = 0.0;
        for (int h = 1; h <= 6; ++h) {
            v += std::sin(phase * h) / (h * h * 0.6 + 0.4);
        }
        out[i] = env * v;
    }
    return out;
}

TSamples Drop() {
    // A hard disc set down on a board: a short wooden knock with a little grit.
    TSamples out = Silence(0.14);
    TNoise noise;
    TBandPass body;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double knock =
            std::exp(-t * 55) * (std::sin(2 * kPi * 820 * t) + 0.5 * std::sin(2 * kPi * 1630 * t));
        const double grit = std::exp(-t * 160) * body.Step(noise.Next(), 2400, 2.0);
        out[i] = knock + 0.8 * grit;
    }
    return out;
}

TSamples Tern() {
    // A disc turning over: a light airy swish whose pitch rises as it turns.
    const double seconds = 0.22;
    TSamples out = Silence(seconds);
    TNoise noise;
    TBandPass band;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double x = t / seconds;
        const double env = std::sin(kPi * x) * std::sin(kPi * x);
        out[i] = env * band.Step(noise.Next(), 1800 + 3800 * x, 3.0);
    }
    return out;
}

TSamples Fall() {
    // A disc dropping from above: a whistle gliding down.
    const double seconds = 0.6;
    TSamples out = Silence(seconds);
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double x = t / seconds;
        const double hz = 2100 * std::pow(700.0 / 2100.0, x);
        phase += 2 * kPi * hz * (1.0 + 0.004 * std::sin(2 * kPi * 9 * t)) / kRate;
        const double env = std::min(1.0, t / 0.05) * std::min(1.0, (seconds - t) / 0.12);
        out[i] = env * (std::sin(phase) + 0.08 * std::sin(3 * phase));
    }
    return out;
}

TSamples Down() {
    // The disc settling: a soft low thud.
    TSamples out = Silence(0.32);
    TNoise noise;
    TBandPass low;
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double hz = 55 + 60 * std::exp(-t * 25);
        phase += 2 * kPi * hz / kRate;
        const double thump = std::min(1.0, t / 0.003) * std::exp(-t * 14) * std::sin(phase);
        const double felt = std::exp(-t * 60) * low.Step(noise.Next(), 300, 0.8);
        out[i] = thump + 0.6 * felt;
    }
    return out;
}

TSamples Leady() {
    // "Ready": a rising arpeggio of chimes, C E G C.
    TSamples out = Silence(0.95);
    const double notes[] = {523.25, 659.25, 783.99, 1046.50};
    for (int n = 0; n < 4; ++n) {
        const double length = 0.95 - 0.11 * n;
        Mix(out, 0.11 * n, Bell(notes[n], length, n == 3 ? 4.0 : 6.0), n == 3 ? 1.0 : 0.8);
    }
    return out;
}

TSamples Move() {
    // The cursor stepping one square: a short high tick.
    TSamples out = Silence(0.05);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        out[i] = std::min(1.0, t / 0.0015) * std::exp(-t * 120) *
                 (std::sin(2 * kPi * 2600 * t) + 0.3 * std::sin(2 * kPi * 5200 * t));
    }
    return out;
}

TSamples Win() {
    // A short fanfare: G C E, then a held G over a C major chord.
    TSamples out = Silence(1.7);
    Mix(out, 0.00, Brass(392.00, 0.16));
    Mix(out, 0.18, Brass(523.25, 0.16));
    Mix(out, 0.36, Brass(659.25, 0.16));
    Mix(out, 0.54, Brass(783.99, 1.1, 0.006));
    Mix(out, 0.54, Brass(523.25, 1.1), 0.45);
    Mix(out, 0.54, Brass(659.25, 1.1), 0.35);
    return out;
}

TSamples Lose() {
    // A falling phrase that ends low and unresolved.
    TSamples out = Silence(1.9);
    const double notes[] = {392.00, 369.99, 349.23, 329.63};
    for (int n = 0; n < 3; ++n) {
        Mix(out, 0.3 * n, Brass(notes[n], 0.28), 0.9);
    }
    Mix(out, 0.9, Brass(notes[3], 0.95, 0.012), 0.9);
    Mix(out, 0.9, Brass(notes[3] / 2, 0.95), 0.4);
    return out;
}

// Scales to `level` times the common peak, fades the last few milliseconds and writes 16-bit mono
// PCM.
bool WriteWave(const std::string& path, TSamples samples, double level) {
    double peak = 0.0;
    for (const double s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    const double gain = peak > 0 ? kPeak * level / peak : 0.0;
    const size_t fade = std::min<size_t>(samples.size(), kRate / 200);
    for (size_t i = 0; i < fade; ++i) {
        samples[samples.size() - 1 - i] *= double(i) / double(fade);
    }
    std::vector<uint8_t> bytes;
    const auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(uint8_t(v >> (8 * i)));
        }
    };
    const auto put16 = [&](uint16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    };
    const auto putId = [&](const char* id) { bytes.insert(bytes.end(), id, id + 4); };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    putId("RIFF");
    put32(4 + 8 + 16 + 8 + dataBytes);
    putId("WAVE");
    putId("fmt ");
    put32(16);
    put16(1);         // PCM
    put16(1);         // mono
    put32(kRate);     // samples per second
    put32(kRate * 2); // bytes per second
    put16(2);         // bytes per frame
    put16(16);        // bits per sample
    putId("data");
    put32(dataBytes);
    for (const double s : samples) {
        const double v = std::clamp(s * gain, -1.0, 1.0);
        put16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0))));
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <output directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    // Levels even out the loudness: a pure whistle sounds louder than a knock of the same peak.
    struct TSound {
        const char* Name;
        std::function<TSamples()> Make;
        double Level;
    };
    const TSound sounds[] = {
        {"Drop", Drop, 1.0},   {"Tern", Tern, 0.8}, {"Fall", Fall, 0.45}, {"Down", Down, 1.0},
        {"Leady", Leady, 0.9}, {"Move", Move, 0.7}, {"Win", Win, 0.8},    {"Lose", Lose, 0.7},
    };
    for (const TSound& sound : sounds) {
        if (!WriteWave(dir + "/" + sound.Name + ".wav", sound.Make(), sound.Level)) {
            return 1;
        }
    }
    return 0;
}
