#include "engine/FastEval.h"
#include "engine/FastIsa.h"
#include "engine/FastIsaEntry.h"
#include "engine/FastSearch.h"

#include <cstdlib>
#include <new>

namespace {

bool ProcessorRuns(TFastIsa isa) {
    switch (isa) {
    case TFastIsa::Plain:
        return true;
    case TFastIsa::Avx2:
#if defined(OCTAVANE_FAST_HAS_AVX2)
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
               __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
#else
        return false;
#endif
    }
    return false;
}

const TFastIsaEntry& EntryOf(TFastIsa isa) {
#if defined(OCTAVANE_FAST_HAS_AVX2)
    if (isa == TFastIsa::Avx2) {
        return fast_avx2::isaEntry;
    }
#endif
    (void)isa;
    return fast_plain::isaEntry;
}

struct TSelection {
    TFastIsa Isa;
    const TFastIsaEntry* Entry;
};

TSelection BestAvailable() {
    const TFastIsa isa = ProcessorRuns(TFastIsa::Avx2) ? TFastIsa::Avx2 : TFastIsa::Plain;
    return {isa, &EntryOf(isa)};
}

// Chosen on first use, so that no start-up order can reach an unset choice.
TSelection& Selection() {
    static TSelection selection = BestAvailable();
    return selection;
}

const TFastIsaEntry& Isa() {
    return *Selection().Entry;
}

} // namespace

void* FastAllocateZeroed(std::size_t bytes) {
    void* memory = std::calloc(bytes, 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

bool FastIsaAvailable(TFastIsa isa) {
    return ProcessorRuns(isa);
}

bool FastSelectIsa(TFastIsa isa) {
    if (!FastIsaAvailable(isa)) {
        return false;
    }
    Selection() = {isa, &EntryOf(isa)};
    return true;
}

TFastIsa FastSelectedIsa() {
    return Selection().Isa;
}

int FastCount(TBitboard bits) {
    return Isa().Count(bits);
}

TBitboard FastMoves(TBitboard own, TBitboard opp) {
    return Isa().Moves(own, opp);
}

TBitboard FastFlips(int square, TBitboard own, TBitboard opp) {
    return Isa().Flips(square, own, opp);
}

std::uint64_t FastPerft(TBitboard own, TBitboard opp, int depth, int passes) {
    return Isa().Perft(own, opp, depth, passes);
}

int FastEvaluate(TBitboard own, TBitboard opp) {
    return Isa().Evaluate(own, opp);
}

TFastAnswer FastSearch(const TFastPosition& position, int depth) {
    const TFastIsaAnswer found = Isa().Search(position, depth);
    TFastAnswer answer;
    answer.X = found.X;
    answer.Y = found.Y;
    answer.Value = found.Value;
    return answer;
}

void FastSearchForget() {
    Isa().Forget();
}

std::uint64_t FastSearchNodes() {
    return Isa().Nodes();
}
