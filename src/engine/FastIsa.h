#pragma once

// The instruction sets the fast engine is built for. The plain one runs on every processor the
// program runs on; the others are used only when the processor has them. All give the same
// moves, values and counts: only the time differs. The best one available is chosen before the
// first use; tests choose each in turn.
enum class TFastIsa {
    Plain,  // the baseline of the target
    Popcnt, // x86-64 with POPCNT and SSE4.2 (processors from 2008 on, and later ones without AVX2)
    Avx2,   // x86-64 with AVX2, BMI1, BMI2 and POPCNT (processors from 2013 on)
    Avx512, // the same with AVX-512 F, VL, BW, DQ, CD and VPOPCNTDQ besides
};

// True when the engine was built for `isa` and this processor runs it.
bool FastIsaAvailable(TFastIsa isa);

// Makes `isa` the one every Fast* function uses; false, with nothing changed, when it is not
// available. Not for use while a search runs.
bool FastSelectIsa(TFastIsa isa);

TFastIsa FastSelectedIsa();

// The short name of each build ("plain", "popcnt", "avx2", "avx512"), and back: false, with
// `isa` left alone, for a name that is none of them.
const char* FastIsaName(TFastIsa isa);
bool FastIsaFromName(const char* name, TFastIsa* isa);
